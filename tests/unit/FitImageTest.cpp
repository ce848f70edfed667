#include "core/FitImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

namespace {

struct TFitCase {
  int AreaW, AreaH;
  bool KeepAspect;
  double Factor;
  int W, H;            // picture
  int WantW, WantH;    // drawn size
};

const TFitCase FitCases[] = {
    {800, 600, true, 1.0, 1600, 1200, 800, 600},
    {800, 600, false, 1.0, 1600, 1200, 800, 600},
    {800, 600, true, 1.0, 2000, 1000, 800, 400},
    {800, 600, true, 1.0, 1000, 2000, 300, 600},
    {800, 600, true, 1.0, 1000, 300, 800, 240},
    {800, 600, false, 1.0, 1000, 300, 800, 600},
    {800, 600, true, 1.0, 1358, 734, 799, 432},
    {800, 600, true, 1.0, 1000, 800, 750, 600},
    {800, 600, true, 1.0, 280, 980, 171, 598},
    {1024, 768, true, 2.0, 1113, 742, 1023, 682},
    {800, 600, true, 1.0, 100, 50, 100, 50},
    {800, 600, true, 0.5, 100, 50, 100, 50},
    {800, 600, true, 3.0, 100, 50, 300, 150},
    {800, 600, false, 3.0, 100, 50, 300, 150},
    {800, 600, true, 20.0, 100, 50, 800, 400},
    {800, 600, false, 20.0, 100, 50, 800, 600},
    {800, 600, true, 2.0, 400, 600, 400, 600},
    {800, 600, false, 2.0, 400, 600, 800, 600},
    {800, 600, true, 1.2, 8, 3, 11, 4},
    {800, 600, true, 2.0, 800, 600, 800, 600},
    {217, 161, true, 1.0, 1024, 768, 215, 161},
    {800, 600, true, 1.0, 801, 1, 0, 0},
};

TEST(FitImage, ResultsTable) {
  for (const TFitCase& C : FitCases) {
    int W = C.W, H = C.H;
    FitImage(C.AreaW, C.AreaH, C.KeepAspect, C.Factor, W, H);
    EXPECT_EQ(W, C.WantW) << C.W << "x" << C.H << " into " << C.AreaW << "x" << C.AreaH
                          << " keep=" << C.KeepAspect << " factor=" << C.Factor;
    EXPECT_EQ(H, C.WantH) << C.W << "x" << C.H << " into " << C.AreaW << "x" << C.AreaH
                          << " keep=" << C.KeepAspect << " factor=" << C.Factor;
  }
}

TEST(FitImage, EmptyPictureStaysEmpty) {
  for (bool Keep : {false, true})
    for (double Factor : {0.5, 1.0, 3.0})
      for (int Area : {1, 600, 4000}) {
        int W = 0, H = 0;
        FitImage(Area, Area / 2 + 1, Keep, Factor, W, H);
        EXPECT_EQ(W, 0);
        EXPECT_EQ(H, 0);
      }
}

TEST(FitImage, OneSideZero) {
  struct TCase {
    bool Keep;
    double Factor;
    int W, H, WantW, WantH;
  } const Cases[] = {
      // KeepAspect: no ratio, the size is left as it is.
      {true, 1.0, 0, 1000, 0, 1000},
      {true, 1.0, 1000, 0, 1000, 0},
      {true, 3.0, 0, 50, 0, 50},
      {true, 3.0, 50, 0, 50, 0},
      // Without it each side follows its own rule.
      {false, 1.0, 0, 1000, 800, 600},
      {false, 3.0, 50, 0, 150, 0},
      {false, 1.0, 50, 0, 50, 0},
  };
  for (const auto& C : Cases) {
    int W = C.W, H = C.H;
    FitImage(800, 600, C.Keep, C.Factor, W, H);
    EXPECT_EQ(W, C.WantW) << C.W << "x" << C.H << " keep=" << C.Keep;
    EXPECT_EQ(H, C.WantH) << C.W << "x" << C.H << " keep=" << C.Keep;
  }
}

TEST(FitImage, HugeFactorSaturatesInsteadOfOverflowing) {
  int W = 40000, H = 30000;
  FitImage(65535, 65535, true, 1e12, W, H);
  EXPECT_EQ(W, 65535);
  EXPECT_EQ(H, 49151);  // Round(65535 * 0.75) = Round(49151.25)
  W = 3, H = 2;
  FitImage(1000, 1000, false, 1e300, W, H);
  EXPECT_EQ(W, 1000);
  EXPECT_EQ(H, 1000);
}

TEST(FitImage, RandomSizesKeepTheRules) {
  std::mt19937 Rng(1234);
  auto Pick = [&](int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(Rng); };
  const double Factors[] = {0.25, 0.5, 1.0, 1.0, 1.3, 2.0, 3.7, 10.0};
  for (int I = 0; I < 20000; ++I) {
    const int AreaW = Pick(1, 2000), AreaH = Pick(1, 2000);
    // Mostly pictures around the area's size, some tiny and some huge.
    const int Scale = Pick(0, 3) == 0 ? 20000 : 2500;
    const int W0 = Pick(1, Scale), H0 = Pick(1, Scale);
    const bool Keep = Pick(0, 1) == 1;
    const double Factor = Factors[Pick(0, 7)];
    int W = W0, H = H0;
    FitImage(AreaW, AreaH, Keep, Factor, W, H);
    SCOPED_TRACE(testing::Message() << W0 << "x" << H0 << " into " << AreaW << "x" << AreaH
                                    << " keep=" << Keep << " factor=" << Factor << " -> " << W
                                    << "x" << H);
    ASSERT_GE(W, 0);
    ASSERT_GE(H, 0);
    ASSERT_LE(W, AreaW);
    ASSERT_LE(H, AreaH);
    const bool Fits = W0 <= AreaW && H0 <= AreaH;
    if (Fits) {
      ASSERT_GE(W, W0);  // a picture that fits is never shrunk
      ASSERT_GE(H, H0);
      if (Factor <= 1.0) {
        ASSERT_EQ(W, W0);
        ASSERT_EQ(H, H0);
      }
    }
    if (Keep && W > 0 && H > 0) {
      // The derived side is within half a pixel (plus rounding) of the ratio.
      const long long Cross = std::llabs(static_cast<long long>(W) * H0 -
                                         static_cast<long long>(H) * W0);
      ASSERT_LE(Cross, std::max(W0, H0) / 2 + 1);
    }
  }
}

}  // namespace
