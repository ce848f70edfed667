// The JPEG decoder at full size: a header it accepts keeps the limits, and
// decoding writes every pixel of the picture (white ones after a failure)
// and nothing around it. The decoder object is reused from input to input,
// as a loader may reuse it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/JpegDecoder.h"
#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  static TJpegDecoder Decoder;
  if (!Decoder.ReadHeader(Data, Size)) return 0;
  const int W = Decoder.Width(), H = Decoder.Height();
  const std::uint64_t Pixels = static_cast<std::uint64_t>(W) * H;
  FUZZ_CHECK(W > 0 && H > 0 && W <= 65535 && H <= 65535 && Pixels * 4 <= 512ull << 20);
  FUZZ_CHECK(Pixels <= JpegEntropyCodedBytes(Data, Size) * 8 * 64);
  if (Pixels > (1u << 22)) return 0;  // the fuzzer's memory; the streamed target covers these

  // Decoded pixels have a high byte of 0 or 0xFF; the guard has neither.
  constexpr std::uint32_t Guard = 0xA5C3E1F0;
  std::vector<std::uint32_t> Frame(static_cast<std::size_t>(W + 2) * (H + 2), Guard);
  const TPixelView Whole{Frame.data(), W + 2, H + 2, W + 2};
  const bool Decoded = Decoder.Decode(Whole.Sub(1, 1, W, H));
  for (int Y = 0; Y < H + 2; ++Y)
    for (int X = 0; X < W + 2; ++X) {
      const std::uint32_t P = Whole.Row(Y)[X];
      if (X < 1 || Y < 1 || X > W || Y > H)
        FUZZ_CHECK(P == Guard);
      else if (Decoded)
        FUZZ_CHECK((P >> 24) == 0 || (P >> 24) == 0xFF);
      else
        FUZZ_CHECK(P == 0x00FFFFFF);
    }
  return 0;
}
