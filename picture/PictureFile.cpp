#include "picture/PictureFile.h"

#include <cstdint>
#include <cstring>

#include "core/PictureKinds.h"
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

// An icon loaded from a file, destroyed with DestroyIcon.
class TIconHandle {
 public:
  explicit TIconHandle(HICON H) : Handle(H) {}
  ~TIconHandle() {
    if (Handle) DestroyIcon(Handle);
  }
  TIconHandle(const TIconHandle&) = delete;
  TIconHandle& operator=(const TIconHandle&) = delete;
  HICON Get() const { return Handle; }

 private:
  HICON Handle;
};

// BMP and JPEG files through the slide show's loader, resampled by area
// averaging into the size they are shown at.
class TLoaderSource : public TPictureFile::TSource {
 public:
  TLoaderSource(const std::string& Path, const char* Invalid) : Loader(std::make_unique<TImageLoader>()) {
    Loader->Open(Path);
    if (!Loader->HasPicture()) throw EInvalidGraphic(Invalid);
    Width = Loader->Width();
    Height = Loader->Height();
  }
  void Draw(TBitmap& Target) const override { Loader->DrawInto(Target, 0, 0, Target.Width(), Target.Height()); }

 private:
  std::unique_ptr<TImageLoader> Loader;
};

class TIconSource : public TPictureFile::TSource {
 public:
  explicit TIconSource(const std::string& Path)
      : Icon(static_cast<HICON>(LoadImageA(nullptr, Path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE))) {
    if (!Icon.Get()) throw EInvalidGraphic("Icon image is not valid");
    ICONINFO Info{};
    if (!GetIconInfo(Icon.Get(), &Info)) throw EInvalidGraphic("Icon image is not valid");
    const TGdiObject<HBITMAP> Colour(Info.hbmColor), Mask(Info.hbmMask);
    BITMAP Bits{};
    if (Colour) {
      GetObjectA(Colour.Get(), sizeof Bits, &Bits);
      Width = Bits.bmWidth, Height = Bits.bmHeight;
    } else {
      GetObjectA(Mask.Get(), sizeof Bits, &Bits);  // AND mask over XOR mask
      Width = Bits.bmWidth, Height = Bits.bmHeight / 2;
    }
  }
  void Draw(TBitmap& Target) const override {
    Target.Fill(clBtnFace);
    DrawIconEx(Target.Canvas(), 0, 0, Icon.Get(), Target.Width(), Target.Height(), 0, nullptr, DI_NORMAL);
  }

 private:
  TIconHandle Icon;
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
  switch (PreviewKindOf(Path)) {
    case TPreviewKind::Bmp:
      CheckReadable(Path);
      return std::make_unique<TLoaderSource>(Path, "Bitmap image is not valid");
    case TPreviewKind::Jpeg:
      CheckReadable(Path);
      return std::make_unique<TLoaderSource>(Path, "JPEG image is not valid");
    case TPreviewKind::Icon:
      CheckReadable(Path);
      return std::make_unique<TIconSource>(Path);
    case TPreviewKind::EnhancedMetafile:
    case TPreviewKind::WindowsMetafile:
      return std::make_unique<TMetafileSource>(Path);
    case TPreviewKind::Unknown:
      break;
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
