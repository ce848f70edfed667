#include "core/FittedJpeg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "support/JpegEncoder.h"

namespace {

using TBytes = std::vector<std::uint8_t>;

TBytes Encode(const TBytes& Samples, int W, int H, int Components, bool Progressive = false) {
  return EncodeJpeg(Samples, W, H, Components, {.Progressive = Progressive});
}

std::uint8_t Clamp(double V) { return static_cast<std::uint8_t>(std::clamp(V, 0.0, 255.0)); }

// Photo-like content of three kinds, RGB.
TBytes Smooth(int W, int H) {
  TBytes S;
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      S.push_back(Clamp(255.0 * X / W));
      S.push_back(Clamp(128 + 100 * std::sin(X / 40.0) * std::cos(Y / 55.0)));
      S.push_back(Clamp(255.0 * Y / H));
    }
  return S;
}
TBytes Detailed(int W, int H) {
  std::mt19937 Rng(7);
  std::normal_distribution<double> Grain(0, 6);
  TBytes S;
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      const double Light = 0.55 + 0.45 * std::sin(X * 0.011 + 0.3) * std::cos(Y * 0.017);
      const double Coarse = 40 * std::sin(X * 0.21 + 7 * std::sin(Y * 0.04));
      const double Fine = 18 * std::sin((X + 2 * Y) * 0.37) * std::sin(Y * 0.23 - X * 0.05);
      const double G = Grain(Rng);
      S.push_back(Clamp((170 + Coarse) * Light + Fine + G));
      S.push_back(Clamp((120 + 0.6 * Coarse + Fine) * Light + 0.3 * Fine + G));
      S.push_back(Clamp((90 - 0.5 * Coarse) * Light + Fine + G));
    }
  return S;
}
// Sharp-edged shapes in natural colours over a grainy backdrop: walls, a
// roof, lit windows, a thin dark mast.
TBytes Edges(int W, int H) {
  std::mt19937 Rng(11);
  std::normal_distribution<double> Grain(0, 3);
  TBytes S;
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      double R = 110 + 60.0 * Y / H, G = 150 + 40.0 * Y / H, B = 210 - 30.0 * Y / H;  // sky
      if (Y > H / 2 && (X / 90) % 2 == 0) R = 150, G = 140, B = 125;                  // wall
      if (Y > H / 2 && Y < H / 2 + 40 && (X / 90) % 2 == 1) R = 160, G = 60, B = 45;  // roof
      if (Y > H / 2 + 60 && (X % 90) > 20 && (X % 90) < 45 && (Y / 30) % 2 == 0) R = 235, G = 215, B = 160;
      if (X >= W / 3 && X < W / 3 + 2 && Y > H / 5) R = G = B = 35;                    // mast
      const double N = Grain(Rng);
      for (double V : {R, G, B}) S.push_back(Clamp(V + N));
    }
  return S;
}

// The picture as the full-size path draws it: decoded at full size, then
// resampled.
TPixelBuffer FullPath(const TBytes& File, int W, int H) {
  TJpegDecoder Decoder;
  EXPECT_TRUE(Decoder.ReadHeader(File.data(), File.size()));
  TPixelBuffer Whole(Decoder.Width(), Decoder.Height());
  Decoder.Decode(Whole.View());
  TPixelBuffer Drawn(W, H, 0x12345678);
  Resample(Whole.View(), Drawn.View());
  return Drawn;
}

TPixelBuffer Fitted(const TBytes& File, int W, int H, TStreamResampler& Resampler, bool* Ok = nullptr) {
  TJpegDecoder Decoder;
  EXPECT_TRUE(Decoder.ReadHeader(File.data(), File.size()));
  TPixelBuffer Drawn(W, H, 0x12345678);
  const bool Decoded = DecodeJpegInto(Decoder, Drawn.View(), Resampler);
  if (Ok) *Ok = Decoded;
  return Drawn;
}

struct TDifference {
  double Mean[3] = {0, 0, 0};
  int Max = 0;
};
TDifference Compare(const TPixelBuffer& A, const TPixelBuffer& B) {
  TDifference D;
  for (std::size_t I = 0; I < A.Data.size(); ++I)
    for (int C = 0; C < 3; ++C) {
      const int Diff = std::abs(static_cast<int>(A.Data[I] >> (8 * C) & 0xFF) - static_cast<int>(B.Data[I] >> (8 * C) & 0xFF));
      D.Mean[C] += Diff;
      D.Max = std::max(D.Max, Diff);
    }
  for (double& M : D.Mean) M /= static_cast<double>(A.Data.size());
  return D;
}

TEST(FittedJpeg, ScaledDecodesStayCloseToTheFullSizePath) {
  const int W = 640, H = 480;
  struct TPicture {
    const char* Name;
    TBytes File;
  };
  TBytes Cut = Encode(Detailed(W, H), W, H, 3);
  Cut.resize(Cut.size() * 2 / 3);
  TBytes Grey;
  for (int I = 0; I < W * H; ++I) Grey.push_back(Clamp(128 + 90 * std::sin(I % W / 13.0) * std::cos(I / W / 17.0)));
  const TPicture Pictures[] = {
      {"smooth", Encode(Smooth(W, H), W, H, 3)},
      {"detailed", Encode(Detailed(W, H), W, H, 3)},
      {"detailed progressive", Encode(Detailed(W, H), W, H, 3, true)},
      {"hard edges", Encode(Edges(W, H), W, H, 3)},
      {"truncated", Cut},
      {"grey", Encode(Grey, W, H, 1)},
  };
  // Scales 1/2 down to 1/8: exactly a scale's size, just below it, between
  // two scales, aspect changed.
  const std::pair<int, int> Sizes[] = {{320, 240}, {319, 239}, {300, 225}, {230, 173}, {161, 121},
                                       {160, 120}, {150, 100}, {80, 60},   {79, 59},   {13, 9}};
  TStreamResampler Resampler;
  for (const TPicture& P : Pictures)
    for (const auto& [DW, DH] : Sizes) {
      const TPixelBuffer Want = FullPath(P.File, DW, DH);
      const TPixelBuffer Got = Fitted(P.File, DW, DH, Resampler);
      const TDifference D = Compare(Want, Got);
      for (int C = 0; C < 3; ++C)
        EXPECT_LE(D.Mean[C], 1.5) << P.Name << " at " << DW << "x" << DH << " channel " << C;
      EXPECT_LE(D.Max, 24) << P.Name << " at " << DW << "x" << DH;
    }
}

TEST(FittedJpeg, AtFullScaleGivesTheBitsOfTheFullSizePath) {
  const int W = 97, H = 61;
  const TBytes Files[] = {Encode(Detailed(W, H), W, H, 3), Encode(Edges(W, H), W, H, 3, true)};
  // The full size itself, a shrink too small for a DCT scale, enlargements,
  // one-pixel-wide and one-pixel-high results.
  const std::pair<int, int> Sizes[] = {{97, 61}, {96, 61}, {90, 58}, {97, 30}, {1, 61},
                                       {97, 1},  {200, 61}, {150, 122}, {49, 10}};
  TStreamResampler Resampler;
  for (const TBytes& File : Files)
    for (const auto& [DW, DH] : Sizes) {
      const TPixelBuffer Want = FullPath(File, DW, DH);
      const TPixelBuffer Got = Fitted(File, DW, DH, Resampler);
      for (std::size_t I = 0; I < Want.Data.size(); ++I)
        ASSERT_EQ(PixelRgb(Got.Data[I]), Want.Data[I]) << DW << "x" << DH << " at " << I;
    }
}

TEST(FittedJpeg, FlatColourStaysExactlyFlat) {
  const int W = 333, H = 250;
  TStreamResampler Resampler;
  for (std::uint32_t Colour : {MakePixel(200, 30, 90), MakePixel(0, 0, 0), MakePixel(255, 255, 255)}) {
    TBytes Rgb;
    for (int I = 0; I < W * H; ++I) Rgb.insert(Rgb.end(), {std::uint8_t(PixelR(Colour)), std::uint8_t(PixelG(Colour)), std::uint8_t(PixelB(Colour))});
    const TBytes File = Encode(Rgb, W, H, 3);
    const std::uint32_t Flat = FullPath(File, 1, 1).Data[0];
    for (const auto& [DW, DH] : {std::pair{300, 200}, std::pair{160, 120}, std::pair{41, 31}, std::pair{7, 300}}) {
      const TPixelBuffer Got = Fitted(File, DW, DH, Resampler);
      for (std::uint32_t P : Got.Data) ASSERT_EQ(PixelRgb(P), Flat) << DW << "x" << DH;
    }
  }
}

TEST(FittedJpeg, ACorruptPictureIsWhiteAtAnyScale) {
  const int W = 160, H = 120;
  TBytes File = Encode(Smooth(W, H), W, H, 3);
  for (std::size_t I = 2; I + 1 < File.size(); ++I)
    if (File[I] == 0xFF && File[I + 1] == 0xDA) {
      File[I + 6] = 0x33;  // the first component's Huffman tables: never defined
      break;
    }
  TStreamResampler Resampler;
  for (const auto& [DW, DH] : {std::pair{160, 120}, std::pair{40, 30}, std::pair{33, 100}}) {
    bool Ok = true;
    const TPixelBuffer Got = Fitted(File, DW, DH, Resampler, &Ok);
    EXPECT_FALSE(Ok);
    for (std::uint32_t P : Got.Data) ASSERT_EQ(P, 0x00FFFFFFu) << DW << "x" << DH;
  }
}

TEST(FittedJpeg, ScaleIsTheSmallestFastOneThatCoversTheDrawnSize) {
  const TBytes File = Encode(Smooth(500, 375), 500, 375, 3);
  TJpegDecoder Decoder;
  ASSERT_TRUE(Decoder.ReadHeader(File.data(), File.size()));
  int W = 0, H = 0;
  Decoder.ScaledSize(3, W, H);
  EXPECT_EQ(W, 188);  // 187.5 rounded up, as the library does
  EXPECT_EQ(H, 141);  // 140.6
  EXPECT_EQ(JpegScaleFor(Decoder, 63, 47), 1) << "exactly 1/8";
  EXPECT_EQ(JpegScaleFor(Decoder, 62, 47), 2) << "1/8 without the margin";
  EXPECT_EQ(JpegScaleFor(Decoder, 50, 37), 1);
  EXPECT_EQ(JpegScaleFor(Decoder, 100, 75), 2);
  EXPECT_EQ(JpegScaleFor(Decoder, 200, 150), 4);
  EXPECT_EQ(JpegScaleFor(Decoder, 200, 151), 8) << "both sides must keep the margin";
  EXPECT_EQ(JpegScaleFor(Decoder, 250, 188), 4) << "exactly 1/2";
  EXPECT_EQ(JpegScaleFor(Decoder, 501, 10), 8) << "an enlargement decodes at full size";
}

}  // namespace
