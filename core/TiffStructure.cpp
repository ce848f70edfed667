#include "core/TiffStructure.h"

#include <cstring>

namespace {

constexpr std::uint8_t MarkerSos = 0xDA;
constexpr std::uint8_t MarkerEoi = 0xD9;
constexpr std::uint8_t MarkerApp1 = 0xE1;
constexpr char ExifSignature[6] = {'E', 'x', 'i', 'f', '\0', '\0'};

}  // namespace

TTiffBlock::TTiffBlock(const std::uint8_t* Tiff, std::size_t Size) {
  if (Tiff == nullptr || Size < TiffHeaderSize) return;
  if (Tiff[0] == 'I' && Tiff[1] == 'I')
    BigEndian = false;
  else if (Tiff[0] == 'M' && Tiff[1] == 'M')
    BigEndian = true;
  else
    return;
  Data = Tiff;
  Length = Size;
  if (U16(2) != 42) {
    Data = nullptr;
    Length = 0;
  }
}

std::uint32_t TTiffBlock::U16(std::size_t Offset) const {
  const std::uint32_t A = Data[Offset], B = Data[Offset + 1];
  return BigEndian ? A << 8 | B : B << 8 | A;
}

std::uint32_t TTiffBlock::U32(std::size_t Offset) const {
  const std::uint32_t A = U16(Offset), B = U16(Offset + 2);
  return BigEndian ? A << 16 | B : B << 16 | A;
}

std::size_t TTiffBlock::FindEntry(std::uint64_t IfdOffset, std::uint16_t Tag) const {
  if (!Valid() || IfdOffset < TiffHeaderSize || !Holds(IfdOffset, 2)) return 0;
  const auto Ifd = static_cast<std::size_t>(IfdOffset);
  const std::uint32_t Entries = U16(Ifd);
  if (!Holds(Ifd + 2, std::uint64_t{TiffEntrySize} * Entries)) return 0;
  for (std::uint32_t I = 0; I < Entries; ++I) {
    const std::size_t Entry = Ifd + 2 + TiffEntrySize * I;
    if (U16(Entry) == Tag) return Entry;
  }
  return 0;
}

TExifSegment FindJpegExif(const std::uint8_t* Data, std::size_t Size) {
  if (Data == nullptr || Size < 4 || Data[0] != 0xFF || Data[1] != 0xD8) return {};
  std::size_t P = 2;
  for (;;) {
    // A marker: 0xFF, any number of 0xFF fill bytes, the marker code. Stray
    // bytes before it are skipped, as the decoder skips them.
    while (P < Size && Data[P] != 0xFF) ++P;
    while (P < Size && Data[P] == 0xFF) ++P;
    if (P >= Size) return {};
    const std::uint8_t Marker = Data[P++];
    if (Marker == MarkerSos || Marker == MarkerEoi || Marker == 0x00 || Marker == 0xD8) return {};
    if (Marker == 0x01 || (Marker >= 0xD0 && Marker <= 0xD7)) continue;  // standalone, no length

    if (Size - P < 2) return {};
    const std::size_t Length = static_cast<std::size_t>(Data[P]) << 8 | Data[P + 1];
    if (Length < 2 || Length > Size - P) return {};
    const std::uint8_t* Payload = Data + P + 2;
    const std::size_t PayloadSize = Length - 2;
    if (Marker == MarkerApp1 && PayloadSize >= sizeof ExifSignature &&
        std::memcmp(Payload, ExifSignature, sizeof ExifSignature) == 0)
      return {Payload + sizeof ExifSignature, PayloadSize - sizeof ExifSignature};
    P += Length;
  }
}
