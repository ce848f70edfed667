// Cost of one pick of the next picture (TGroupPictures::Next) over a whole
// pass, for a group of 1,000 and of 100,000 pictures, in list order, at
// random and mixing folders. A pick that shifted its entries would cost about
// 100 times more on the larger group; the ratio printed should stay near 1
// (target: at most 2).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/win/BenchWindows.h"
#include "picture/GroupPictures.h"
#include "settings/Settings.h"

using namespace Bench;

namespace {

// Nanoseconds per pick over one pass of Count pictures in 100 folders (the
// first pick, which begins the pass, not counted); best of a few runs.
double NanosecondsPerCall(TSettings& Settings, int Count, bool Random, bool Mix) {
  const std::atomic<bool> Never{false};
  double Best = 1e30;
  for (int Run = 0; Run < 5; ++Run) {
    Settings.ImageQueue.Clear();
    for (int I = 0; I < Count; ++I)
      Settings.ImageQueue.Add("C:\\Pictures\\Holiday " + std::to_string(I % 100) + "\\picture" + std::to_string(I) +
                              ".jpg");
    Settings.GroupImageCount = 0;  // so the end of the pass reads nothing
    Settings.RandomOrder = Random;
    Settings.MixFoldersEvenly = Mix;
    TGroupPictures Pictures(std::string{});
    Pictures.Next(Settings, Never);
    const double Start = Seconds();
    for (int I = 1; I < Count; ++I) Pictures.Next(Settings, Never);
    Best = std::min(Best, (Seconds() - Start) * 1e9 / (Count - 1));
  }
  return Best;
}

}  // namespace

int main() {
  TSettings Settings;
  const struct {
    const char* Name;
    bool Random, Mix;
  } Orders[] = {{"list order:", false, false}, {"random:", true, false}, {"mixed:", true, true}};
  for (const auto& Order : Orders) {
    const double Small = NanosecondsPerCall(Settings, 1000, Order.Random, Order.Mix);
    const double Large = NanosecondsPerCall(Settings, 100000, Order.Random, Order.Mix);
    std::printf("%-11s 1,000 entries: %8.1f ns/call   100,000 entries: %8.1f ns/call   ratio %.2f (target <= 2)\n",
                Order.Name, Small, Large, Large / Small);
  }
  return 0;
}
