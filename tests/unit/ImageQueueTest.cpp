#include "core/ImageQueue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/RandomIndex.h"

namespace {

TImageQueue QueueOf(std::initializer_list<const char*> Entries) {
  TImageQueue Queue;
  for (const char* E : Entries) Queue.Add(E);
  return Queue;
}

TEST(ImageQueue, TakingTheFirstKeepsTheOrder) {
  TImageQueue Queue = QueueOf({"a", "b", "c"});
  EXPECT_EQ(Queue.Take(0), "a");
  EXPECT_EQ(Queue.Count(), 2u);
  EXPECT_EQ(Queue[0], "b");
  EXPECT_EQ(Queue.Take(0), "b");
  EXPECT_EQ(Queue.Take(0), "c");
  EXPECT_TRUE(Queue.Empty());
  Queue.Add("d");
  EXPECT_EQ(Queue.ToVector(), std::vector<std::string>{"d"});
}

TEST(ImageQueue, TakingAnyEntryHandsEachOutOnce) {
  TImageQueue Queue = QueueOf({"a", "b", "c", "d", "e"});
  std::vector<std::string> Taken;
  Taken.push_back(Queue.Take(3));
  Taken.push_back(Queue.Take(1));
  Taken.push_back(Queue.Take(2));
  while (!Queue.Empty()) Taken.push_back(Queue.Take(Queue.Count() - 1));
  EXPECT_EQ(Taken[0], "d");
  std::sort(Taken.begin(), Taken.end());
  EXPECT_EQ(Taken, (std::vector<std::string>{"a", "b", "c", "d", "e"}));
}

TEST(RandomIndex, StaysInRangeForEveryCount) {
  for (std::uint32_t Count : {1u, 2u, 3u, 7u, 1000u, 0x80000001u, 0xFFFFFFFFu})
    for (std::uint32_t Seed = 0; Seed < 2000; ++Seed) ASSERT_LT(RandomIndex(Seed, Count), Count);
}

// Chi-square over consecutive seeds (as consecutive clock readings give):
// the critical values are for p = 1e-6, so a sound generator fails less than
// once in a million runs.
TEST(RandomIndex, ConsecutiveSeedsAreUniform) {
  const struct {
    std::uint32_t Count;
    double Critical;  // chi-square, Count - 1 degrees of freedom, p = 1e-6
  } Cases[] = {{2, 23.93}, {3, 27.63}, {10, 45.32}, {37, 83.48}};
  for (const auto& C : Cases) {
    const int Draws = 200000;
    std::vector<int> Seen(C.Count);
    for (int I = 0; I < Draws; ++I) ++Seen[RandomIndex(0x12345678u + static_cast<std::uint32_t>(I), C.Count)];
    const double Expected = static_cast<double>(Draws) / C.Count;
    double Chi = 0;
    for (int S : Seen) Chi += (S - Expected) * (S - Expected) / Expected;
    EXPECT_LT(Chi, C.Critical) << "count " << C.Count;
  }
}

}  // namespace
