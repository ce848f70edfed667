// FitImage: the drawn size fits the area, a picture that fits is never
// shrunk (and kept as it is without enlargement), and the aspect ratio holds.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "core/FitImage.h"
#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  FuzzedDataProvider In(Data, Size);
  const int AreaW = In.ConsumeIntegralInRange(1, 100000);
  const int AreaH = In.ConsumeIntegralInRange(1, 100000);
  const int W0 = In.ConsumeIntegralInRange(1, 1000000);
  const int H0 = In.ConsumeIntegralInRange(1, 1000000);
  const bool Keep = In.ConsumeBool();
  const double Factor = In.ConsumeFloatingPointInRange(0.0, 1000.0);
  int W = W0, H = H0;
  FitImage(AreaW, AreaH, Keep, Factor, W, H);
  FUZZ_CHECK(W >= 0 && H >= 0);
  FUZZ_CHECK(W <= AreaW && H <= AreaH);
  if (W0 <= AreaW && H0 <= AreaH) {
    FUZZ_CHECK(W >= W0 && H >= H0);
    if (Factor <= 1.0) FUZZ_CHECK(W == W0 && H == H0);
  }
  if (Keep && W > 0 && H > 0) {
    const long long Cross = std::llabs(static_cast<long long>(W) * H0 - static_cast<long long>(H) * W0);
    FUZZ_CHECK(Cross <= std::max(W0, H0) / 2 + 1);
  }
  return 0;
}
