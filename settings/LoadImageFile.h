#pragma once
// Turns a picture file into a new bitmap that the caller owns. Never fails
// for a bad file: every caller gets a bitmap to draw.
#include <memory>
#include <string>

#include "platform/Bitmap.h"

// The picture of a BMP or JPEG file (chosen by extension). An empty name or a
// BMP file that cannot be loaded gives the message bitmap; a JPEG file whose
// header cannot be read, or a file of another extension, an empty bitmap; a
// JPEG file whose picture fails to decode, a white bitmap of its size.
std::unique_ptr<TBitmap> LoadImageFile(const std::string& FileName);

// 200 x 50, white, "You have selected no images!" at 10, 10.
std::unique_ptr<TBitmap> MessageBitmap();
