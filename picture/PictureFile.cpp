#include "picture/PictureFile.h"

#include <cstdint>
#include <cstring>

#include "core/PictureKinds.h"
#include "picture/InstalledPictureKinds.h"
#include "picture/LoadImageFile.h"
#include "picture/Metafile.h"
#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Files.h"
#include "platform/Gdi.h"
#include "platform/KernelHandle.h"
#include "platform/ScreenFont.h"

class TPictureFile::TSource {
 public:
  virtual ~TSource() = default;
  int Width = 0, Height = 0;
  // Draws the whole picture into all of Target.
  virtual void Draw(TBitmap& Target) const = 0;
};

namespace {

// Every kind but metafiles through the slide show's loader, resampled by area
// averaging into the size they are shown at; transparent parts show the
// button face.
class TLoaderSource : public TPictureFile::TSource {
 public:
  TLoaderSource(const std::string& Path, const char* Invalid) : Loader(std::make_unique<TImageLoader>()) {
    Loader->Open(Path);
    if (!Loader->HasPicture()) throw EInvalidGraphic(Invalid);
    Width = Loader->Width();
    Height = Loader->Height();
  }
  void Draw(TBitmap& Target) const override {
    Target.Fill(clBtnFace);
    Loader->DrawInto(Target, 0, 0, Target.Width(), Target.Height());
  }

 private:
  std::unique_ptr<TImageLoader> Loader;
};

// Enhanced and placeable Windows metafiles, drawn on the button face.
class TMetafileSource : public TPictureFile::TSource {
 public:
  explicit TMetafileSource(const std::string& Path) : Metafile(TMetafile::Open(Path)) {
    Width = Metafile->Width();
    Height = Metafile->Height();
  }
  void Draw(TBitmap& Target) const override {
    Target.Fill(clBtnFace);
    Metafile->Draw(Target, 0, 0, Target.Width(), Target.Height());
  }

 private:
  std::unique_ptr<TMetafile> Metafile;
};

std::unique_ptr<TPictureFile::TSource> OpenSource(const std::string& Path) {
  const TPictureKind* Kind = InstalledPictureKinds().KindOf(Path);
  if (Kind && Kind->Reader == TPictureReader::Metafile) return std::make_unique<TMetafileSource>(Path);
  if (Kind && Kind->Reader != TPictureReader::None) {
    CheckReadable(Path);
    return std::make_unique<TLoaderSource>(Path, Kind->Invalid.c_str());
  }
  throw EInvalidGraphic(Format("Unknown picture file extension (.%s)", ExtensionAsWritten(Path).c_str()));
}

}  // namespace

TPictureFile::TPictureFile(const std::string& Path) : Source(OpenSource(Path)) {}
TPictureFile::~TPictureFile() = default;

int TPictureFile::Width() const { return Source->Width; }
int TPictureFile::Height() const { return Source->Height; }

HBITMAP TPictureFile::Render(int W, int H) const {
  if (W <= 0 || H <= 0) return nullptr;
  TBitmap Drawn;
  Drawn.SetSize(W, H);
  Source->Draw(Drawn);
  GdiFlush();
  TWindowDC Screen(nullptr);
  TGdiObject<HBITMAP> Result(CreateCompatibleBitmap(Screen.Get(), W, H));
  if (!Result) throw EOutOfResources("Out of system resources");
  {
    TMemoryDC Target;
    TSelection Selected(Target.Get(), Result.Get());
    Drawn.CopyTo(Target.Get(), 0, 0);
  }
  return Result.Release();
}
