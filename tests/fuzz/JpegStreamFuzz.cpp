// The streamed JPEG path: any picture decoded into any destination size at
// the scale the loader would choose, its rows streamed through a resampler
// that lives from input to input. Every destination pixel is written and
// nothing around it; a second decode of the same file gives the same pixels.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/FittedJpeg.h"
#include "core/JpegDecoder.h"
#include "core/Resample.h"
#include "fuzz/FuzzCheck.h"

namespace {

constexpr std::uint32_t Guard = 0xA5C3E1F0;

std::vector<std::uint32_t> DecodeInto(const std::uint8_t* Data, std::size_t Size, int W, int H,
                                      TStreamResampler& Resampler, bool& Decoded) {
  std::vector<std::uint32_t> Frame(static_cast<std::size_t>(W + 2) * (H + 2), Guard);
  TJpegDecoder Decoder;
  Decoded = false;
  if (!Decoder.ReadHeader(Data, Size)) return Frame;
  const TPixelView Whole{Frame.data(), W + 2, H + 2, W + 2};
  try {
    Decoded = DecodeJpegInto(Decoder, Whole.Sub(1, 1, W, H), Resampler);
  } catch (const std::bad_alloc&) {
    // Allowed before anything is written: the frame must still be all guard.
    for (std::uint32_t P : Frame) FUZZ_CHECK(P == Guard);
    return Frame;
  }
  for (int Y = 0; Y < H + 2; ++Y)
    for (int X = 0; X < W + 2; ++X) {
      const std::uint32_t P = Whole.Row(Y)[X];
      const bool Inside = X >= 1 && Y >= 1 && X <= W && Y <= H;
      FUZZ_CHECK(Inside ? P != Guard : P == Guard);
      if (Inside && !Decoded) FUZZ_CHECK((P & 0x00FFFFFF) == 0x00FFFFFF);
    }
  return Frame;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  static TStreamResampler Resampler;
  if (Size < 4) return 0;
  const int W = 1 + (Data[0] | Data[1] << 8) % 300;
  const int H = 1 + (Data[2] | Data[3] << 8) % 300;
  bool First = false, Second = false;
  const std::vector<std::uint32_t> A = DecodeInto(Data + 4, Size - 4, W, H, Resampler, First);
  const std::vector<std::uint32_t> B = DecodeInto(Data + 4, Size - 4, W, H, Resampler, Second);
  FUZZ_CHECK(First == Second);
  FUZZ_CHECK(A == B);
  return 0;
}
