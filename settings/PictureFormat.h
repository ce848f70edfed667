#pragma once
// Which decoder a picture file gets, chosen by its file name alone. Portable.
#include <string>

enum class TPictureFormat { Other, Bmp, Jpeg };

// The extension runs from the last "." to the end when no "\" or ":" follows
// that dot; it is compared with ".bmp", ".jpg" and ".jpeg" after lower-casing
// the letters A to Z only.
TPictureFormat PictureFormatOf(const std::string& FileName);
