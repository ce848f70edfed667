#pragma once
// The eight orientations a picture file may record (the Exif values): how
// the stored pixels become the upright picture. Portable.
//
//   1  as stored
//   2  mirrored left-right
//   3  turned 180 degrees
//   4  mirrored top-bottom
//   5  transposed: mirrored along the top-left to bottom-right diagonal
//   6  the stored picture turned 90 degrees clockwise is upright
//   7  transverse: mirrored along the top-right to bottom-left diagonal
//   8  the stored picture turned 90 degrees counter-clockwise is upright
//
// Any other value is taken as 1.
#include "core/Pixels.h"

struct TPixelPoint {
  int X = 0;
  int Y = 0;
  bool operator==(const TPixelPoint&) const = default;
};

// 5 to 8: the upright picture is as wide as the stored one is high.
bool SwapsAxes(int Orientation);

// The stored pixel that upright pixel (X, Y) shows, for a stored picture of
// StoredW x StoredH. (X, Y) must lie inside the upright picture.
TPixelPoint StoredPixel(int Orientation, int StoredW, int StoredH, int X, int Y);

// Writes all of Upright, the upright picture, from all of Stored. Upright must
// be Stored's size, its sides swapped when SwapsAxes(Orientation); otherwise
// nothing is written. Either view may be a sub-rectangle of a larger image;
// nothing outside Upright is written. The views must not overlap. Rows are
// copied whole for 1 to 4; 5 to 8 go through tiles that stay in the cache.
void OrientPixels(const TPixelView& Stored, const TPixelView& Upright, int Orientation);
