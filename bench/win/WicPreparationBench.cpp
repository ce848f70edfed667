// A 12-megapixel photo-like PNG file (4000 x 3000, 24-bit) prepared for a
// 1920 x 1080 frame through TWicPicture (Open, then DrawInto the fitted
// 1440 x 1080 rectangle: rows copied out of WIC as 32-bit pixels a strip at
// a time and area-averaged into the frame), against WIC's own plain
// full-size decode of the same file (decoder, first frame, CopyPixels of the
// whole frame in its own 24-bit format into a buffer reused across rounds),
// alternating the two. Prints the medians, the breakdown of the preparation
// and, last, their ratio. Runs under Wine. Argument: the number of rounds
// (default 9).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/PhotoJpeg.h"
#include "bench/win/BenchWindows.h"
#include "picture/WicPicture.h"
#include "platform/WideText.h"
#include "support/WicPictures.h"

using namespace Bench;

namespace {

constexpr int FrameW = 1920, FrameH = 1080, DrawnW = 1440, DrawnH = 1080;

// WIC's plain decode of the whole picture into Pixels.
double TimePlainDecode(IWICImagingFactory* Factory, const std::wstring& Path, std::vector<BYTE>& Pixels) {
  const double Start = Seconds();
  TComPtr<IWICBitmapDecoder> Decoder;
  TComPtr<IWICBitmapFrameDecode> Frame;
  UINT W = 0, H = 0;
  WICPixelFormatGUID Format{};
  if (FAILED(Factory->CreateDecoderFromFilename(Path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                Decoder.Put())) ||
      FAILED(Decoder->GetFrame(0, Frame.Put())) || FAILED(Frame->GetSize(&W, &H)) ||
      FAILED(Frame->GetPixelFormat(&Format)) || Format != GUID_WICPixelFormat24bppBGR)
    return -1;
  const UINT Stride = (W * 3 + 3) & ~3u;
  Pixels.resize(static_cast<std::size_t>(Stride) * H);
  if (FAILED(Frame->CopyPixels(nullptr, Stride, static_cast<UINT>(Pixels.size()), Pixels.data()))) return -1;
  return (Seconds() - Start) * 1000;
}

}  // namespace

int main(int Argc, char** Argv) {
  const int Rounds = Argc > 1 ? std::max(1, std::atoi(Argv[1])) : 9;
  TComScope Com;
  const TComPtr<IWICImagingFactory> Factory = CreateWicFactory();
  if (!Factory) {
    std::printf("no WIC\n");
    return 1;
  }
  char Temp[MAX_PATH];
  GetTempPathA(sizeof Temp, Temp);
  const std::string Path = std::string(Temp) + "pictarine-bench-photo.png";
  {
    const TBytes Rgb = MakePhotoRgb(PictureW, PictureH);
    TPixelBuffer Picture(PictureW, PictureH);
    for (std::size_t I = 0; I < Picture.Data.size(); ++I)
      Picture.Data[I] = MakePixel(Rgb[3 * I], Rgb[3 * I + 1], Rgb[3 * I + 2]);
    if (!WriteWicFile(Path, GUID_ContainerFormatPng, {&Picture})) {
      std::printf("WIC could not write the picture\n");
      return 1;
    }
  }
  WIN32_FILE_ATTRIBUTE_DATA Attributes{};
  GetFileAttributesExA(Path.c_str(), GetFileExInfoStandard, &Attributes);

  TPixelBuffer Frame(FrameW, FrameH);
  const TPixelView Drawn = Frame.View().Sub((FrameW - DrawnW) / 2, 0, DrawnW, DrawnH);
  TWicPicture Picture;
  std::vector<double> Opening, Drawing, Prepared, Plain, Ratios;
  auto Prepare = [&] {
    const double Start = Seconds();
    std::fill(Frame.Data.begin(), Frame.Data.end(), 0x00000000u);
    if (!Picture.Open(Path)) return -1.0;
    const double Opened = Seconds();
    if (!Picture.DrawInto(Drawn)) return -1.0;
    const double End = Seconds();
    Opening.push_back((Opened - Start) * 1000);
    Drawing.push_back((End - Opened) * 1000);
    return (End - Start) * 1000;
  };
  std::vector<BYTE> Pixels;
  const std::wstring WidePath = ::WidePath(Path);
  if (Prepare() < 0 || TimePlainDecode(Factory.Get(), WidePath, Pixels) < 0) {
    std::printf("the picture could not be decoded\n");
    return 1;
  }
  Opening.clear();
  Drawing.clear();
  for (int I = 0; I < Rounds; ++I) {
    const double A = Prepare();
    const double B = TimePlainDecode(Factory.Get(), WidePath, Pixels);
    Prepared.push_back(A);
    Plain.push_back(B);
    Ratios.push_back(A / B);
  }
  Picture.Close();
  DeleteFileA(Path.c_str());
  std::printf("picture %dx%d PNG, %lu bytes, drawn at %dx%d in a %dx%d frame, %d rounds\n", PictureW, PictureH,
              Attributes.nFileSizeLow, DrawnW, DrawnH, FrameW, FrameH, Rounds);
  std::printf("TWicPicture Open + DrawInto:                median %.1f ms (Open %.1f ms, DrawInto %.1f ms)\n",
              Median(Prepared), Median(Opening), Median(Drawing));
  std::printf("WIC plain full-size decode (%zu bytes): median %.1f ms\n", Pixels.size(), Median(Plain));
  std::printf("ratio: %.3f (TWicPicture preparation over the plain decode)\n", Median(Ratios));
  return 0;
}
