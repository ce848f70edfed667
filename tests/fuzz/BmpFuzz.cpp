// The BMP reader: whatever the bytes, a header it accepts keeps the size
// limits, decoding it writes every pixel of the picture and nothing around
// it, and the picture survives a round trip through the writer.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/BmpCodec.h"
#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TBmpInfo Info;
  if (!ReadBmpInfo(Data, Size, Info)) return 0;
  const std::uint64_t Pixels = static_cast<std::uint64_t>(Info.Width) * Info.Height;
  FUZZ_CHECK(Info.Width > 0 && Info.Height > 0 && Info.Width <= 65535 && Info.Height <= 65535);
  FUZZ_CHECK(Pixels * 4 <= 512ull * 1024 * 1024);
  FUZZ_CHECK(Info.PixelOffset <= Size);
  if (Info.Compression == BmpRle8 || Info.Compression == BmpRle4)
    FUZZ_CHECK(Pixels <= 128 * static_cast<std::uint64_t>(Size - Info.PixelOffset));
  else
    FUZZ_CHECK(Pixels <= 8 * static_cast<std::uint64_t>(Size - Info.PixelOffset));

  // The picture inside a frame of guard pixels; the guard's high byte is not
  // 0, which no decoded pixel has.
  constexpr std::uint32_t Guard = 0xA5C3E1F0;
  const int W = Info.Width, H = Info.Height;
  std::vector<std::uint32_t> Frame(static_cast<std::size_t>(W + 2) * (H + 2), Guard);
  const TPixelView Whole{Frame.data(), W + 2, H + 2, W + 2};
  const TPixelView Picture = Whole.Sub(1, 1, W, H);
  FUZZ_CHECK(DecodeBmp(Data, Size, Info, Picture));
  for (int Y = 0; Y < H + 2; ++Y)
    for (int X = 0; X < W + 2; ++X) {
      const std::uint32_t P = Whole.Row(Y)[X];
      const bool Inside = X >= 1 && Y >= 1 && X <= W && Y <= H;
      FUZZ_CHECK(Inside ? (P >> 24) == 0 : P == Guard);
    }

  const std::vector<std::uint8_t> Copy = EncodeBmp(Picture, 32);
  TBmpInfo Again;
  FUZZ_CHECK(ReadBmpInfo(Copy.data(), Copy.size(), Again));
  FUZZ_CHECK(Again.Width == W && Again.Height == H);
  std::vector<std::uint32_t> Back(static_cast<std::size_t>(W) * H, Guard);
  FUZZ_CHECK(DecodeBmp(Copy.data(), Copy.size(), Again, TPixelView{Back.data(), W, H, W}));
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) FUZZ_CHECK(Back[static_cast<std::size_t>(Y) * W + X] == Picture.Row(Y)[X]);
  return 0;
}
