#pragma once
// Pictures made by the tests: solid colours and simple shapes whose position
// can be checked pixel by pixel, written as BMP (our writer) or JPEG (libjpeg).
#include <cstdint>
#include <string>

#include "core/Pixels.h"

TPixelBuffer SolidPicture(int Width, int Height, std::uint32_t Pixel);
void WriteBmpFile(const std::string& Path, TPixelBuffer& Picture, int BitsPerPixel = 24);
void WriteJpegFile(const std::string& Path, TPixelBuffer& Picture, int Quality = 95);

// The header fields of a BMP file that the tests look at; Width 0 when the
// file is missing or no BMP.
struct TBmpFileInfo {
  int Width = 0;
  int Height = 0;
  int BitsPerPixel = 0;
  std::uintmax_t Size = 0;
};
TBmpFileInfo ReadBmpFileInfo(const std::string& Path);
