#include "core/JpegDecoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "support/JpegEncoder.h"

namespace {

using TBytes = std::vector<std::uint8_t>;

// The tests' encoder at quality 95 unless told otherwise.
struct TEncodeOptions : TJpegOptions {
  TEncodeOptions() { Quality = 95; }
};

TBytes Encode(const std::vector<std::uint8_t>& Samples, int W, int H, int Components, const TEncodeOptions& Options) {
  return EncodeJpeg(Samples, W, H, Components, Options);
}

// A smooth colour picture: gradients and slow waves that JPEG keeps well,
// chroma subsampling included.
std::vector<std::uint8_t> ColourSamples(int W, int H) {
  std::vector<std::uint8_t> S(static_cast<std::size_t>(W) * H * 3);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      std::uint8_t* P = &S[(static_cast<std::size_t>(Y) * W + X) * 3];
      P[0] = static_cast<std::uint8_t>(255 * X / (W - 1));
      P[1] = static_cast<std::uint8_t>(255 * Y / (H - 1));
      P[2] = static_cast<std::uint8_t>(128 + 100 * std::sin(X / 5.0) * std::cos(Y / 7.0));
    }
  return S;
}

constexpr std::uint32_t Unwritten = 0x12345678;

struct TDecoded {
  bool Header = false, Decoded = false;
  TPixelBuffer Pixels;
};

TDecoded DecodeAll(const TBytes& File) {
  TDecoded Result;
  TJpegDecoder Decoder;
  Result.Header = Decoder.ReadHeader(File.data(), File.size());
  if (!Result.Header) return Result;
  Result.Pixels = TPixelBuffer(Decoder.Width(), Decoder.Height(), Unwritten);
  Result.Decoded = Decoder.Decode(Result.Pixels.View());
  return Result;
}

// Largest channel difference between RGB samples and decoded pixels, over
// rows [FromRow, ToRow).
int MaxRgbError(const std::vector<std::uint8_t>& Rgb, const TPixelBuffer& Pixels, int FromRow,
                int ToRow) {
  int Worst = 0;
  for (int Y = FromRow; Y < ToRow; ++Y)
    for (int X = 0; X < Pixels.Width; ++X) {
      const std::uint32_t P = Pixels.At(X, Y);
      const std::uint8_t* S = &Rgb[(static_cast<std::size_t>(Y) * Pixels.Width + X) * 3];
      Worst = std::max({Worst, std::abs(PixelR(P) - S[0]), std::abs(PixelG(P) - S[1]),
                        std::abs(PixelB(P) - S[2])});
    }
  return Worst;
}

// Offset of the first marker segment of the given kind, or 0.
std::size_t FindSegment(const TBytes& File, std::uint8_t Marker) {
  std::size_t I = 2;
  while (I + 4 <= File.size() && File[I] == 0xFF) {
    if (File[I + 1] == Marker) return I;
    I += 2 + (File[I + 2] << 8 | File[I + 3]);
  }
  return 0;
}

void PatchSize(TBytes& File, int W, int H) {
  const std::size_t Sof = FindSegment(File, 0xC0);
  ASSERT_NE(Sof, 0u);
  File[Sof + 5] = static_cast<std::uint8_t>(H >> 8);
  File[Sof + 6] = static_cast<std::uint8_t>(H);
  File[Sof + 7] = static_cast<std::uint8_t>(W >> 8);
  File[Sof + 8] = static_cast<std::uint8_t>(W);
}

TEST(JpegDecoder, ColourFilesDecodeCloseToTheSource) {
  struct TCase {
    const char* Name;
    int W, H;
    TEncodeOptions Options;
  };
  TEncodeOptions Progressive, Restarts, Subsampled;
  Progressive.Progressive = true;
  Restarts.RestartInterval = 1;
  Subsampled.Quality = 90;
  TEncodeOptions Full;
  Full.FullChroma = true;
  const TCase Cases[] = {
      {"4:4:4", 64, 48, Full},
      {"4:2:0 odd size", 37, 29, Subsampled},
      {"progressive", 80, 40, Progressive},
      {"restart markers", 50, 70, Restarts},
  };
  for (const TCase& C : Cases) {
    const auto Rgb = ColourSamples(C.W, C.H);
    const TDecoded D = DecodeAll(Encode(Rgb, C.W, C.H, 3, C.Options));
    ASSERT_TRUE(D.Header) << C.Name;
    ASSERT_TRUE(D.Decoded) << C.Name;
    ASSERT_EQ(D.Pixels.Width, C.W);
    ASSERT_EQ(D.Pixels.Height, C.H);
    EXPECT_LE(MaxRgbError(Rgb, D.Pixels, 0, C.H), 24) << C.Name;
    // The bulk of the picture must be much closer than the worst pixel.
    double Sum = 0;
    for (int Y = 0; Y < C.H; ++Y)
      for (int X = 0; X < C.W; ++X)
        Sum += std::abs(PixelG(D.Pixels.At(X, Y)) - Rgb[(Y * C.W + X) * 3 + 1]);
    EXPECT_LT(Sum / (C.W * C.H), 2.0) << C.Name;
  }
}

TEST(JpegDecoder, GreyFilesUseAtMost236Levels) {
  const int W = 256, H = 24;
  std::vector<std::uint8_t> Grey(W * H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) Grey[Y * W + X] = static_cast<std::uint8_t>(X);
  TEncodeOptions Options;
  Options.InSpace = JCS_GRAYSCALE;
  const TDecoded D = DecodeAll(Encode(Grey, W, H, 1, Options));
  ASSERT_TRUE(D.Decoded);
  std::set<std::uint32_t> Levels;
  double Error = 0;
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      const std::uint32_t P = D.Pixels.At(X, Y);
      ASSERT_EQ(P >> 24, 0u);
      ASSERT_EQ(PixelR(P), PixelB(P));
      ASSERT_EQ(PixelG(P), PixelB(P));
      Levels.insert(P);
      ASSERT_NEAR(PixelG(P), X, 6) << X << "," << Y;
      Error += PixelG(P) - X;
    }
  EXPECT_LE(Levels.size(), 236u);
  EXPECT_GT(Levels.size(), 150u);  // a real ramp, not a few bands
  EXPECT_NEAR(Error / (W * H), 0.0, 1.0);  // dithering keeps the mean
}

TEST(JpegDecoder, CmykAndYcckFilesConvertToRgb) {
  // Inks chosen so the expected colours are easy to state.
  struct TInk {
    std::uint8_t C, M, Y, K;  // amounts of ink, 255 = full
    std::uint32_t Want;
  } const Inks[] = {
      {0, 0, 0, 0, 0x00FFFFFF},     {255, 0, 0, 0, 0x0000FFFF}, {0, 255, 0, 0, 0x00FF00FF},
      {0, 0, 255, 0, 0x00FFFF00},   {0, 0, 0, 255, 0x00000000}, {0, 0, 0, 128, 0x007F7F7F},
  };
  const int Band = 16, W = 16, H = Band * 6;
  for (bool Adobe : {true, false})
    for (J_COLOR_SPACE FileSpace : {JCS_CMYK, JCS_YCCK}) {
      if (!Adobe && FileSpace == JCS_YCCK) continue;  // YCCK files are Adobe's
      std::vector<std::uint8_t> Samples;
      for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
          const TInk& I = Inks[Y / Band];
          for (std::uint8_t V : {I.C, I.M, I.Y, I.K})
            Samples.push_back(Adobe ? static_cast<std::uint8_t>(255 - V) : V);
        }
      TEncodeOptions Options;
      Options.InSpace = JCS_CMYK;
      Options.FileSpace = FileSpace;
      Options.AdobeMarker = Adobe;
      const TDecoded D = DecodeAll(Encode(Samples, W, H, 4, Options));
      ASSERT_TRUE(D.Decoded);
      for (int B = 0; B < 6; ++B) {
        const std::uint32_t P = D.Pixels.At(W / 2, B * Band + Band / 2);
        const std::uint32_t Want = Inks[B].Want;
        EXPECT_EQ(P >> 24, 0u);
        EXPECT_NEAR(PixelR(P), PixelR(Want), 6) << "band " << B << " adobe " << Adobe << " space " << FileSpace;
        EXPECT_NEAR(PixelG(P), PixelG(Want), 6) << "band " << B << " adobe " << Adobe << " space " << FileSpace;
        EXPECT_NEAR(PixelB(P), PixelB(Want), 6) << "band " << B << " adobe " << Adobe << " space " << FileSpace;
      }
    }
}

TEST(JpegDecoder, TruncatedFileDecodesItsTopRows) {
  const int W = 64, H = 256;
  const auto Rgb = ColourSamples(W, H);
  TBytes File = Encode(Rgb, W, H, 3, TEncodeOptions{});
  File.resize(File.size() / 2);
  const TDecoded D = DecodeAll(File);
  ASSERT_TRUE(D.Header);
  ASSERT_TRUE(D.Decoded);
  EXPECT_EQ(D.Pixels.Width, W);
  EXPECT_EQ(D.Pixels.Height, H);
  EXPECT_LE(MaxRgbError(Rgb, D.Pixels, 0, 32), 24);
  for (std::uint32_t P : D.Pixels.Data) ASSERT_NE(P, Unwritten);  // every row written
}

TEST(JpegDecoder, ErrorAfterTheHeaderFailsAndLeavesWhite) {
  const int W = 40, H = 40;
  TBytes File = Encode(ColourSamples(W, H), W, H, 3, TEncodeOptions{});
  const std::size_t Sos = FindSegment(File, 0xDA);
  ASSERT_NE(Sos, 0u);
  File[Sos + 6] = 0x33;  // first component: Huffman tables that do not exist
  TJpegDecoder Decoder;
  ASSERT_TRUE(Decoder.ReadHeader(File.data(), File.size()));
  TPixelBuffer Pixels(W, H, 0);
  EXPECT_FALSE(Decoder.Decode(Pixels.View()));
  for (std::uint32_t P : Pixels.Data) ASSERT_EQ(P, 0x00FFFFFFu);
}

TEST(JpegDecoder, NonJpegDataIsRejected) {
  const TBytes Good = Encode(ColourSamples(16, 16), 16, 16, 3, TEncodeOptions{});
  const std::vector<TBytes> Bad = {
      {},
      {0xFF, 0xD8},
      {'B', 'M', 0x36, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0},
      TBytes(Good.begin(), Good.begin() + 40),  // cut inside the header
      TBytes(1000, 0xFF),
  };
  for (const TBytes& Data : Bad) {
    TJpegDecoder Decoder;
    EXPECT_FALSE(Decoder.ReadHeader(Data.data(), Data.size())) << Data.size();
    EXPECT_EQ(Decoder.Width(), 0);
    TPixelBuffer Pixels(1, 1);
    EXPECT_FALSE(Decoder.Decode(Pixels.View()));
  }
}

TEST(JpegDecoder, HostileDimensionsAreRejected) {
  const TBytes Small = Encode(ColourSamples(16, 16), 16, 16, 3, TEncodeOptions{});
  // Noise at full quality: enough picture data (over 240 KB) that only the
  // pixel memory limit can reject 12000 x 12000.
  std::vector<std::uint8_t> Noise(400 * 400 * 3);
  for (std::size_t I = 0; I < Noise.size(); ++I) Noise[I] = static_cast<std::uint8_t>((I * 2654435761u) >> 13);
  TEncodeOptions Full;
  Full.Quality = 100;
  Full.FullChroma = true;
  const TBytes Detailed = Encode(Noise, 400, 400, 3, Full);
  struct TCase {
    const TBytes* File;
    int W, H;
    bool Accepted;
  } const Cases[] = {
      {&Small, 65535, 65535, false},  // 16 GiB of pixels
      {&Small, 4000, 4000, false},    // far more pixels than the data can code
      {&Small, 100, 100, true},       // plausible: 64 pixels per bit allow it
      {&Small, 0, 16, false},
      {&Detailed, 12000, 12000, false},  // 549 MiB of pixels
      {&Detailed, 11000, 11000, true},   // 461 MiB
  };
  for (const TCase& C : Cases) {
    TBytes File = *C.File;
    PatchSize(File, C.W, C.H);
    TJpegDecoder Decoder;
    EXPECT_EQ(Decoder.ReadHeader(File.data(), File.size()), C.Accepted) << C.W << "x" << C.H;
  }
}

TEST(JpegDecoder, WrongDestinationSizeIsRefusedUntouched) {
  const TBytes File = Encode(ColourSamples(16, 8), 16, 8, 3, TEncodeOptions{});
  TJpegDecoder Decoder;
  ASSERT_TRUE(Decoder.ReadHeader(File.data(), File.size()));
  TPixelBuffer Wrong(16, 9, 7);
  EXPECT_FALSE(Decoder.Decode(Wrong.View()));
  for (std::uint32_t P : Wrong.Data) ASSERT_EQ(P, 7u);
}

TEST(JpegDecoder, OneDecoderServesSeveralPictures) {
  const auto A = ColourSamples(24, 16), B = ColourSamples(8, 40);
  const TBytes FileA = Encode(A, 24, 16, 3, TEncodeOptions{});
  const TBytes FileB = Encode(B, 8, 40, 3, TEncodeOptions{});
  TJpegDecoder Decoder;
  ASSERT_TRUE(Decoder.ReadHeader(FileA.data(), FileA.size()));  // read, never decoded
  ASSERT_TRUE(Decoder.ReadHeader(FileB.data(), FileB.size()));
  TPixelBuffer Pixels(8, 40);
  ASSERT_TRUE(Decoder.Decode(Pixels.View()));
  EXPECT_LE(MaxRgbError(B, Pixels, 0, 40), 24);
  const TBytes Junk(100, 0x42);
  EXPECT_FALSE(Decoder.ReadHeader(Junk.data(), Junk.size()));
  ASSERT_TRUE(Decoder.ReadHeader(FileA.data(), FileA.size()));
  TPixelBuffer Again(24, 16);
  ASSERT_TRUE(Decoder.Decode(Again.View()));
  EXPECT_LE(MaxRgbError(A, Again, 0, 16), 24);
}

}  // namespace
