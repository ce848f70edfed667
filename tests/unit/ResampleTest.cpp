#include "core/Resample.h"
#include "support/RandomPicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <random>
#include <vector>

namespace {

TPixelBuffer Resampled(TPixelBuffer& Src, int W, int H) {
  TPixelBuffer Dest(W, H, 0xDEADBEEF);
  Resample(Src.View(), Dest.View());
  return Dest;
}

int Channel(std::uint32_t P, int C) { return (P >> (8 * C)) & 0xFF; }

double MeanOfChannel(const TPixelBuffer& Picture, int C) {
  double Sum = 0;
  for (std::uint32_t P : Picture.Data) Sum += Channel(P, C);
  return Sum / static_cast<double>(Picture.Data.size());
}

struct TSizes {
  int SrcW, SrcH, DstW, DstH;
};

// Shrink, enlarge, identity and mixed, square and not, tiny and odd widths,
// exact and rounded weight units.
const TSizes SizeCases[] = {
    {64, 48, 32, 24},    {100, 100, 33, 33},   {37, 23, 5, 7},     {1, 1, 13, 9},
    {13, 9, 1, 1},       {5, 3, 17, 11},       {640, 480, 217, 161}, {300, 200, 301, 199},
    {1009, 31, 997, 7},  {4001, 3, 1440, 2},   {3, 3001, 2, 1081},  {16, 16, 16, 16},
    {7, 400, 19, 3},     {1, 500, 3, 2},       {500, 1, 2, 3},
};

TEST(Resample, ConstantPictureStaysConstant) {
  for (const TSizes& S : SizeCases)
    for (std::uint32_t Colour : {0x00000000u, 0x00FFFFFFu, 0x00123456u, 0xFF80FF01u}) {
      TPixelBuffer Src(S.SrcW, S.SrcH, Colour);
      const TPixelBuffer Dest = Resampled(Src, S.DstW, S.DstH);
      for (std::uint32_t P : Dest.Data)
        ASSERT_EQ(P, Colour & 0x00FFFFFF) << S.SrcW << "x" << S.SrcH << " -> " << S.DstW << "x"
                                          << S.DstH;
    }
}

TEST(Resample, CheckerboardHalvedIsUniformGrey) {
  TPixelBuffer Src(64, 48);
  for (int Y = 0; Y < 48; ++Y)
    for (int X = 0; X < 64; ++X) Src.Data[Y * 64 + X] = (X + Y) % 2 ? 0x00FFFFFF : 0;
  for (const auto& [W, H] : {std::pair{32, 24}, std::pair{32, 48}, std::pair{64, 24}}) {
    const TPixelBuffer Dest = Resampled(Src, W, H);
    for (std::uint32_t P : Dest.Data) ASSERT_EQ(P, 0x00808080u);  // 127.5 rounds up
  }
}

TEST(Resample, IntegerShrinkIsTheRoundedBlockMean) {
  const std::pair<int, int> Factors[] = {{2, 2}, {3, 3}, {2, 5}, {7, 1}, {1, 6}, {4, 4}, {6, 10}, {16, 3}};
  std::uint32_t Seed = 1;
  for (const auto& [FX, FY] : Factors)
    for (const auto& [DW, DH] : {std::pair{5, 4}, std::pair{13, 7}}) {
      TPixelBuffer Src = RandomPicture(DW * FX, DH * FY, Seed++);
      const TPixelBuffer Dest = Resampled(Src, DW, DH);
      const int Count = FX * FY;
      for (int Y = 0; Y < DH; ++Y)
        for (int X = 0; X < DW; ++X)
          for (int C = 0; C < 4; ++C) {
            int Sum = 0;
            for (int J = 0; J < FY; ++J)
              for (int I = 0; I < FX; ++I) Sum += Channel(Src.At(X * FX + I, Y * FY + J), C);
            const int Want = C == 3 ? 0 : (2 * Sum + Count) / (2 * Count);
            ASSERT_EQ(Channel(Dest.At(X, Y), C), Want)
                << "factor " << FX << "x" << FY << " at " << X << "," << Y << " channel " << C;
          }
    }
}

// Overlap of source pixel I with destination pixel D along one axis, in
// units where a source pixel is Dst long and a destination pixel Src long.
std::vector<std::vector<std::int64_t>> AreaWeights(int Src, int Dst) {
  std::vector<std::vector<std::int64_t>> W(Dst, std::vector<std::int64_t>(Src, 0));
  for (int D = 0; D < Dst; ++D)
    for (int I = 0; I < Src; ++I) {
      const std::int64_t Lo = std::max<std::int64_t>(I * std::int64_t{Dst}, D * std::int64_t{Src});
      const std::int64_t Hi =
          std::min<std::int64_t>((I + 1) * std::int64_t{Dst}, (D + 1) * std::int64_t{Src});
      W[D][I] = std::max<std::int64_t>(0, Hi - Lo);
    }
  return W;
}

TEST(Resample, ShrinkIsTheExactAreaWeightedMean) {
  // Reduced fractions with small denominators: the weights are held exactly.
  const TSizes Cases[] = {{10, 10, 4, 4}, {7, 5, 3, 2}, {100, 37, 64, 20}, {45, 27, 12, 18}, {9, 250, 9, 17}};
  for (const TSizes& S : Cases) {
    TPixelBuffer Src = RandomPicture(S.SrcW, S.SrcH, 77);
    const TPixelBuffer Dest = Resampled(Src, S.DstW, S.DstH);
    const auto WX = AreaWeights(S.SrcW, S.DstW), WY = AreaWeights(S.SrcH, S.DstH);
    const std::int64_t Total = std::int64_t{S.SrcW} * S.SrcH;  // weight of one destination pixel
    for (int Y = 0; Y < S.DstH; ++Y)
      for (int X = 0; X < S.DstW; ++X)
        for (int C = 0; C < 3; ++C) {
          std::int64_t Sum = 0;
          for (int J = 0; J < S.SrcH; ++J)
            for (int I = 0; I < S.SrcW; ++I)
              Sum += WX[X][I] * WY[Y][J] * Channel(Src.At(I, J), C);
          const std::int64_t Want = (2 * Sum + Total) / (2 * Total);
          ASSERT_EQ(Channel(Dest.At(X, Y), C), Want)
              << S.SrcW << "x" << S.SrcH << " -> " << S.DstW << "x" << S.DstH << " at " << X
              << "," << Y;
        }
  }
}

TEST(Resample, RoundedWeightsStayWithinOneLevelOfTheAreaMean) {
  // Reduced denominators beyond what the weights hold exactly, on either axis.
  const TSizes Cases[] = {{521, 263, 97, 89}, {16411, 3, 3, 2}, {2, 1031, 1, 3}};
  for (const TSizes& S : Cases) {
    TPixelBuffer Src = RandomPicture(S.SrcW, S.SrcH, 31);
    const TPixelBuffer Dest = Resampled(Src, S.DstW, S.DstH);
    const auto WX = AreaWeights(S.SrcW, S.DstW), WY = AreaWeights(S.SrcH, S.DstH);
    for (int C = 0; C < 3; ++C) {
      // Separable exact reference: rows first, then columns.
      std::vector<double> Mid(static_cast<std::size_t>(S.SrcH) * S.DstW, 0.0);
      for (int J = 0; J < S.SrcH; ++J)
        for (int X = 0; X < S.DstW; ++X)
          for (int I = 0; I < S.SrcW; ++I)
            Mid[J * S.DstW + X] += static_cast<double>(WX[X][I]) / S.SrcW * Channel(Src.At(I, J), C);
      for (int Y = 0; Y < S.DstH; ++Y)
        for (int X = 0; X < S.DstW; ++X) {
          double Want = 0;
          for (int J = 0; J < S.SrcH; ++J) Want += static_cast<double>(WY[Y][J]) / S.SrcH * Mid[J * S.DstW + X];
          ASSERT_NEAR(Channel(Dest.At(X, Y), C), Want, 1.0)
              << S.SrcW << "x" << S.SrcH << " -> " << S.DstW << "x" << S.DstH << " at " << X << "," << Y;
        }
    }
  }
}

double VarianceOfChannel(const TPixelBuffer& Picture, int C) {
  const double Mean = MeanOfChannel(Picture, C);
  double Sum = 0;
  for (std::uint32_t P : Picture.Data) Sum += (Channel(P, C) - Mean) * (Channel(P, C) - Mean);
  return Sum / static_cast<double>(Picture.Data.size());
}

// The share of the variance of independent noise that survives one axis: a
// destination pixel that is the mean of sources with weights w keeps sum(w^2)
// of it. Shrinking, the weights are the exact footprint overlaps; enlarging,
// a pixel lies between two source pixels and keeps between a half (midway)
// and all (on a centre) of it.
struct TVarianceShare {
  double Low, High;
};
TVarianceShare AxisVarianceShare(int Src, int Dst) {
  if (Dst > Src) return {0.5, 1.0};
  const auto W = AreaWeights(Src, Dst);
  double Sum = 0;
  for (const auto& Row : W)
    for (std::int64_t Weight : Row) Sum += static_cast<double>(Weight) * Weight / (double{1.0} * Src * Src);
  return {Sum / Dst, Sum / Dst};
}

TEST(Resample, NoiseKeepsItsMeanAndLosesTheVarianceAreaAveragingTakes) {
  std::mt19937 Rng(99);
  auto Pick = [&](int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(Rng); };
  int Shrunk = 0;
  for (int I = 0; I < 40; ++I) {
    const int SW = Pick(20, 700), SH = Pick(20, 700);
    const int DW = Pick(8, 2 * SW), DH = Pick(8, 2 * SH);
    TPixelBuffer Src = RandomPicture(SW, SH, I);
    const TPixelBuffer Dest = Resampled(Src, DW, DH);
    const TVarianceShare X = AxisVarianceShare(SW, DW), Y = AxisVarianceShare(SH, DH);
    // Sampling error of a variance over n independent values: about
    // sqrt(2 / n) of it; destination pixels made from the same source pixels
    // are not independent, so n counts the source pixels they draw on.
    const double Independent = double{1.0} * std::min(SW, DW) * std::min(SH, DH);
    const double Slack = 4 * std::sqrt(2 / Independent);
    if (DW < SW && DH < SH) ++Shrunk;
    for (int C = 0; C < 3; ++C) {
      ASSERT_NEAR(MeanOfChannel(Dest, C), MeanOfChannel(Src, C), 1.0)
          << SW << "x" << SH << " -> " << DW << "x" << DH;
      const double Before = VarianceOfChannel(Src, C), After = VarianceOfChannel(Dest, C);
      // The final rounding adds the variance of an even error over one level.
      const double Rounding = 1.0 / 12;
      EXPECT_GE(After, Before * X.Low * Y.Low * (1 - Slack))
          << SW << "x" << SH << " -> " << DW << "x" << DH << " channel " << C;
      EXPECT_LE(After, Before * X.High * Y.High * (1 + Slack) + Rounding)
          << SW << "x" << SH << " -> " << DW << "x" << DH << " channel " << C;
    }
  }
  EXPECT_GE(Shrunk, 5) << "sizes that shrink both axes are drawn";
}

TEST(Resample, EnlargingKeepsEdgesAndIsSymmetric) {
  TPixelBuffer Src(2, 1);
  Src.Data = {0x00000000, 0x00FFFFFF};
  for (int W : {3, 8, 11, 64}) {
    const TPixelBuffer Dest = Resampled(Src, W, 5);
    for (int Y = 0; Y < 5; ++Y) {
      EXPECT_EQ(Dest.At(0, Y), 0u) << W;
      EXPECT_EQ(Dest.At(W - 1, Y), 0x00FFFFFFu) << W;
      for (int X = 0; X < W; ++X) {
        if (X > 0) {
          EXPECT_GE(Dest.At(X, Y) & 0xFF, Dest.At(X - 1, Y) & 0xFF);
        }
        const int Mirror = (Dest.At(W - 1 - X, Y) & 0xFF);
        EXPECT_NEAR(static_cast<int>(Dest.At(X, Y) & 0xFF) + Mirror, 255, 1) << W << " at " << X;
      }
    }
  }
  // Corners of an enlarged picture are its own corner pixels.
  TPixelBuffer Corners = RandomPicture(3, 4, 5);
  const TPixelBuffer Big = Resampled(Corners, 10, 13);
  EXPECT_EQ(Big.At(0, 0), Corners.At(0, 0) & 0x00FFFFFF);
  EXPECT_EQ(Big.At(9, 0), Corners.At(2, 0) & 0x00FFFFFF);
  EXPECT_EQ(Big.At(0, 12), Corners.At(0, 3) & 0x00FFFFFF);
  EXPECT_EQ(Big.At(9, 12), Corners.At(2, 3) & 0x00FFFFFF);
}

TEST(Resample, ScalarAndSimdPathsAgree) {
  std::uint32_t Seed = 500;
  for (const TSizes& S : SizeCases) {
    TPixelBuffer Src = RandomPicture(S.SrcW, S.SrcH, Seed++);
    TPixelBuffer Fast(S.DstW, S.DstH, 1), Slow(S.DstW, S.DstH, 2);
    Resample(Src.View(), Fast.View());
    ResampleScalar(Src.View(), Slow.View());
    ASSERT_EQ(Fast.Data, Slow.Data) << S.SrcW << "x" << S.SrcH << " -> " << S.DstW << "x" << S.DstH;
  }
}

TEST(Resample, SubViewWritesOnlyItsRectangle) {
  TPixelBuffer Src = RandomPicture(50, 40, 8);
  const std::uint32_t Sentinel = 0xA5A5A5A5;
  TPixelBuffer Frame(31, 23, Sentinel);
  const TPixelView Inner = Frame.View().Sub(4, 3, 21, 17);
  Resample(Src.View(), Inner);
  for (int Y = 0; Y < Frame.Height; ++Y)
    for (int X = 0; X < Frame.Width; ++X) {
      const bool Inside = X >= 4 && X < 25 && Y >= 3 && Y < 20;
      if (Inside) ASSERT_EQ(Frame.At(X, Y) >> 24, 0u) << X << "," << Y;
      else ASSERT_EQ(Frame.At(X, Y), Sentinel) << X << "," << Y;
    }
}

TEST(Resample, SameSizeCopiesExactly) {
  for (const auto& [W, H] : {std::pair{1, 1}, std::pair{7, 3}, std::pair{64, 65}}) {
    TPixelBuffer Src = RandomPicture(W, H, W);
    const TPixelBuffer Dest = Resampled(Src, W, H);
    for (std::size_t I = 0; I < Src.Data.size(); ++I) ASSERT_EQ(Dest.Data[I], Src.Data[I] & 0x00FFFFFF);
  }
}

TEST(Resample, EmptySourceOrDestinationDoesNothing) {
  TPixelBuffer Src = RandomPicture(4, 4, 3);
  TPixelBuffer Dest(4, 4, 0x11223344);
  Resample(Src.View().Sub(0, 0, 0, 4), Dest.View());
  Resample(Src.View().Sub(0, 0, 4, 0), Dest.View());
  for (std::uint32_t P : Dest.Data) ASSERT_EQ(P, 0x11223344u);
  Resample(Src.View(), Dest.View().Sub(0, 0, 0, 2));  // must not crash or write
  for (std::uint32_t P : Dest.Data) ASSERT_EQ(P, 0x11223344u);
}

}  // namespace

namespace {

// Feeds Src to the resampler in strips of the given sizes (cycled), as a
// decoder would: asking for rows, writing them, reporting fewer than asked
// at times.
void Stream(TStreamResampler& Resampler, const TPixelBuffer& Src, const TPixelView& Dest,
            const std::vector<int>& Strips) {
  Resampler.Start(Src.Width, Src.Height, Dest);
  std::uint32_t* Rows[TStreamResampler::StripRows];
  int Next = 0;
  for (std::size_t I = 0; Next < Src.Height; ++I) {
    const int Asked = Resampler.NextRows(Rows, Strips[I % Strips.size()]);
    ASSERT_GE(Asked, 1);
    const int Written = std::max(1, Asked - static_cast<int>(I % 2));  // now and then one short
    for (int R = 0; R < Written; ++R)
      std::copy_n(&Src.Data[static_cast<std::size_t>(Next + R) * Src.Width], Src.Width, Rows[R]);
    Next += Written;
    Resampler.RowsWritten(Written);
  }
  std::uint32_t* None[1];
  EXPECT_EQ(Resampler.NextRows(None, 1), 0) << "no rows beyond the source";
  EXPECT_TRUE(Resampler.Finished());
}

TEST(StreamResampler, GivesTheBitsOfTheWholePictureResampler) {
  const std::vector<std::vector<int>> StripPlans = {{16}, {1}, {3, 7, 16, 2}};
  TStreamResampler Resampler;  // one object for every case: its ring is reused
  std::uint32_t Seed = 900;
  for (const TSizes& S : SizeCases)
    for (const auto& Strips : StripPlans) {
      TPixelBuffer Src = RandomPicture(S.SrcW, S.SrcH, Seed++);
      const TPixelBuffer Want = Resampled(Src, S.DstW, S.DstH);
      // Into a sub-rectangle of a larger frame, which must stay untouched
      // around it.
      TPixelBuffer Frame(S.DstW + 3, S.DstH + 2, 0xA5A5A5A5);
      Stream(Resampler, Src, Frame.View().Sub(2, 1, S.DstW, S.DstH), Strips);
      for (int Y = 0; Y < Frame.Height; ++Y)
        for (int X = 0; X < Frame.Width; ++X) {
          const bool Inside = X >= 2 && X < 2 + S.DstW && Y >= 1 && Y < 1 + S.DstH;
          ASSERT_EQ(Frame.At(X, Y), Inside ? Want.At(X - 2, Y - 1) : 0xA5A5A5A5)
              << S.SrcW << "x" << S.SrcH << " -> " << S.DstW << "x" << S.DstH << " at " << X << "," << Y
              << " strips of " << Strips[0];
        }
    }
}

TEST(StreamResampler, HoldsRowsForOneDestinationRowAndAStripNotThePicture) {
  TStreamResampler Resampler;
  TPixelBuffer Dest(1440, 1080);
  Resampler.Start(4000, 3000, Dest.View());  // up to 4 source rows per destination row
  EXPECT_LE(Resampler.BufferBytes(), (4 + TStreamResampler::StripRows) * 4000u * 4 + 200000);
  EXPECT_FALSE(Resampler.Finished());
  std::uint32_t* Rows[1];
  Resampler.Start(0, 10, Dest.View());
  EXPECT_EQ(Resampler.NextRows(Rows, 1), 0) << "nothing to do for an empty source";
}

}  // namespace
