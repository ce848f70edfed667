#pragma once
// Pictures made by the tests: solid colours and simple shapes whose position
// can be checked pixel by pixel, written as BMP (our writer) or JPEG (libjpeg).
#include <cstdint>
#include <string>
#include <vector>

#include "core/Pixels.h"

TPixelBuffer SolidPicture(int Width, int Height, std::uint32_t Pixel);
void WriteBmpFile(const std::string& Path, TPixelBuffer& Picture, int BitsPerPixel = 24);
void WriteJpegFile(const std::string& Path, TPixelBuffer& Picture, int Quality = 95);

// Photos as cameras store them: ExifOrientation (1 to 8) says how the stored
// pixels are to be turned to be upright. StoredFor gives the pixels that a
// camera stores for the Upright picture under that value; WriteExifJpegFile
// writes them as a JPEG file whose APP1 Exif block (little-endian, IFD0 with
// the orientation tag alone) carries the value. Written here from the
// standard's table, apart from the product's own code.
TPixelBuffer StoredFor(const TPixelBuffer& Upright, int ExifOrientation);
void WriteExifJpegFile(const std::string& Path, const TPixelBuffer& Upright, int ExifOrientation, int Quality = 95);
// The quadrant picture (160 x 120) written into Folder as photo1.jpg to
// photo8.jpg with each orientation value, listed with Separator before each,
// so that a slide show's arrival at each photo can be seen.
std::vector<std::string> WriteOrientationSeries(const std::string& Folder, const std::string& Separator);

// A Width x Height picture of four solid quadrants, red, green, blue and
// yellow from the top left in reading order, whose every turn and mirror
// image differ.
TPixelBuffer QuadrantPicture(int Width, int Height);
// What differs, by more than JPEG's error, between the quadrant picture and
// the W x H rectangle at X, Y of P, sampled at each quadrant's centre; empty
// when they match.
std::string QuadrantMismatch(const TPixelView& P, int X, int Y, int W, int H);

// The header fields of a BMP file that the tests look at; Width 0 when the
// file is missing or no BMP.
struct TBmpFileInfo {
  int Width = 0;
  int Height = 0;
  int BitsPerPixel = 0;
  std::uintmax_t Size = 0;
};
TBmpFileInfo ReadBmpFileInfo(const std::string& Path);
// An enhanced metafile of 2 x 1 inches whose right three quarters are a
// rectangle filled with Pixel; its left quarter is not painted.
void WriteEnhancedMetafile(const std::string& Path, std::uint32_t Pixel);
// A placeable Windows metafile of 1 x 0.5 inches (1440 units per inch): a
// rectangle filled with Pixel, outlined in black; with Placeable false, the
// same without its header.
void WritePlaceableMetafile(const std::string& Path, std::uint32_t Pixel, bool Placeable = true);

// One picture of each kind that WIC reads, written into Folder, each a
// solid colour filling it: "opaque.png" 160 x 120 red (220, 0, 0),
// "alpha.png" 160 x 120 transparent but for a green (0, 200, 0) 120 x 80
// block in its middle, "first.gif" 100 x 60 blue (0, 0, 220) whose second
// frame is red, "first.tif" 120 x 80 yellow (230, 230, 0) whose second page
// is red, "icon.ico" with a 16 x 16 red and a 64 x 64 magenta (200, 0, 200)
// image. Returns their paths in that order.
std::vector<std::string> WriteWicKinds(const std::string& Folder);

// The pixels of a BMP file (high bytes cleared); empty when it is none.
TPixelBuffer ReadBmpFilePixels(const std::string& Path);
