#include "core/ExifOrientation.h"

#include <cstring>

namespace {

constexpr std::uint16_t OrientationTag = 0x0112;
constexpr std::uint16_t TypeShort = 3;
constexpr std::size_t TiffHeaderSize = 8;
constexpr std::size_t IfdEntrySize = 12;

constexpr std::uint8_t MarkerSos = 0xDA;
constexpr std::uint8_t MarkerEoi = 0xD9;
constexpr std::uint8_t MarkerApp1 = 0xE1;
constexpr char ExifSignature[6] = {'E', 'x', 'i', 'f', '\0', '\0'};

// Reads of a TIFF block in its byte order; callers check the bounds.
struct TTiffReader {
  const std::uint8_t* Data;
  bool BigEndian;

  std::uint32_t U16(std::size_t At) const {
    const std::uint32_t A = Data[At], B = Data[At + 1];
    return BigEndian ? A << 8 | B : B << 8 | A;
  }
  std::uint32_t U32(std::size_t At) const {
    const std::uint32_t A = U16(At), B = U16(At + 2);
    return BigEndian ? A << 16 | B : B << 16 | A;
  }
};

}  // namespace

int TiffOrientation(const std::uint8_t* Tiff, std::size_t Size) {
  if (Tiff == nullptr || Size < TiffHeaderSize) return 1;
  bool BigEndian;
  if (Tiff[0] == 'I' && Tiff[1] == 'I')
    BigEndian = false;
  else if (Tiff[0] == 'M' && Tiff[1] == 'M')
    BigEndian = true;
  else
    return 1;
  const TTiffReader Read{Tiff, BigEndian};
  if (Read.U16(2) != 42) return 1;

  // 64-bit sums: an offset near 4 GiB must not wrap a 32-bit size_t.
  const std::uint64_t Ifd = Read.U32(4);
  if (Ifd < TiffHeaderSize || Ifd + 2 > Size) return 1;
  const std::uint32_t Count = Read.U16(static_cast<std::size_t>(Ifd));
  if (Ifd + 2 + IfdEntrySize * Count > Size) return 1;

  for (std::uint32_t I = 0; I < Count; ++I) {
    const std::size_t Entry = static_cast<std::size_t>(Ifd) + 2 + IfdEntrySize * I;
    if (Read.U16(Entry) != OrientationTag) continue;
    if (Read.U16(Entry + 2) != TypeShort || Read.U32(Entry + 4) != 1) return 1;
    const std::uint32_t Value = Read.U16(Entry + 8);  // a lone SHORT sits at the start of the field
    return Value >= 1 && Value <= 8 ? static_cast<int>(Value) : 1;
  }
  return 1;
}

int JpegExifOrientation(const std::uint8_t* Data, std::size_t Size) {
  if (Data == nullptr || Size < 4 || Data[0] != 0xFF || Data[1] != 0xD8) return 1;
  std::size_t P = 2;
  for (;;) {
    // A marker: 0xFF, any number of 0xFF fill bytes, the marker code. Stray
    // bytes before it are skipped, as the decoder skips them.
    while (P < Size && Data[P] != 0xFF) ++P;
    while (P < Size && Data[P] == 0xFF) ++P;
    if (P >= Size) return 1;
    const std::uint8_t Marker = Data[P++];
    if (Marker == MarkerSos || Marker == MarkerEoi || Marker == 0x00 || Marker == 0xD8) return 1;
    if (Marker == 0x01 || (Marker >= 0xD0 && Marker <= 0xD7)) continue;  // standalone, no length

    if (Size - P < 2) return 1;
    const std::size_t Length = static_cast<std::size_t>(Data[P]) << 8 | Data[P + 1];
    if (Length < 2 || Length > Size - P) return 1;
    const std::uint8_t* Payload = Data + P + 2;
    const std::size_t PayloadSize = Length - 2;
    if (Marker == MarkerApp1 && PayloadSize >= sizeof ExifSignature &&
        std::memcmp(Payload, ExifSignature, sizeof ExifSignature) == 0)
      return TiffOrientation(Payload + sizeof ExifSignature, PayloadSize - sizeof ExifSignature);
    P += Length;
  }
}
