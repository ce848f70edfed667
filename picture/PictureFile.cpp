#include "picture/PictureFile.h"

#include <cstdint>
#include <cstring>

#include "core/PictureKinds.h"
#include "picture/LoadImageFile.h"
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

// An enhanced metafile, deleted with DeleteEnhMetaFile.
class TEnhMetaFile {
 public:
  explicit TEnhMetaFile(HENHMETAFILE H) : Handle(H) {}
  ~TEnhMetaFile() {
    if (Handle) DeleteEnhMetaFile(Handle);
  }
  TEnhMetaFile(const TEnhMetaFile&) = delete;
  TEnhMetaFile& operator=(const TEnhMetaFile&) = delete;
  HENHMETAFILE Get() const { return Handle; }

 private:
  HENHMETAFILE Handle;
};

// Raises the I/O error of a file that cannot be opened for reading.
void CheckReadable(const std::string& Path) {
  TKernelHandle File(
      CreateFileA(Path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!File.Valid()) RaiseInOutError(GetLastError());
}

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

// Enhanced metafiles, and placeable Windows metafiles converted to one.
class TMetafileSource : public TPictureFile::TSource {
 public:
  explicit TMetafileSource(HENHMETAFILE Handle) : Metafile(Handle) {
    if (!Metafile.Get()) throw EInvalidGraphic("Metafile is not valid");
  }
  // The size its header's frame (in 0.01 mm) gives on its reference device.
  void SizeFromFrame() {
    ENHMETAHEADER Header{};
    if (!GetEnhMetaFileHeader(Metafile.Get(), sizeof Header, &Header) || Header.szlMillimeters.cx <= 0 ||
        Header.szlMillimeters.cy <= 0)
      throw EInvalidGraphic("Metafile is not valid");
    Width = MulDiv(Header.rclFrame.right - Header.rclFrame.left, Header.szlDevice.cx,
                   Header.szlMillimeters.cx * 100);
    Height = MulDiv(Header.rclFrame.bottom - Header.rclFrame.top, Header.szlDevice.cy,
                    Header.szlMillimeters.cy * 100);
  }
  void Draw(TBitmap& Target) const override {
    Target.Fill(clBtnFace);
    const RECT Area{0, 0, Target.Width(), Target.Height()};
    PlayEnhMetaFile(Target.Canvas(), Metafile.Get(), &Area);
  }

 private:
  TEnhMetaFile Metafile;
};

std::unique_ptr<TPictureFile::TSource> OpenEnhancedMetafile(const std::string& Path) {
  CheckReadable(Path);
  auto Source = std::make_unique<TMetafileSource>(GetEnhMetaFileA(Path.c_str()));
  Source->SizeFromFrame();
  return Source;
}

// A Windows metafile with the 22-byte placeable header that gives its bounds
// and units per inch; one without that header has no size and is refused.
std::unique_ptr<TPictureFile::TSource> OpenWindowsMetafile(const std::string& Path) {
  const std::string Data = ReadWholeFile(Path);
  constexpr std::size_t HeaderSize = 22;
  auto Word = [&Data](std::size_t At) {
    return static_cast<std::int16_t>(static_cast<std::uint8_t>(Data[At]) |
                                     (static_cast<std::uint8_t>(Data[At + 1]) << 8));
  };
  std::uint32_t Key = 0;
  if (Data.size() > HeaderSize) std::memcpy(&Key, Data.data(), 4);
  const int UnitsPerInch = Data.size() > HeaderSize ? static_cast<std::uint16_t>(Word(14)) : 0;
  if (Key != 0x9AC6CDD7u || UnitsPerInch == 0) throw EInvalidGraphic("Metafile is not valid");
  const int Left = Word(6), Top = Word(8), Right = Word(10), Bottom = Word(12);
  auto Source = std::make_unique<TMetafileSource>(SetWinMetaFileBits(
      static_cast<UINT>(Data.size() - HeaderSize), reinterpret_cast<const BYTE*>(Data.data() + HeaderSize), nullptr,
      nullptr));
  const int PerInch = ScreenDpi();
  Source->Width = MulDiv(Right - Left, PerInch, UnitsPerInch);
  Source->Height = MulDiv(Bottom - Top, PerInch, UnitsPerInch);
  return Source;
}

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
      return OpenEnhancedMetafile(Path);
    case TPreviewKind::WindowsMetafile:
      return OpenWindowsMetafile(Path);
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
