#include "core/JpegFrameSize.h"

TJpegFrameSize JpegFrameSize(const std::uint8_t* Data, std::size_t Size) {
  if (Data == nullptr || Size < 4 || Data[0] != 0xFF || Data[1] != 0xD8) return {};
  std::size_t P = 2;
  for (;;) {
    // A marker: 0xFF, fill bytes, the code; stray bytes before it skipped.
    while (P < Size && Data[P] != 0xFF) ++P;
    while (P < Size && Data[P] == 0xFF) ++P;
    if (P >= Size) return {};
    const std::uint8_t Marker = Data[P++];
    if (Marker == 0xDA || Marker == 0xD9 || Marker == 0x00 || Marker == 0xD8) return {};
    if (Marker == 0x01 || (Marker >= 0xD0 && Marker <= 0xD7)) continue;  // standalone, no length
    if (Size - P < 2) return {};
    const std::size_t Length = static_cast<std::size_t>(Data[P]) << 8 | Data[P + 1];
    if (Length < 2 || Length > Size - P) return {};
    const bool Frame = Marker >= 0xC0 && Marker <= 0xCF && Marker != 0xC4 && Marker != 0xC8 && Marker != 0xCC;
    if (Frame) {
      // Length, precision, height, width.
      if (Length < 7) return {};
      const std::uint32_t Height = static_cast<std::uint32_t>(Data[P + 3]) << 8 | Data[P + 4];
      const std::uint32_t Width = static_cast<std::uint32_t>(Data[P + 5]) << 8 | Data[P + 6];
      if (Width == 0 || Height == 0) return {};
      return {Width, Height};
    }
    P += Length;
  }
}
