// The resampler: the SSE2 path gives the scalar path's bits, nothing outside
// the destination rectangle is touched, every destination pixel is written
// with a high byte of 0, and a flat picture stays flat.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "core/Resample.h"
#include "fuzz/FuzzCheck.h"

namespace {

constexpr std::uint32_t Guard = 0xA5C3E1F0;

// A destination of W x H inside a frame of guard pixels, 3 wide.
struct TGuarded {
  int W, H;
  std::vector<std::uint32_t> Frame;
  TGuarded(int Width, int Height)
      : W(Width), H(Height), Frame(static_cast<std::size_t>(Width + 6) * (Height + 6), Guard) {}
  TPixelView View() { return TPixelView{Frame.data() + 3 * (W + 6) + 3, W, H, W + 6}; }
  void CheckGuard() const {
    for (int Y = 0; Y < H + 6; ++Y)
      for (int X = 0; X < W + 6; ++X) {
        const std::uint32_t P = Frame[static_cast<std::size_t>(Y) * (W + 6) + X];
        const bool Inside = X >= 3 && Y >= 3 && X < W + 3 && Y < H + 3;
        FUZZ_CHECK(Inside ? (P >> 24) == 0 : P == Guard);
      }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  FuzzedDataProvider In(Data, Size);
  const int SW = In.ConsumeIntegralInRange(1, 160), SH = In.ConsumeIntegralInRange(1, 160);
  const int DW = In.ConsumeIntegralInRange(1, 160), DH = In.ConsumeIntegralInRange(1, 160);
  const bool Flat = In.ConsumeBool();
  std::vector<std::uint32_t> Src(static_cast<std::size_t>(SW) * SH);
  const std::uint32_t Colour = In.ConsumeIntegral<std::uint32_t>();
  for (std::uint32_t& P : Src) P = Flat ? Colour : In.ConsumeIntegral<std::uint32_t>();
  const TPixelView Source{Src.data(), SW, SH, SW};

  TGuarded Fast(DW, DH), Scalar(DW, DH);
  Resample(Source, Fast.View());
  ResampleScalar(Source, Scalar.View());
  Fast.CheckGuard();
  Scalar.CheckGuard();
  FUZZ_CHECK(Fast.Frame == Scalar.Frame);
  if (Flat)
    for (int Y = 0; Y < DH; ++Y)
      for (int X = 0; X < DW; ++X) FUZZ_CHECK(Fast.View().Row(Y)[X] == (Colour & 0x00FFFFFF));
  return 0;
}
