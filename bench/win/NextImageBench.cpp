// Cost of one NextImage call over a whole pass, for a group of 1,000 and of
// 100,000 pictures, in list order and at random. A queue that shifted its
// entries on every call would cost about 100 times more per call on the
// larger group; the ratio printed should stay near 1 (target: at most 2).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/win/BenchWindows.h"
#include "settings/Settings.h"

using namespace Bench;

namespace {

// Nanoseconds per call over one pass of Count entries; best of a few runs.
double NanosecondsPerCall(TSettings& Settings, int Count, bool Random) {
  double Best = 1e30;
  for (int Run = 0; Run < 5; ++Run) {
    Settings.ImageQueue.Clear();
    for (int I = 0; I < Count; ++I) Settings.ImageQueue.Add("C:\\Pictures\\Holiday\\picture" + std::to_string(I) + ".jpg");
    Settings.GroupImageCount = 0;  // so the end of the pass reads nothing
    Settings.RandomOrder = Random;
    const double Start = Seconds();
    for (int I = 0; I < Count; ++I) Settings.NextImage();
    Best = std::min(Best, (Seconds() - Start) * 1e9 / Count);
  }
  return Best;
}

}  // namespace

int main() {
  TSettings Settings;
  for (const bool Random : {false, true}) {
    const double Small = NanosecondsPerCall(Settings, 1000, Random);
    const double Large = NanosecondsPerCall(Settings, 100000, Random);
    std::printf("%-11s 1,000 entries: %8.1f ns/call   100,000 entries: %8.1f ns/call   ratio %.2f (target <= 2)\n",
                Random ? "random:" : "list order:", Small, Large, Large / Small);
  }
  return 0;
}
