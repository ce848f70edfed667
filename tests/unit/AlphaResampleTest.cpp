#include "core/AlphaResample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

std::uint32_t Premultiplied(int A, int R, int G, int B) {
  auto Times = [A](int C) { return static_cast<std::uint32_t>(std::lround(C * A / 255.0)); };
  return static_cast<std::uint32_t>(A) << 24 | Times(R) << 16 | Times(G) << 8 | Times(B);
}

// Feeds Src to Sink a strip at a time, as a decoder does; StopBefore rows
// are left out (all of them fed when it is the height).
void Feed(TRowSink& Sink, const TPixelBuffer& Src, int StopBefore) {
  std::uint32_t* Rows[TStreamResampler::StripRows];
  for (int Y = 0; Y < StopBefore;) {
    const int Count = Sink.NextRows(Rows, std::min(TStreamResampler::StripRows, StopBefore - Y));
    ASSERT_GT(Count, 0);
    for (int R = 0; R < Count; ++R) std::copy_n(&Src.Data[static_cast<std::size_t>(Y + R) * Src.Width], Src.Width, Rows[R]);
    Sink.RowsWritten(Count);
    Y += Count;
  }
}

TPixelBuffer AlphaDrawn(TAlphaStreamResampler& Resampler, const TPixelBuffer& Src, int W, int H,
                        std::uint32_t Background) {
  TPixelBuffer Dest(W, H, Background);
  Resampler.Start(Src.Width, Src.Height, Dest.View());
  Feed(Resampler, Src, Src.Height);
  EXPECT_TRUE(Resampler.Finished());
  return Dest;
}

TEST(CompositeRow, EveryAlphaOverEveryLevelRoundsToNearest) {
  // A black premultiplied pixel of each alpha over each level: what shows
  // through is level * (255 - alpha) / 255, rounded to nearest.
  for (int A = 0; A <= 255; ++A) {
    std::vector<std::uint32_t> Src(256, static_cast<std::uint32_t>(A) << 24), Dest(256);
    for (int Level = 0; Level < 256; ++Level) Dest[Level] = 0xAB000000u | MakePixel(Level, Level, 255 - Level);
    CompositeRow(Src.data(), Dest.data(), 256);
    for (int Level = 0; Level < 256; ++Level) {
      const auto Want = [&](int L) { return static_cast<int>(std::floor(L * (255 - A) / 255.0 + 0.5)); };
      ASSERT_EQ(Dest[Level], MakePixel(Want(Level), Want(Level), Want(255 - Level))) << "alpha " << A << " level " << Level;
    }
  }
}

TEST(CompositeRow, OpaqueReplacesClearKeepsAndExcessColourSaturates) {
  std::uint32_t Src[4] = {0xFF123456, 0x00000000, 0x80808080, 0x40FF0000};
  std::uint32_t Dest[4] = {0x00ABCDEF, 0x00ABCDEF, 0x00FFFFFF, 0x00FF0000};
  CompositeRow(Src, Dest, 4);
  EXPECT_EQ(Dest[0], 0x00123456u);
  EXPECT_EQ(Dest[1], 0x00ABCDEFu);
  EXPECT_EQ(Dest[2], MakePixel(128 + 127, 128 + 127, 128 + 127));
  // Red 255 under an alpha of 64 is no valid premultiplied pixel: capped.
  EXPECT_EQ(Dest[3], MakePixel(255, 0, 0));
}

struct TSizes {
  int SrcW, SrcH, DstW, DstH;
};
const TSizes SizeCases[] = {{64, 48, 32, 24}, {37, 23, 5, 7}, {5, 3, 17, 11}, {300, 200, 301, 199},
                            {16, 16, 16, 16}, {1, 40, 3, 2},  {640, 33, 217, 161}};

TEST(AlphaStreamResampler, AnOpaquePictureComesOutAsTheStreamResamplerDrawsIt) {
  TAlphaStreamResampler Alpha;  // one for every case: its buffers are reused
  TStreamResampler Plain;
  std::mt19937 Rng(7);
  for (const TSizes& S : SizeCases) {
    TPixelBuffer Src(S.SrcW, S.SrcH);
    for (std::uint32_t& P : Src.Data) P = Rng() | 0xFF000000u;
    TPixelBuffer Want(S.DstW, S.DstH, 0x00777777);
    Plain.Start(S.SrcW, S.SrcH, Want.View());
    Feed(Plain, Src, S.SrcH);
    ASSERT_EQ(AlphaDrawn(Alpha, Src, S.DstW, S.DstH, 0x00112233).Data, Want.Data)
        << S.SrcW << "x" << S.SrcH << " -> " << S.DstW << "x" << S.DstH;
  }
}

TEST(AlphaStreamResampler, AlphaIsAveragedWithTheColours) {
  TAlphaStreamResampler Resampler;
  const std::uint32_t Background = MakePixel(0x20, 0x40, 0x80);
  // Opaque white beside clear: halved, a white of alpha 127.5 (rounded half
  // up to 128) over the background.
  TPixelBuffer Checks(40, 30);
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 40; ++X) Checks.Data[Y * 40 + X] = (X + Y) % 2 ? 0xFFFFFFFF : 0;
  const auto Through = [](int Level) { return static_cast<int>(std::floor(Level * 127 / 255.0 + 0.5)); };
  for (const std::uint32_t P : AlphaDrawn(Resampler, Checks, 20, 15, Background).Data)
    ASSERT_EQ(P, MakePixel(128 + Through(0x20), 128 + Through(0x40), 128 + Through(0x80)));
  // A flat half-transparent colour, shrunk or enlarged, stays flat.
  const TPixelBuffer Flat(33, 21, Premultiplied(96, 200, 100, 50));
  for (const auto& [W, H] : {std::pair{10, 7}, std::pair{50, 40}}) {
    const TPixelBuffer Out = AlphaDrawn(Resampler, Flat, W, H, Background);
    for (const std::uint32_t P : Out.Data) ASSERT_EQ(P, Out.Data[0]);
    EXPECT_NEAR(PixelR(Out.Data[0]), (200 * 96 + 0x20 * 159) / 255.0, 1);
    EXPECT_NEAR(PixelB(Out.Data[0]), (50 * 96 + 0x80 * 159) / 255.0, 1);
  }
}

TEST(AlphaStreamResampler, WritesOnlyItsRectangleAndOnlyOnceTheLastRowIsIn) {
  TPixelBuffer Src(30, 20, Premultiplied(128, 255, 0, 0));
  TPixelBuffer Frame(20, 12, 0x00010203);
  const TPixelView Dest = Frame.View().Sub(3, 2, 10, 7);
  TAlphaStreamResampler Resampler;
  Resampler.Start(30, 20, Dest);
  Feed(Resampler, Src, 19);
  EXPECT_FALSE(Resampler.Finished());
  EXPECT_TRUE(std::all_of(Frame.Data.begin(), Frame.Data.end(), [](std::uint32_t P) { return P == 0x00010203; }))
      << "the background is still needed until the end";
  std::uint32_t* Rows[TStreamResampler::StripRows];
  ASSERT_EQ(Resampler.NextRows(Rows, 16), 1);
  std::copy_n(Src.Data.begin(), 30, Rows[0]);
  Resampler.RowsWritten(1);
  EXPECT_TRUE(Resampler.Finished());
  for (int Y = 0; Y < 12; ++Y)
    for (int X = 0; X < 20; ++X) {
      const bool Inside = X >= 3 && X < 13 && Y >= 2 && Y < 9;
      if (Inside)
        ASSERT_EQ(Frame.At(X, Y), MakePixel(128, 1, 1)) << X << "," << Y;  // 1, 2, 3 times 127/255, rounded
      else
        ASSERT_EQ(Frame.At(X, Y), 0x00010203u) << X << "," << Y;
    }
}

}  // namespace
