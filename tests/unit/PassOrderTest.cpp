#include "core/PassOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "core/Errors.h"

namespace {

using TFolders = std::vector<std::uint32_t>;

const TPassOrder::TMode Modes[] = {TPassOrder::ListOrder, TPassOrder::Random, TPassOrder::MixFolders};

// The seed of the N-th pick: a millisecond clock read once a pick, as the
// saver reads it (fixed, so that no test depends on chance).
std::uint32_t Clock(std::uint32_t N) { return 0x00A00000u + 16u * N; }

// The rest of the pass, checking Left as it goes.
std::vector<std::uint32_t> RestOfPass(TPassOrder& Order, std::uint32_t& Pick) {
  std::vector<std::uint32_t> Taken;
  while (!Order.Empty()) {
    const std::size_t Left = Order.Left();
    Taken.push_back(Order.Next(Clock(Pick++)));
    EXPECT_EQ(Order.Left(), Left - 1);
  }
  return Taken;
}

std::vector<std::uint32_t> Sorted(std::vector<std::uint32_t> V) {
  std::sort(V.begin(), V.end());
  return V;
}

std::vector<std::uint32_t> Iota(std::size_t Count) {
  std::vector<std::uint32_t> V(Count);
  std::iota(V.begin(), V.end(), 0u);
  return V;
}

TEST(PassOrder, HandsOutEveryPictureOncePerPassInEveryMode) {
  // Folders 2, 4 and 6 hold nothing; folder 5 holds one picture.
  const TFolders FolderOf = {3, 0, 3, 3, 1, 0, 5, 3, 0, 1, 3, 3, 3, 0};
  const std::vector<std::uint32_t> All = Iota(FolderOf.size());
  for (const TPassOrder::TMode Mode : Modes) {
    SCOPED_TRACE(Mode);
    TPassOrder Order;
    std::uint32_t Pick = 0;
    Order.Begin(Mode, FolderOf, 7);
    EXPECT_EQ(Order.Left(), All.size());
    for (int Pass = 0; Pass < 3; ++Pass) {
      if (Pass > 0) Order.Restart();
      const std::vector<std::uint32_t> Taken = RestOfPass(Order, Pick);
      EXPECT_EQ(Sorted(Taken), All);
      if (Mode == TPassOrder::ListOrder) {
        EXPECT_EQ(Taken, All);
      }
    }
    // A restart in the middle of a pass starts a whole one.
    EXPECT_THROW(Order.Next(Clock(Pick)), EListError);
    Order.Restart();
    for (int I = 0; I < 5; ++I) Order.Next(Clock(Pick++));
    Order.Restart();
    EXPECT_EQ(Sorted(RestOfPass(Order, Pick)), All);

    // One folder, and nothing at all.
    Order.Begin(Mode, TFolders(9, 0), 1);
    EXPECT_EQ(Sorted(RestOfPass(Order, Pick)), Iota(9));
    Order.Begin(Mode, {}, 0);
    EXPECT_TRUE(Order.Empty());
    EXPECT_EQ(Order.Left(), 0u);
    EXPECT_THROW(Order.Next(Clock(Pick)), EListError);
    Order.Restart();
    EXPECT_TRUE(Order.Empty());
  }
}

TEST(PassOrder, RefusesAFolderOutsideTheCountAndKeepsItsPass) {
  for (const TPassOrder::TMode Mode : Modes) {
    TPassOrder Order;
    Order.Begin(Mode, {0, 1, 1}, 2);
    std::uint32_t Pick = 0;
    const std::uint32_t First = Order.Next(Clock(Pick++));
    EXPECT_THROW(Order.Begin(Mode, {0, 2}, 2), EListError);
    EXPECT_THROW(Order.Begin(Mode, {0}, 0), EListError);
    std::vector<std::uint32_t> Taken = RestOfPass(Order, Pick);
    Taken.push_back(First);
    EXPECT_EQ(Sorted(Taken), Iota(3));
  }
}

// A folder of 5,000 pictures beside one of 50: mixing folders takes about
// half of the first 100 pictures from the small one (it runs out after 50, so
// min(50, Binomial(100, 1/2)): 48.0 on average), plain random order about 1.
// 200 passes with fixed seeds; the bounds are more than 4 standard deviations
// wide.
TEST(PassOrder, MixFoldersGivesASmallFolderItsShare) {
  TFolders FolderOf(5050, 0);
  std::fill(FolderOf.begin() + 2500, FolderOf.begin() + 2550, 1u);
  for (const TPassOrder::TMode Mode : {TPassOrder::MixFolders, TPassOrder::Random}) {
    TPassOrder Order;
    Order.Begin(Mode, FolderOf, 2);
    int Total = 0;
    const int Passes = 200;
    for (int Pass = 0; Pass < Passes; ++Pass) {
      Order.Restart();
      int Small = 0;
      for (std::uint32_t I = 0; I < 100; ++I) Small += FolderOf[Order.Next(Clock(Pass * 1000u + I))];
      if (Mode == TPassOrder::MixFolders) {
        EXPECT_GE(Small, 25) << "pass " << Pass;
      }
      Total += Small;
    }
    const double Mean = static_cast<double>(Total) / Passes;
    if (Mode == TPassOrder::MixFolders) {
      EXPECT_GT(Mean, 46.5);
      EXPECT_LT(Mean, 49.5);
    } else {
      EXPECT_LT(Mean, 3.0);
    }
  }
}

double ChiSquare(const std::vector<int>& Seen, const std::vector<double>& Share) {
  int Draws = 0;
  for (int S : Seen) Draws += S;
  double Chi = 0;
  for (std::size_t I = 0; I < Seen.size(); ++I) {
    const double Expected = Draws * Share[I];
    Chi += (Seen[I] - Expected) * (Seen[I] - Expected) / Expected;
  }
  return Chi;
}

// Chi-square against the chances each mode promises, with critical values for
// p = 1e-6 (the seeds are fixed, so the outcome is too).
TEST(PassOrder, PicksFollowTheirChances) {
  // Random: any picture first, and any of those left fourth.
  TPassOrder Order;
  Order.Begin(TPassOrder::Random, TFolders(6, 0), 1);
  std::vector<int> First(6), Fourth(6);
  std::uint32_t Pick = 0;
  for (int Pass = 0; Pass < 60000; ++Pass) {
    Order.Restart();
    const std::vector<std::uint32_t> Taken = RestOfPass(Order, Pick);
    ++First[Taken[0]];
    ++Fourth[Taken[3]];
  }
  const std::vector<double> Even(6, 1.0 / 6);
  EXPECT_LT(ChiSquare(First, Even), 35.89);
  EXPECT_LT(ChiSquare(Fourth, Even), 35.89);

  // MixFolders: three pictures in folder 0, one in folder 1: each folder half
  // the time first, its pictures alike within it; once folder 1 is spent,
  // only folder 0's are left.
  Order.Begin(TPassOrder::MixFolders, {0, 1, 0, 0}, 2);
  std::vector<int> FirstMixed(4), SecondMixed(4);
  for (int Pass = 0; Pass < 60000; ++Pass) {
    Order.Restart();
    const std::vector<std::uint32_t> Taken = RestOfPass(Order, Pick);
    ++FirstMixed[Taken[0]];
    ++SecondMixed[Taken[1]];
  }
  EXPECT_LT(ChiSquare(FirstMixed, {1.0 / 6, 1.0 / 2, 1.0 / 6, 1.0 / 6}), 30.66);
  // Second: after folder 1 first (1/2), one of folder 0's three; after one
  // of folder 0 first, folder 1 half the time, else one of the other two.
  const double Zero = 0.5 / 3 + 0.5 * (2.0 / 3) * 0.5 / 2;
  EXPECT_LT(ChiSquare(SecondMixed, {Zero, 0.25, Zero, Zero}), 30.66);
}

// 100,000 pictures in 1,000 folders of very different sizes (folder K holds
// about K / 5 pictures, the first few none): a pick costs the same whatever
// the count, so two whole passes take moments even under the sanitizers.
TEST(PassOrder, PassesOverALargeGroup) {
  TFolders FolderOf(100000);
  for (std::uint32_t I = 0; I < FolderOf.size(); ++I)
    FolderOf[I] = static_cast<std::uint32_t>(std::sqrt(10.0 * I));
  for (const TPassOrder::TMode Mode : Modes) {
    TPassOrder Order;
    Order.Begin(Mode, FolderOf, 1000);
    std::uint32_t Pick = 0;
    for (int Pass = 0; Pass < 2; ++Pass) {
      Order.Restart();
      std::vector<bool> Seen(FolderOf.size());
      while (!Order.Empty()) {
        const std::uint32_t Picture = Order.Next(Clock(Pick++));
        ASSERT_FALSE(Seen[Picture]) << Picture;
        Seen[Picture] = true;
      }
      EXPECT_EQ(std::count(Seen.begin(), Seen.end(), true), 100000);
    }
  }
}

}  // namespace
