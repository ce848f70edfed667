#include "core/TiffStructure.h"

#include <cstring>

#include "core/JpegSegments.h"

namespace {

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
  TExifSegment Found{};
  ForEachJpegSegment(Data, Size, [&Found](const TJpegSegment& S) {
    if (S.Marker != MarkerApp1 || S.Size < sizeof ExifSignature ||
        std::memcmp(S.Payload, ExifSignature, sizeof ExifSignature) != 0)
      return false;
    Found = {S.Payload + sizeof ExifSignature, S.Size - sizeof ExifSignature};
    return true;
  });
  return Found;
}
