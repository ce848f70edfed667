#pragma once
// Metafiles as pictures: an enhanced metafile (.emf), or a Windows metafile
// (.wmf) with the 22-byte placeable header that gives its bounds and units
// per inch (one without it has no size and is refused). Played by Windows at
// the size they are drawn, so they stay sharp at any size.
#include <windows.h>

#include <memory>
#include <string>

#include "platform/Bitmap.h"

class TMetafile {
 public:
  // Opens the metafile of Path by its extension (.wmf: the placeable Windows
  // kind; anything else: enhanced). Raises EInvalidGraphic ("Metafile is not
  // valid") or EInOutError.
  static std::unique_ptr<TMetafile> Open(const std::string& Path);
  ~TMetafile();
  TMetafile(const TMetafile&) = delete;
  TMetafile& operator=(const TMetafile&) = delete;

  // Its size in pixels of the screen.
  int Width() const { return PictureWidth; }
  int Height() const { return PictureHeight; }
  // Plays it stretched into the rectangle X, Y, W x H of Target, clipped to
  // Target; what it leaves unpainted keeps what Target held.
  void Draw(TBitmap& Target, int X, int Y, int W, int H) const;

 private:
  explicit TMetafile(HENHMETAFILE Handle);
  HENHMETAFILE Handle;
  int PictureWidth = 0, PictureHeight = 0;
};
