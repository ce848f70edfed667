// The WIC picture reader on real files that the tests write, through the
// real windowscodecs (Wine's, under Wine).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <thread>

#include "core/Resample.h"
#include "picture/WicPicture.h"
#include "platform/Files.h"
#include "support/SettingsFixture.h"
#include "support/TestPictures.h"
#include "support/WicPictures.h"

namespace {

using TSizes = std::vector<std::pair<int, int>>;

class TWicPictureTest : public TSettingsTest {
 protected:
  TComScope Com;  // for WIC's encoders

  std::string Write(const std::string& Name, const std::string& Content) const { return MakeFile(Name, Content); }
  std::string WriteWic(const std::string& Name, const GUID& Container, const std::vector<const TPixelBuffer*>& Frames,
                       bool Alpha = false) const {
    const std::string Path = Scratch + "\\" + Name;
    EXPECT_TRUE(WriteWicFile(Path, Container, Frames, Alpha)) << Name;
    return Path;
  }
};

// A picture with detail in both directions, so that misplaced rows, columns
// or channels show.
TPixelBuffer Detailed(int W, int H) {
  TPixelBuffer P(W, H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) P.Data[Y * W + X] = MakePixel(255 * X / W, 255 * Y / H, (X * 37 + Y * 91) % 256);
  return P;
}

// Drawn into a fresh W x H destination filled with Background; the high
// bytes cleared.
TPixelBuffer Drawn(TWicPicture& Picture, int W, int H, std::uint32_t Background = 0x00302010) {
  TPixelBuffer Dest(W, H, Background);
  EXPECT_TRUE(Picture.DrawInto(Dest.View())) << W << "x" << H;
  for (std::uint32_t& P : Dest.Data) P = PixelRgb(P);
  return Dest;
}

TPixelBuffer Resampled(TPixelBuffer Source, int W, int H) {
  TPixelBuffer Dest(W, H);
  Resample(Source.View(), Dest.View());
  return Dest;
}

TPixelBuffer Solid(int W, int H, std::uint32_t Pixel) { return TPixelBuffer(W, H, Pixel); }

// The colour that a straight-alpha pixel gives over Background: the
// premultiplied colour plus what shows through.
double Over(int Channel, int Alpha, int Background) {
  return Channel * Alpha / 255.0 + Background * (255 - Alpha) / 255.0;
}

void ExpectNearPixel(std::uint32_t Got, double R, double G, double B, double Tolerance, const std::string& Where) {
  EXPECT_NEAR(PixelR(Got), R, Tolerance) << Where;
  EXPECT_NEAR(PixelG(Got), G, Tolerance) << Where;
  EXPECT_NEAR(PixelB(Got), B, Tolerance) << Where;
}

TEST_F(TWicPictureTest, AnOpaquePngIsDrawnAsTheResamplerDrawsIt) {
  const TPixelBuffer Picture = Detailed(60, 40);
  const std::string Png = WriteWic("detail.png", GUID_ContainerFormatPng, {&Picture});
  TWicPicture Wic;
  ASSERT_TRUE(Wic.Open(Png));
  EXPECT_EQ(Wic.Width(), 60);
  EXPECT_EQ(Wic.Height(), 40);
  EXPECT_FALSE(Wic.HasAlpha());
  EXPECT_EQ(Wic.Orientation(), 1);
  // At its own size, shrunk by a whole factor and by an odd one, enlarged;
  // each size twice, as a slide show draws a picture again.
  for (const auto& [W, H] : TSizes{{60, 40}, {15, 10}, {23, 17}, {90, 61}, {60, 40}, {23, 17}})
    ASSERT_EQ(Drawn(Wic, W, H).Data, Resampled(Picture, W, H).Data) << W << "x" << H;

  // Area averaging by value: a checkerboard of black and white halves to
  // uniform grey, the mean rounded half up.
  TPixelBuffer Checks(40, 40);
  for (int Y = 0; Y < 40; ++Y)
    for (int X = 0; X < 40; ++X) Checks.Data[Y * 40 + X] = (X + Y) % 2 ? 0x00FFFFFF : 0;
  ASSERT_TRUE(Wic.Open(WriteWic("checks.png", GUID_ContainerFormatPng, {&Checks})));
  for (const std::uint32_t P : Drawn(Wic, 20, 20).Data) ASSERT_EQ(P, 0x00808080u);
}

TEST_F(TWicPictureTest, AlphaIsAveragedAndPutOverWhatTheDestinationHolds) {
  // Straight alpha, as stored: opaque red, half-transparent green, clear,
  // a quarter of white; the same again below.
  const std::uint32_t Row[4] = {0xFFFF0000, 0x8000FF00, 0x00000000, 0x40FFFFFF};
  TPixelBuffer Picture(4, 2);
  for (int X = 0; X < 4; ++X) Picture.Data[X] = Picture.Data[4 + X] = Row[X];
  const std::uint32_t Background = MakePixel(0x20, 0x40, 0x80);
  TWicPicture Wic;
  ASSERT_TRUE(Wic.Open(WriteWic("alpha.png", GUID_ContainerFormatPng, {&Picture}, true)));
  ASSERT_TRUE(Wic.HasAlpha());

  const TPixelBuffer Full = Drawn(Wic, 4, 2, Background);
  for (int X = 0; X < 4; ++X) {
    const int A = static_cast<int>(Row[X] >> 24);
    ExpectNearPixel(Full.At(X, 1), Over(PixelR(Row[X]), A, 0x20), Over(PixelG(Row[X]), A, 0x40),
                    Over(PixelB(Row[X]), A, 0x80), 1, "full size, pixel " + std::to_string(X));
  }
  // Halved: each pixel the mean of two premultiplied pixels and their alpha.
  const TPixelBuffer Half = Drawn(Wic, 2, 1, Background);
  for (int X = 0; X < 2; ++X) {
    const std::uint32_t L = Row[2 * X], R = Row[2 * X + 1];
    const double AL = (L >> 24) / 255.0, AR = (R >> 24) / 255.0, A = (AL + AR) / 2;
    auto Mean = [&](int (*Channel)(std::uint32_t), int Back) {
      return (Channel(L) * AL + Channel(R) * AR) / 2 + Back * (1 - A);
    };
    ExpectNearPixel(Half.At(X, 0), Mean(PixelR, 0x20), Mean(PixelG, 0x40), Mean(PixelB, 0x80), 2,
                    "halved, pixel " + std::to_string(X));
  }

  // An alpha channel that is opaque everywhere draws what the opaque file
  // draws, whatever lies below.
  TPixelBuffer Opaque = Detailed(60, 40);
  for (std::uint32_t& P : Opaque.Data) P |= 0xFF000000;
  ASSERT_TRUE(Wic.Open(WriteWic("opaque-alpha.png", GUID_ContainerFormatPng, {&Opaque}, true)));
  for (const auto& [W, H] : TSizes{{60, 40}, {23, 17}})
    EXPECT_EQ(Drawn(Wic, W, H, 0x00FF00FF).Data, Resampled(Opaque, W, H).Data) << W << "x" << H;
}

TEST_F(TWicPictureTest, MultiFrameFilesGiveTheirFirstFrameAndIconsTheirLargestImage) {
  const std::uint32_t Red = MakePixel(255, 0, 0), Green = MakePixel(0, 255, 0), Blue = MakePixel(0, 0, 255);
  TWicPicture Wic;

  const std::vector<std::uint8_t> Reds(64, 1), Blues(64, 2);
  ASSERT_TRUE(Wic.Open(Write("two.gif", GifFile(8, 8, {Reds, Blues}, {0, Red, Blue}))));
  EXPECT_FALSE(Wic.HasAlpha());
  for (const std::uint32_t P : Drawn(Wic, 8, 8).Data) ASSERT_EQ(P, Red);
  // Index 0 transparent: the left half shows the background.
  std::vector<std::uint8_t> HalfClear(64, 1);
  for (int I = 0; I < 64; ++I)
    if (I % 8 < 4) HalfClear[I] = 0;
  ASSERT_TRUE(Wic.Open(Write("clear.gif", GifFile(8, 8, {HalfClear, Blues}, {0, Red, Blue}, 0))));
  EXPECT_TRUE(Wic.HasAlpha());
  const TPixelBuffer Clear = Drawn(Wic, 8, 8, Green);
  EXPECT_EQ(Clear.At(1, 5), Green);
  EXPECT_EQ(Clear.At(6, 5), Red);

  const TPixelBuffer RedPage = Solid(12, 10, Red), BluePage = Solid(12, 10, Blue);
  ASSERT_TRUE(Wic.Open(WriteWic("two.tif", GUID_ContainerFormatTiff, {&RedPage, &BluePage})));
  EXPECT_EQ(Wic.Width(), 12);
  for (const std::uint32_t P : Drawn(Wic, 12, 10).Data) ASSERT_EQ(P, Red);

  // The larger image second, so that the first frame is not the answer; one
  // half-transparent pixel in it.
  const TPixelBuffer Small = Solid(16, 16, 0xFF000000 | Blue);
  TPixelBuffer Large = Solid(32, 32, 0xFF000000 | Green);
  Large.Data[0] = 0x80FF0000;
  ASSERT_TRUE(Wic.Open(Write("two.ico", IconFile({&Small, &Large}))));
  EXPECT_EQ(Wic.Width(), 32);
  EXPECT_EQ(Wic.Height(), 32);
  EXPECT_TRUE(Wic.HasAlpha());
  const TPixelBuffer Icon = Drawn(Wic, 32, 32, MakePixel(0, 0, 0x80));
  EXPECT_EQ(Icon.At(31, 31), Green);
  ExpectNearPixel(Icon.At(0, 0), Over(255, 0x80, 0), 0, Over(0, 0x80, 0x80), 1, "the half-transparent pixel");
}

TEST_F(TWicPictureTest, TheOrientationComesFromTheFrameAndIsNotApplied) {
  const TPixelBuffer Picture = Detailed(16, 8);
  TWicPicture Wic;
  ASSERT_TRUE(Wic.Open(Write("turned.tif", TiffFile(Picture, 1, 6))));
  EXPECT_EQ(Wic.Orientation(), 6);
  EXPECT_EQ(Wic.Width(), 16);
  EXPECT_EQ(Drawn(Wic, 16, 8).Data, Picture.Data);
  ASSERT_TRUE(Wic.Open(Write("upright.tif", TiffFile(Picture, 1))));
  EXPECT_EQ(Wic.Orientation(), 1);
  ASSERT_TRUE(Wic.Open(Write("turned.tif", TiffFile(Picture, 1, 8))));
  EXPECT_EQ(Wic.Orientation(), 8) << "a file opened again under the same name";
  ASSERT_TRUE(Wic.Open(WriteWic("plain.png", GUID_ContainerFormatPng, {&Picture})));
  EXPECT_EQ(Wic.Orientation(), 1);
}

TEST_F(TWicPictureTest, AJpegFileGivesItsExifOrientation) {
  if (GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version"))
    GTEST_SKIP() << "Wine 8's JPEG decoder reads no metadata: every JPEG file answers orientation 1 there";
  TPixelBuffer Picture = Detailed(16, 8);
  WriteJpegFile(Scratch + "\\plain.jpg", Picture);
  std::string Jpeg = FileContent(Scratch + "\\plain.jpg");
  // An APP1 segment after SOI: Exif, a little-endian TIFF header and one
  // directory entry, orientation 3.
  const std::string Exif("Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x03\0\0\0\0\0\0\0", 32);
  Jpeg.insert(2, std::string("\xFF\xE1\0", 3) + static_cast<char>(Exif.size() + 2) + Exif);
  TWicPicture Wic;
  ASSERT_TRUE(Wic.Open(Write("turned.jpg", Jpeg)));
  EXPECT_EQ(Wic.Orientation(), 3);
}

TEST(TWicPictureDecoders, ExtensionsNameEveryInstalledDecoder) {
  const std::vector<std::string> Extensions = TWicPicture::DecoderExtensions();
  auto Has = [&](const char* E) { return std::find(Extensions.begin(), Extensions.end(), E) != Extensions.end(); };
  for (const char* E : {".png", ".gif", ".ico", ".bmp", ".jpg"}) EXPECT_TRUE(Has(E)) << E;
  EXPECT_TRUE(Has(".tif") || Has(".tiff"));
  for (const std::string& E : Extensions) {
    EXPECT_EQ(E[0], '.') << E;
    EXPECT_EQ(E.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ ,;"), std::string::npos) << E;
    EXPECT_EQ(std::count(Extensions.begin(), Extensions.end(), E), 1) << E;
  }
}

TEST_F(TWicPictureTest, ADrawCanBeGivenUpBetweenStrips) {
  const TPixelBuffer Tall = Detailed(64, 400);
  const std::string Png = WriteWic("tall.png", GUID_ContainerFormatPng, {&Tall});
  TWicPicture Wic;
  ASSERT_TRUE(Wic.Open(Png));
  for (const auto& [W, H] : TSizes{{32, 200}, {64, 400}}) {  // resampled, and copied as it is
    int Checks = 0;
    TPixelBuffer Dest(W, H, 0x00FF00FF);
    EXPECT_FALSE(Wic.DrawInto(Dest.View(), [&Checks] { return ++Checks >= 2; }));
    EXPECT_EQ(Checks, 2) << "no check after the one that said stop";
    EXPECT_EQ(Dest.At(W / 2, H - 1), 0x00FF00FFu) << "the last rows are not drawn";
    EXPECT_TRUE(Wic.DrawInto(Dest.View(), [] { return false; }));
    EXPECT_EQ(PixelRgb(Dest.At(W / 2, H - 1)), Resampled(Tall, W, H).At(W / 2, H - 1));
  }
}

// Sizes a JPEG-like decoder scales to: the full size over 1, 2, 4 or 8,
// rounded up; asked for a size, it answers the smallest of them that covers
// it on both sides, or the full size.
bool DctClosest(unsigned FrameW, unsigned FrameH, unsigned& W, unsigned& H) {
  for (unsigned Scale = 8; Scale >= 1; Scale /= 2) {
    const unsigned SW = (FrameW + Scale - 1) / Scale, SH = (FrameH + Scale - 1) / Scale;
    if (SW >= W && SH >= H) {
      W = SW;
      H = SH;
      return true;
    }
  }
  W = FrameW;
  H = FrameH;
  return true;
}

TEST(TWicPictureScaling, TheSmallestDecodeThatCoversTheDestinationIsChosen) {
  auto Dct = [](unsigned FW, unsigned FH) {
    return [FW, FH](unsigned& W, unsigned& H) { return DctClosest(FW, FH, W, H); };
  };
  auto Size = [](TDecodeSize S) { return std::pair{S.Width, S.Height}; };
  // 1/2 is 2000 x 1500: at least 5/4 of 1440 x 1080 on both sides.
  EXPECT_EQ(Size(ReducedDecodeSize(4000, 3000, 1440, 1080, Dct(4000, 3000))), std::pair(2000u, 1500u));
  // 2000 is short of 5/4 of 1920: the full size.
  EXPECT_EQ(Size(ReducedDecodeSize(4000, 3000, 1920, 1080, Dct(4000, 3000))), std::pair(4000u, 3000u));
  // Exactly 1/8, rounded up.
  EXPECT_EQ(Size(ReducedDecodeSize(4001, 3001, 501, 376, Dct(4001, 3001))), std::pair(501u, 376u));
  // Larger than the frame, or a decoder that cannot tell: the full size.
  EXPECT_EQ(Size(ReducedDecodeSize(400, 300, 800, 600, Dct(400, 300))), std::pair(400u, 300u));
  EXPECT_EQ(Size(ReducedDecodeSize(4000, 3000, 100, 75, [](unsigned&, unsigned&) { return false; })),
            std::pair(4000u, 3000u));
  // A decoder that scales to any size is asked for the destination's own.
  EXPECT_EQ(Size(ReducedDecodeSize(4000, 3000, 1000, 700, [](unsigned&, unsigned&) { return true; })),
            std::pair(1000u, 700u));
}

// A decoder frame's transform that decodes a picture whose pixel at X, Y of
// a W x H decode is B = X, G = Y, R = W % 256, in 24-bit BGR; it notes what
// it was asked.
class TFakeTransform final : public IWICBitmapSourceTransform {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Id, void** Out) override {
    if (Id == __uuidof(IUnknown) || Id == __uuidof(IWICBitmapSourceTransform)) {
      *Out = this;
      AddRef();
      return S_OK;
    }
    *Out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++References; }
  ULONG STDMETHODCALLTYPE Release() override { return --References; }
  HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* Rect, UINT W, UINT H, WICPixelFormatGUID* Format,
                                       WICBitmapTransformOptions Transform, UINT Stride, UINT Size,
                                       BYTE* Buffer) override {
    Asked = {W, H};
    if (*Format != GUID_WICPixelFormat24bppBGR || Transform != WICBitmapTransformRotate0) return E_INVALIDARG;
    if (Rect->X < 0 || Rect->Y < 0 || Rect->X + Rect->Width > static_cast<INT>(W) ||
        Rect->Y + Rect->Height > static_cast<INT>(H) || Size < Stride * (Rect->Height - 1) + 3 * Rect->Width)
      return E_INVALIDARG;
    for (INT Y = 0; Y < Rect->Height; ++Y)
      for (INT X = 0; X < Rect->Width; ++X) {
        BYTE* P = Buffer + Y * Stride + 3 * X;
        P[0] = static_cast<BYTE>(Rect->X + X);
        P[1] = static_cast<BYTE>(Rect->Y + Y);
        P[2] = static_cast<BYTE>(W % 256);
      }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetClosestSize(UINT*, UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* Format) override {
    *Format = GUID_WICPixelFormat24bppBGR;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions, BOOL* Supported) override {
    *Supported = FALSE;
    return S_OK;
  }
  ULONG References = 1;
  std::pair<UINT, UINT> Asked;
};

TEST(TWicPictureScaling, AReducedDecodeIsReadThroughAFormatConverter) {
  TComScope Com;
  const TComPtr<IWICImagingFactory> Factory = CreateWicFactory();
  ASSERT_TRUE(Factory);
  TComPtr<IWICBitmap> Frame;  // stands for the decoder's frame: resolution and palette
  ASSERT_TRUE(SUCCEEDED(
      Factory->CreateBitmap(200, 100, GUID_WICPixelFormat24bppBGR, WICBitmapCacheOnDemand, Frame.Put())));
  TFakeTransform Transform;
  {
    const TComPtr<IWICBitmapSource> Scaled =
        ScaledFrameSource(&Transform, Frame.Get(), 50, 25, GUID_WICPixelFormat32bppBGR);
    ASSERT_TRUE(Scaled);
    UINT W = 0, H = 0;
    Scaled->GetSize(&W, &H);
    EXPECT_EQ(std::pair(W, H), std::pair(50u, 25u));
    TComPtr<IWICFormatConverter> Converter;
    ASSERT_TRUE(SUCCEEDED(Factory->CreateFormatConverter(Converter.Put())));
    ASSERT_TRUE(SUCCEEDED(Converter->Initialize(Scaled.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                                nullptr, 0, WICBitmapPaletteTypeCustom)));
    std::vector<std::uint32_t> Rows(50 * 4);
    const WICRect Strip{0, 20, 50, 4};
    ASSERT_TRUE(SUCCEEDED(Converter->CopyPixels(&Strip, 200, 800, reinterpret_cast<BYTE*>(Rows.data()))));
    EXPECT_EQ(Transform.Asked, std::pair(50u, 25u));
    EXPECT_EQ(PixelRgb(Rows[0]), MakePixel(50, 20, 0));
    EXPECT_EQ(PixelRgb(Rows[3 * 50 + 49]), MakePixel(50, 23, 49));
  }
  EXPECT_EQ(Transform.References, 1u) << "every reference the source took is given back";
}

// CPU time of this process, in seconds.
double ProcessSeconds() {
  FILETIME Created, Exited, Kernel, User;
  GetProcessTimes(GetCurrentProcess(), &Created, &Exited, &Kernel, &User);
  auto Value = [](const FILETIME& T) { return (static_cast<std::uint64_t>(T.dwHighDateTime) << 32) | T.dwLowDateTime; };
  return static_cast<double>(Value(Kernel) + Value(User)) / 1e7;
}

double PrivateMegabytes() {
  PROCESS_MEMORY_COUNTERS Counters{};
  GetProcessMemoryInfo(GetCurrentProcess(), &Counters, sizeof Counters);
  return static_cast<double>(Counters.PagefileUsage) / 1e6;
}

// The most private bytes the process holds while the object lives, sampled
// every millisecond by a thread of its own: Wine keeps no peak (its
// PeakPagefileUsage follows the current count, and PrivateUsage is 0).
class TPrivateBytesPeak {
 public:
  TPrivateBytesPeak() : Peak(PrivateMegabytes()), Sampler([this] {
    while (!Stop) {
      Peak = std::max(Peak.load(), PrivateMegabytes());
      Sleep(1);
    }
  }) {}
  ~TPrivateBytesPeak() { End(); }
  double End() {
    Stop = true;
    if (Sampler.joinable()) Sampler.join();
    Peak = std::max(Peak.load(), PrivateMegabytes());
    return Peak;
  }

 private:
  std::atomic<double> Peak;
  std::atomic<bool> Stop{false};
  std::thread Sampler;
};

std::string WithTiffSize(std::string Tiff, std::uint32_t W, std::uint32_t H) {
  const std::uint32_t Directory = static_cast<std::uint8_t>(Tiff[4]) | static_cast<std::uint8_t>(Tiff[5]) << 8 |
                                  static_cast<std::uint8_t>(Tiff[6]) << 16 | static_cast<std::uint32_t>(static_cast<std::uint8_t>(Tiff[7])) << 24;
  // The first two entries: width and height, as LONG values.
  std::memcpy(&Tiff[Directory + 2 + 8], &W, 4);
  std::memcpy(&Tiff[Directory + 2 + 12 + 8], &H, 4);
  return Tiff;
}

TEST_F(TWicPictureTest, HostileFilesAreRefusedOrDrawnQuickly) {
  TPixelBuffer Small = Detailed(16, 16);
  // One image whose PNG data claims 60000 x 60000.
  const std::string ClaimingPng = WithPngSize(ZerosPngFile(16, 16, 2), 60000, 60000);
  std::string ClaimingIcon = IconFile({&Small});
  ClaimingIcon.replace(22, std::string::npos, ClaimingPng);  // the image's data, after the directory
  ClaimingIcon.replace(14, 4, std::string{static_cast<char>(ClaimingPng.size() & 0xFF),
                                          static_cast<char>(ClaimingPng.size() >> 8 & 0xFF), 0, 0});
  WriteBmpFile(Scratch + "\\small.bmp", Small);
  std::string ClaimingBmp = FileContent(Scratch + "\\small.bmp");
  ClaimingBmp.replace(18, 8, std::string("\x60\xEA\0\0\x60\xEA\0\0", 8));
  std::string ClaimingGif = GifFile(8, 8, {std::vector<std::uint8_t>(64, 1)}, {0, 0xFF});
  ClaimingGif.replace(13 + 12 + 8 + 5, 4, "\xFF\xFF\xFF\xFF");  // the first image: 65535 x 65535
  std::vector<std::vector<std::uint8_t>> Frames(10000, std::vector<std::uint8_t>(32 * 32, 1));
  Frames[1].assign(32 * 32, 2);
  // A PNG file of noise, which compresses little, cut in half.
  TPixelBuffer Photo(300, 200);
  for (std::size_t I = 0; I < Photo.Data.size(); ++I) Photo.Data[I] = static_cast<std::uint32_t>(I * 2654435761u) >> 8;
  const std::string Whole = FileContent(WriteWic("whole.png", GUID_ContainerFormatPng, {&Photo}));
  // The largest RGBA picture the bounds let through, and one a pixel wider
  // and higher.
  const std::uint32_t Side = static_cast<std::uint32_t>(std::sqrt(static_cast<double>(MaxFrameBytes / 4)));

  enum TWant { Refuse, Draw, Either };
  // CPU seconds allowed: what is refused or small costs next to nothing
  // (walking every frame of the GIF file costs 2.5 s under Wine).
  const struct {
    const char* Name;
    std::string Content;
    TWant Want;
    double MaxSeconds;
  } Files[] = {
      {"claims-60000.png", ClaimingPng, Refuse, 0.3},
      {"zeros-11000.png", ZerosPngFile(11000, 11000, 2), Refuse, 0.3},
      {"zeros-over-bound.png", ZerosPngFile(Side + 1, Side + 1, 6), Refuse, 0.3},
      {"zeros-at-bound.png", ZerosPngFile(Side, Side, 6), Draw, 3.0},
      {"claims-60000.ico", ClaimingIcon, Refuse, 0.3},
      {"claims-60000.bmp", ClaimingBmp, Refuse, 0.3},
      {"claims-60000.tif", WithTiffSize(TiffFile(Small, 1), 60000, 60000), Refuse, 0.3},
      {"claims-65535.gif", ClaimingGif, Refuse, 0.3},
      {"frames-10000.gif", GifFile(32, 32, Frames, {0, MakePixel(255, 0, 0), MakePixel(0, 0, 255)}), Draw, 0.3},
      // Wine's metadata reader faults on this one: the orientation is lost,
      // the picture is not.
      {"pages-10000.tif", TiffFile(Small, 10000, 6), Draw, 0.5},
      {"cut.png", Whole.substr(0, Whole.size() / 2), Either, 0.3},
  };
  TPixelBuffer Frame(1920, 1080);
  TWicPicture Wic;
  for (const auto& File : Files) {
    const std::string Path = Write(File.Name, File.Content);
    const double Before = PrivateMegabytes();
    TPrivateBytesPeak Sampled;
    const double Start = ProcessSeconds();
    const bool Opened = Wic.Open(Path);
    int W = 0, H = 0;
    if (Opened) {
      W = std::min(1920, Wic.Width());
      H = std::min(1080, Wic.Height());
    }
    const bool Drew = Opened && Wic.DrawInto(Frame.View().Sub(0, 0, W, H));
    const double Seconds = ProcessSeconds() - Start;
    const double Peak = Sampled.End();
    std::printf("[ hostile  ] %-20s %9zu bytes: %-15s CPU %.3f s, peak private bytes %.0f MB (%.0f MB above before)\n",
                File.Name, File.Content.size(), !Opened ? "refused at Open" : Drew ? "drawn" : "draw failed", Seconds,
                Peak, Peak - Before);
    EXPECT_LT(Seconds, File.MaxSeconds) << File.Name;
    if (File.Want == Refuse) {
      EXPECT_FALSE(Opened) << File.Name;
      EXPECT_LT(Peak - Before, 32) << File.Name;
    } else if (File.Want == Draw) {
      EXPECT_TRUE(Drew) << File.Name;
    }
    EXPECT_EQ(Wic.Width() * Wic.Height() == 0, !Opened) << File.Name;
  }
  // The many-framed files drew their first frame.
  ASSERT_TRUE(Wic.Open(Scratch + "\\frames-10000.gif"));
  EXPECT_EQ(Drawn(Wic, 32, 32).At(5, 5), MakePixel(255, 0, 0));
  ASSERT_TRUE(Wic.Open(Scratch + "\\pages-10000.tif"));
  EXPECT_EQ(Drawn(Wic, 16, 16).Data, Small.Data);
}

}  // namespace
