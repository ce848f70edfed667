#pragma once
// The caches that the window thread and the picture workers share: the spare
// surface of large bitmaps, the dialog font at each DPI, and the table of the
// picture kinds this system reads. They have one owner whose life is
// counted, rather than statics: a program holds it while its main sequence
// runs and each picture worker until it ends, and the last holder to let go
// destroys it. So a normal end runs their destructors, and a worker still
// blocked in a read as the process ends never meets a cache destroyed under
// it. Code that uses them while nobody holds them (a test program) finds them
// held for the rest of the process.
#include <windows.h>

#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "core/PictureKinds.h"
#include "platform/Bitmap.h"
#include "platform/Gdi.h"

class TSharedCaches {
 public:
  // Holds the caches (made anew when nobody held them) until the holder is
  // let go.
  static std::shared_ptr<TSharedCaches> Hold();
  // The caches of the process: the held ones; when nobody holds them, ones
  // held from now until the process ends.
  static TSharedCaches& Current();

  // The surface of the last large bitmap released, kept for the next one of
  // its size; taken and kept under SpareLock.
  std::mutex SpareLock;
  std::unique_ptr<TBitmap::TSurface> SpareSurface;

  // The dialog and names fonts at each DPI asked for (a handful at most),
  // and the dialog font at the screen's DPI; under FontLock.
  struct TFont {
    const char* Face;  // one of the faces ScreenFont.h names
    int Dpi;
    TGdiObject<HFONT> Handle;
  };
  std::mutex FontLock;
  std::vector<TFont> Fonts;
  HFONT ScreenDpiFont = nullptr;

  // The table of picture kinds, made by Make on first use.
  const TPictureKinds& PictureKinds(std::unique_ptr<const TPictureKinds> (*Make)());

 private:
  TSharedCaches() = default;
  std::once_flag KindsMade;
  std::unique_ptr<const TPictureKinds> Kinds;
};
