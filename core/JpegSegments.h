#pragma once
// The segments of a JPEG file's header, walked from SOI up to the first scan
// and never into entropy-coded data. Portable; nothing is allocated; every
// read stays inside the bytes given, so the head of a file is enough.
#include <cstddef>
#include <cstdint>

struct TJpegSegment {
  std::uint8_t Marker;
  const std::uint8_t* Payload;  // after the segment's length, inside the bytes given
  std::size_t Size;
};

// Hands each segment that has a length to Visit (bool(const TJpegSegment&))
// in file order until Visit answers true, and answers whether it did: false
// at the first scan or the end of the image, and when the bytes are not a
// JPEG file's, break off or hold a length that does not fit. A marker may be
// preceded by fill bytes (0xFF) and by stray bytes, as the decoder reads it.
template <typename TVisit>
bool ForEachJpegSegment(const std::uint8_t* Data, std::size_t Size, TVisit&& Visit) {
  if (Data == nullptr || Size < 4 || Data[0] != 0xFF || Data[1] != 0xD8) return false;
  std::size_t P = 2;
  for (;;) {
    while (P < Size && Data[P] != 0xFF) ++P;
    while (P < Size && Data[P] == 0xFF) ++P;
    if (P >= Size) return false;
    const std::uint8_t Marker = Data[P++];
    if (Marker == 0xDA || Marker == 0xD9 || Marker == 0x00 || Marker == 0xD8) return false;  // SOS, EOI, none, SOI
    if (Marker == 0x01 || (Marker >= 0xD0 && Marker <= 0xD7)) continue;  // standalone, no length
    if (Size - P < 2) return false;
    const std::size_t Length = static_cast<std::size_t>(Data[P]) << 8 | Data[P + 1];
    if (Length < 2 || Length > Size - P) return false;
    if (Visit(TJpegSegment{Marker, Data + P + 2, Length - 2})) return true;
    P += Length;
  }
}
