#pragma once
// Composing a picture as the desktop wallpaper.
#include <string>

class TSettings;

// Loads the picture, fits it into the screen (or the limited screen size,
// after lowering MaxScreenX/Y of Settings to the screen), writes it as a BMP
// file at the display's colour depth to SaveWallPaperAs and makes that file
// the wallpaper. The file is replaced in one step, so a failure leaves the
// previous wallpaper file as it was; the error then reaches the caller before
// Windows is asked anything. A picture that comes out empty (a JPEG file that
// cannot be read, a file of another extension) changes nothing.
void SetWallpaperImage(const std::string& FileName, TSettings& Settings);

// The wallpaper run mode: one picture of the group (empty: the wallpaper
// group), drawn at random whatever the stored order, becomes the wallpaper.
void ChangeWallpaperNow(const std::string& GroupName);

// Bits per pixel of the display.
int DisplayBitsPerPixel();
