#include "picture/Metafile.h"

#include <cstdint>
#include <cstring>

#include "core/PictureKinds.h"
#include "picture/PictureFile.h"
#include "platform/Files.h"
#include "platform/ScreenFont.h"
#include "platform/WideText.h"

namespace {

// The size an enhanced metafile's frame (in 0.01 mm) has on its reference
// device; false when its header gives none.
bool SizeFromFrame(HENHMETAFILE Handle, int& Width, int& Height) {
  ENHMETAHEADER Header{};
  if (!GetEnhMetaFileHeader(Handle, sizeof Header, &Header) || Header.szlMillimeters.cx <= 0 ||
      Header.szlMillimeters.cy <= 0)
    return false;
  Width = MulDiv(Header.rclFrame.right - Header.rclFrame.left, Header.szlDevice.cx, Header.szlMillimeters.cx * 100);
  Height = MulDiv(Header.rclFrame.bottom - Header.rclFrame.top, Header.szlDevice.cy, Header.szlMillimeters.cy * 100);
  return true;
}

}  // namespace

TMetafile::TMetafile(HENHMETAFILE Handle) : Handle(Handle) {
  if (!Handle) throw EInvalidGraphic("Metafile is not valid");
}

TMetafile::~TMetafile() { DeleteEnhMetaFile(Handle); }

std::unique_ptr<TMetafile> TMetafile::Open(const std::string& Path) {
  if (ExtensionOf(Path) != "wmf") {
    CheckReadable(Path);
    std::unique_ptr<TMetafile> Metafile(new TMetafile(GetEnhMetaFileW(WidePath(Path).c_str())));
    if (!SizeFromFrame(Metafile->Handle, Metafile->PictureWidth, Metafile->PictureHeight))
      throw EInvalidGraphic("Metafile is not valid");
    return Metafile;
  }
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
  std::unique_ptr<TMetafile> Metafile(new TMetafile(SetWinMetaFileBits(
      static_cast<UINT>(Data.size() - HeaderSize), reinterpret_cast<const BYTE*>(Data.data() + HeaderSize), nullptr,
      nullptr)));
  const int PerInch = ScreenDpi();
  Metafile->PictureWidth = MulDiv(Right - Left, PerInch, UnitsPerInch);
  Metafile->PictureHeight = MulDiv(Bottom - Top, PerInch, UnitsPerInch);
  return Metafile;
}

void TMetafile::Draw(TBitmap& Target, int X, int Y, int W, int H) const {
  if (Target.Empty() || W <= 0 || H <= 0) return;
  GdiFlush();
  const RECT Area{X, Y, X + W, Y + H};
  PlayEnhMetaFile(Target.Canvas(), Handle, &Area);
  GdiFlush();
}
