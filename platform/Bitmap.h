#pragma once
// An off-screen picture with a drawing surface: a 32-bit top-down DIB
// section selected into its own memory device context, so that GDI can draw
// on it and its pixels can be read and written directly. Empty (0 x 0) until
// it is given a size; white when it is.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "core/Pixels.h"
#include "platform/Gdi.h"

// A colour as the settings hold it: 0x00BBGGRR; a value whose high byte is
// 0xFF names a system colour by its index in the low byte.
using TColor = std::uint32_t;
constexpr TColor clWhite = 0x00FFFFFF;
constexpr TColor clWindowText = 0xFF000008;
// The pixel value of a colour, system colours resolved.
std::uint32_t ColorToPixel(TColor Colour);

class TBitmap {
 public:
  TBitmap() = default;
  ~TBitmap();
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int Width() const { return BitmapWidth; }
  int Height() const { return BitmapHeight; }
  bool Empty() const { return BitmapWidth == 0 || BitmapHeight == 0; }

  // Gives the bitmap a new size, every pixel white (or, with Overwritten,
  // left undefined for a caller that writes every pixel itself); 0 in either
  // side makes it empty. Raises EOutOfResources when the platform cannot
  // provide it.
  enum TInitial { White, Overwritten };
  void SetSize(int Width, int Height, TInitial Initial = White);
  // The memory device context with the bitmap selected; null while empty.
  HDC Canvas() const { return Surface ? Surface->DC->Get() : nullptr; }
  TPixelView Pixels() const;

  void Fill(TColor Colour);
  void FillRect(int X, int Y, int W, int H, TColor Colour);
  // Text in the default font (8-point "MS Sans Serif"), window-text colour on
  // an opaque white background, with its top-left corner at X, Y.
  void WriteText(int X, int Y, const std::string& Text);
  // Resamples the whole of Source, averaging over areas, into the rectangle
  // X, Y, W x H of this bitmap (clipped to the bitmap).
  void StretchFrom(const TBitmap& Source, int X, int Y, int W, int H);
  // Copies the whole bitmap to Dest at X, Y.
  void CopyTo(HDC Dest, int X, int Y) const;
  // Copies the rectangle of Source that starts at SourceX, SourceY into the
  // whole bitmap.
  void CopyFrom(HDC Source, int SourceX, int SourceY);

 private:
  // The DIB section with the device context it is selected into.
  struct TSurface {
    int Width = 0;
    int Height = 0;
    std::uint32_t* Bits = nullptr;
    std::unique_ptr<TMemoryDC> DC;
    TGdiObject<HBITMAP> Section;
    HGDIOBJ PreviousBitmap = nullptr;
    ~TSurface();
  };
  // Large pictures of one size follow each other (a slide show of one
  // camera's photos), so the surface of the last large bitmap released is
  // kept for the next one of the same size (in the shared caches): a fresh
  // one would cost a pass of page faults over tens of megabytes on every
  // picture. Bitmaps are made and released on more than one thread.
  friend class TSharedCaches;
  static std::unique_ptr<TSurface> TakeSpare(int Width, int Height);
  static void KeepSpare(std::unique_ptr<TSurface> Surface);
  void Release();
  int BitmapWidth = 0;
  int BitmapHeight = 0;
  std::uint32_t* Bits = nullptr;
  std::unique_ptr<TSurface> Surface;
};
