#include "support/TestPictures.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/BmpCodec.h"
#include "platform/Files.h"
#include "platform/WideText.h"
#include "support/JpegEncoder.h"
#include "support/SettingsFixture.h"
#include "support/WicPictures.h"

TPixelBuffer SolidPicture(int Width, int Height, std::uint32_t Pixel) { return TPixelBuffer(Width, Height, Pixel); }

void WriteBmpFile(const std::string& Path, TPixelBuffer& Picture, int BitsPerPixel) {
  const std::vector<std::uint8_t> Data = EncodeBmp(Picture.View(), BitsPerPixel);
  ReplaceFile(Path, std::string(Data.begin(), Data.end()));
}

namespace {

std::vector<std::uint8_t> EncodeJpegOf(const TPixelBuffer& Picture, int Quality) {
  std::vector<std::uint8_t> Rgb;
  Rgb.reserve(Picture.Data.size() * 3);
  for (const std::uint32_t P : Picture.Data) Rgb.insert(Rgb.end(), {static_cast<std::uint8_t>(PixelR(P)),
                                                                    static_cast<std::uint8_t>(PixelG(P)),
                                                                    static_cast<std::uint8_t>(PixelB(P))});
  return EncodeJpeg(Rgb, Picture.Width, Picture.Height, 3, {.Quality = Quality});
}

void WriteBytes(const std::string& Path, const std::vector<std::uint8_t>& File) {
  ReplaceFile(Path, std::string(File.begin(), File.end()));
}

}  // namespace

void WriteJpegFile(const std::string& Path, TPixelBuffer& Picture, int Quality) {
  WriteBytes(Path, EncodeJpegOf(Picture, Quality));
}

TPixelBuffer StoredFor(const TPixelBuffer& Upright, int ExifOrientation) {
  const int W = Upright.Width, H = Upright.Height;
  const bool Swapped = ExifOrientation >= 5;
  TPixelBuffer Stored(Swapped ? H : W, Swapped ? W : H);
  // Where the upright pixel X, Y is stored, for each value.
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      int SX = X, SY = Y;
      switch (ExifOrientation) {
        case 2: SX = W - 1 - X; break;
        case 3: SX = W - 1 - X, SY = H - 1 - Y; break;
        case 4: SY = H - 1 - Y; break;
        case 5: SX = Y, SY = X; break;
        case 6: SX = Y, SY = W - 1 - X; break;
        case 7: SX = H - 1 - Y, SY = W - 1 - X; break;
        case 8: SX = H - 1 - Y, SY = X; break;
        default: break;
      }
      Stored.Data[static_cast<std::size_t>(SY) * Stored.Width + SX] = Upright.At(X, Y);
    }
  return Stored;
}

void WriteExifJpegFile(const std::string& Path, const TPixelBuffer& Upright, int ExifOrientation, int Quality) {
  std::vector<std::uint8_t> File = EncodeJpegOf(StoredFor(Upright, ExifOrientation), Quality);
  const std::uint8_t Value = static_cast<std::uint8_t>(ExifOrientation);
  // APP1: "Exif\0\0", then TIFF: "II", 42, IFD0 at 8; one entry: tag 0x0112,
  // SHORT, count 1, the value; no next IFD.
  const std::vector<std::uint8_t> App1 = {
      0xFF, 0xE1, 0x00, 0x22, 'E', 'x', 'i', 'f', 0, 0,    'I', 'I', 42, 0, 8, 0, 0, 0,
      1,    0,    0x12, 0x01, 3,   0,   1,   0,   0, 0,    Value, 0,  0,  0, 0, 0, 0, 0};
  File.insert(File.begin() + 2, App1.begin(), App1.end());
  WriteBytes(Path, File);
}

namespace {

// The quadrants' colours in reading order.
constexpr std::uint32_t QuadrantColours[4] = {MakePixel(220, 0, 0), MakePixel(0, 200, 0), MakePixel(0, 0, 220),
                                              MakePixel(230, 230, 0)};

}  // namespace

TPixelBuffer QuadrantPicture(int Width, int Height) {
  TPixelBuffer P(Width, Height);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X)
      P.Data[static_cast<std::size_t>(Y) * Width + X] = QuadrantColours[(Y >= Height / 2) * 2 + (X >= Width / 2)];
  return P;
}

std::vector<std::string> WriteOrientationSeries(const std::string& Folder, const std::string& Separator) {
  const TPixelBuffer Upright = QuadrantPicture(160, 120);
  std::vector<std::string> Paths;
  for (int Orientation = 1; Orientation <= 8; ++Orientation) {
    Paths.push_back(Separator);
    Paths.push_back(Folder + "\\photo" + std::to_string(Orientation) + ".jpg");
    WriteExifJpegFile(Paths.back(), Upright, Orientation);
  }
  return Paths;
}

std::string QuadrantMismatch(const TPixelView& P, int X, int Y, int W, int H) {
  std::string Mismatch;
  for (int Q = 0; Q < 4; ++Q) {
    const int SX = X + (Q % 2 ? 3 * W / 4 : W / 4), SY = Y + (Q / 2 ? 3 * H / 4 : H / 4);
    if (SX < 0 || SY < 0 || SX >= P.Width || SY >= P.Height) return "the rectangle is outside the picture";
    const std::uint32_t Got = P.Row(SY)[SX], Want = QuadrantColours[Q];
    if (std::abs(PixelR(Got) - PixelR(Want)) > 24 || std::abs(PixelG(Got) - PixelG(Want)) > 24 ||
        std::abs(PixelB(Got) - PixelB(Want)) > 24) {
      char Text[96];
      std::snprintf(Text, sizeof Text, "quadrant %d at %d,%d is %06X, not %06X; ", Q, SX, SY,
                    static_cast<unsigned>(Got & 0xFFFFFF), static_cast<unsigned>(Want & 0xFFFFFF));
      Mismatch += Text;
    }
  }
  return Mismatch;
}

TPixelBuffer ReadBmpFilePixels(const std::string& Path) {
  const std::string Data = FileContent(Path);
  const auto* Bytes = reinterpret_cast<const std::uint8_t*>(Data.data());
  TBmpInfo Info;
  if (!ReadBmpInfo(Bytes, Data.size(), Info)) return {};
  TPixelBuffer Pixels(Info.Width, Info.Height);
  DecodeBmp(Bytes, Data.size(), Info, Pixels.View());
  for (std::uint32_t& P : Pixels.Data) P = PixelRgb(P);
  return Pixels;
}

TBmpFileInfo ReadBmpFileInfo(const std::string& Path) {
  const std::string Text = FileContent(Path);
  const std::vector<unsigned char> Data(Text.begin(), Text.end());
  TBmpFileInfo Info;
  Info.Size = Data.size();
  if (Data.size() < 54 || Data[0] != 'B' || Data[1] != 'M') return Info;
  std::int32_t W, H;
  std::uint16_t Bits;
  std::memcpy(&W, &Data[18], 4);
  std::memcpy(&H, &Data[22], 4);
  std::memcpy(&Bits, &Data[28], 2);
  Info.Width = W;
  Info.Height = H;
  Info.BitsPerPixel = Bits;
  return Info;
}

void WriteEnhancedMetafile(const std::string& Path, std::uint32_t Pixel) {
  const RECT Frame{0, 0, 5080, 2540};  // 0.01 mm
  HDC Recording = CreateEnhMetaFileW(nullptr, WidePath(Path).c_str(), &Frame, nullptr);
  if (!Recording) return;
  // Recorded in the reference device's pixels.
  const double PerMmX = GetDeviceCaps(Recording, HORZRES) / std::max(1.0, 1.0 * GetDeviceCaps(Recording, HORZSIZE));
  const double PerMmY = GetDeviceCaps(Recording, VERTRES) / std::max(1.0, 1.0 * GetDeviceCaps(Recording, VERTSIZE));
  HBRUSH Brush = CreateSolidBrush(RGB(PixelR(Pixel), PixelG(Pixel), PixelB(Pixel)));
  const RECT Painted{static_cast<LONG>(12.7 * PerMmX + 0.5), 0, static_cast<LONG>(50.8 * PerMmX + 0.5),
                     static_cast<LONG>(25.4 * PerMmY + 0.5)};
  FillRect(Recording, &Painted, Brush);
  DeleteObject(Brush);
  DeleteEnhMetaFile(CloseEnhMetaFile(Recording));
}

void WritePlaceableMetafile(const std::string& Path, std::uint32_t Pixel, bool Placeable) {
  HDC Recording = CreateMetaFileA(nullptr);
  SetWindowExtEx(Recording, 1440, 720, nullptr);
  HBRUSH Brush = CreateSolidBrush(RGB(PixelR(Pixel), PixelG(Pixel), PixelB(Pixel)));
  SelectObject(Recording, Brush);
  Rectangle(Recording, 0, 0, 1440, 720);
  HMETAFILE Recorded = CloseMetaFile(Recording);
  DeleteObject(Brush);
  std::string Bits(GetMetaFileBitsEx(Recorded, 0, nullptr), '\0');
  GetMetaFileBitsEx(Recorded, static_cast<UINT>(Bits.size()), Bits.data());
  DeleteMetaFile(Recorded);
  const std::uint16_t Header[11] = {0xCDD7, 0x9AC6, 0, 0, 0, 1440, 720, 1440, 0, 0, 0};
  ReplaceFile(Path, (Placeable ? std::string(reinterpret_cast<const char*>(Header), 22) : std::string()) + Bits);
}

std::vector<std::string> WriteWicKinds(const std::string& Folder) {
  const auto Put = [](const std::string& Path, const std::string& Bytes) { ReplaceFile(Path, Bytes); };
  std::vector<std::string> Paths;
  const HRESULT Com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  TPixelBuffer Red(160, 120, 0xFFDC0000);
  Paths.push_back(Folder + "\\opaque.png");
  WriteWicFile(Paths.back(), GUID_ContainerFormatPng, {&Red});
  TPixelBuffer Framed(160, 120, 0x00000000);
  for (int Y = 20; Y < 100; ++Y)
    for (int X = 20; X < 140; ++X) Framed.Data[static_cast<std::size_t>(Y) * 160 + X] = 0xFF00C800;
  Paths.push_back(Folder + "\\alpha.png");
  WriteWicFile(Paths.back(), GUID_ContainerFormatPng, {&Framed}, true);
  if (SUCCEEDED(Com)) CoUninitialize();
  Paths.push_back(Folder + "\\first.gif");
  Put(Paths.back(), GifFile(100, 60, {std::vector<std::uint8_t>(6000, 0), std::vector<std::uint8_t>(6000, 1)},
                            {0x0000DC, 0xDC0000}));
  Paths.push_back(Folder + "\\first.tif");
  const TPixelBuffer Yellow(120, 80, 0x00E6E600);
  Put(Paths.back(), TiffFile(Yellow, 2));
  Paths.push_back(Folder + "\\icon.ico");
  const TPixelBuffer Small(16, 16, 0xFFDC0000), Large(64, 64, 0xFFC800C8);
  Put(Paths.back(), IconFile({&Small, &Large}));
  return Paths;
}
