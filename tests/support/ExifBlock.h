#pragma once
// Exif metadata for tests and seed corpora: a TIFF-structured block with one
// IFD, or with IFD0 and an Exif IFD, in either byte order, and the JPEG
// segments that carry it. Portable.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ExifBlock {

using TBytes = std::vector<std::uint8_t>;

constexpr std::uint16_t TypeAscii = 2;
constexpr std::uint16_t TypeShort = 3;
constexpr std::uint16_t TypeLong = 4;
constexpr std::uint16_t OrientationTag = 0x0112;
constexpr std::uint16_t ExifIfdTag = 0x8769;
constexpr std::uint16_t DateTimeOriginalTag = 0x9003;

// One IFD entry. Value fills the 4-byte value field: SHORTs as two 16-bit
// halves (the low one first, so a lone SHORT sits at the start of the field
// as TIFF puts it), anything else as one 32-bit number. Data, for ExifTiff
// only: bytes stored after the IFDs, whose offset then fills the field.
struct TEntry {
  std::uint16_t Tag;
  std::uint16_t Type;
  std::uint32_t Count;
  std::uint32_t Value;
  std::vector<std::uint8_t> Data = {};
};

// An ASCII entry of Text and its NUL, stored after the IFDs.
inline TEntry Ascii(std::uint16_t Tag, const std::string& Text) {
  std::vector<std::uint8_t> Data(Text.begin(), Text.end());
  Data.push_back(0);
  return {Tag, TypeAscii, static_cast<std::uint32_t>(Data.size()), 0, Data};
}

// The date taken, "YYYY:MM:DD HH:MM:SS" for a valid one.
inline TEntry DateTimeOriginal(const std::string& Text) { return Ascii(DateTimeOriginalTag, Text); }

inline TEntry Orientation(std::uint32_t Value, std::uint16_t Type = TypeShort, std::uint32_t Count = 1) {
  return {OrientationTag, Type, Count, Value};
}

inline void Store16(TBytes& B, std::size_t At, std::uint32_t V, bool BigEndian) {
  if (B.size() < At + 2) B.resize(At + 2);
  B[At + (BigEndian ? 1 : 0)] = static_cast<std::uint8_t>(V);
  B[At + (BigEndian ? 0 : 1)] = static_cast<std::uint8_t>(V >> 8);
}
inline void Store32(TBytes& B, std::size_t At, std::uint32_t V, bool BigEndian) {
  Store16(B, At + (BigEndian ? 2 : 0), V & 0xFFFF, BigEndian);
  Store16(B, At + (BigEndian ? 0 : 2), V >> 16, BigEndian);
}

// Where IFD0's entries end, and so where the block may end for them to be read.
constexpr std::size_t EntriesEnd(std::size_t Count, std::uint32_t IfdOffset = 8) { return IfdOffset + 2 + 12 * Count; }

// The header of a block whose IFD0 lies at IfdOffset.
inline TBytes Header(bool BigEndian, std::uint32_t IfdOffset) {
  TBytes B = {BigEndian ? std::uint8_t('M') : std::uint8_t('I'), BigEndian ? std::uint8_t('M') : std::uint8_t('I')};
  Store16(B, 2, 42, BigEndian);
  Store32(B, 4, IfdOffset, BigEndian);
  return B;
}

// Stores an IFD at At: the entry count, the entries, a next-IFD offset of 0.
inline void StoreIfd(TBytes& B, std::size_t At, const std::vector<TEntry>& Entries, bool BigEndian) {
  Store16(B, At, static_cast<std::uint32_t>(Entries.size()), BigEndian);
  At += 2;
  for (const TEntry& E : Entries) {
    Store16(B, At, E.Tag, BigEndian);
    Store16(B, At + 2, E.Type, BigEndian);
    Store32(B, At + 4, E.Count, BigEndian);
    if (E.Type == TypeShort) {
      Store16(B, At + 8, E.Value & 0xFFFF, BigEndian);
      Store16(B, At + 10, E.Value >> 16, BigEndian);
    } else {
      Store32(B, At + 8, E.Value, BigEndian);
    }
    At += 12;
  }
  Store32(B, At, 0, BigEndian);
}

// A TIFF block: the header, zeros up to IFD0 at IfdOffset, its entries, a
// next-IFD offset of 0, then Tail (data that entries may point at).
inline TBytes Tiff(bool BigEndian, const std::vector<TEntry>& Entries, std::uint32_t IfdOffset = 8,
                   const TBytes& Tail = {}) {
  TBytes B = Header(BigEndian, IfdOffset);
  StoreIfd(B, IfdOffset, Entries, BigEndian);
  B.insert(B.end(), Tail.begin(), Tail.end());
  return B;
}

// Where ExifTiff puts the Exif IFD, for IFD0 entries besides its pointer.
constexpr std::size_t ExifIfdOffset(std::size_t Ifd0Count) { return EntriesEnd(Ifd0Count + 1) + 4; }

// A block as cameras write it: IFD0 at 8 with Ifd0 and, in tag order, the
// pointer to the Exif IFD (0x8769, one LONG), which follows IFD0 and holds
// Exif; then each entry's Data, at even offsets.
inline TBytes ExifTiff(bool BigEndian, std::vector<TEntry> Ifd0, std::vector<TEntry> Exif) {
  const std::size_t ExifAt = ExifIfdOffset(Ifd0.size());
  Ifd0.push_back({ExifIfdTag, TypeLong, 1, static_cast<std::uint32_t>(ExifAt)});
  std::stable_sort(Ifd0.begin(), Ifd0.end(), [](const TEntry& A, const TEntry& B) { return A.Tag < B.Tag; });
  std::size_t DataAt = ExifAt + 2 + 12 * Exif.size() + 4;
  TBytes Data;
  for (std::vector<TEntry>* Ifd : {&Ifd0, &Exif})
    for (TEntry& E : *Ifd) {
      if (E.Data.empty()) continue;
      E.Value = static_cast<std::uint32_t>(DataAt + Data.size());
      Data.insert(Data.end(), E.Data.begin(), E.Data.end());
      if (Data.size() % 2 != 0) Data.push_back(0);
    }
  TBytes B = Header(BigEndian, 8);
  StoreIfd(B, 8, Ifd0, BigEndian);
  StoreIfd(B, ExifAt, Exif, BigEndian);
  B.insert(B.end(), Data.begin(), Data.end());
  return B;
}

// A JPEG marker segment: 0xFF, the marker, the length (which counts itself),
// the payload.
inline TBytes Segment(std::uint8_t Marker, const TBytes& Payload) {
  const std::size_t Length = Payload.size() + 2;
  TBytes B = {0xFF, Marker, static_cast<std::uint8_t>(Length >> 8), static_cast<std::uint8_t>(Length)};
  B.insert(B.end(), Payload.begin(), Payload.end());
  return B;
}

// The APP1 segment that carries a TIFF block as Exif metadata.
inline TBytes ExifSegment(const TBytes& TiffBlock) {
  TBytes Payload = {'E', 'x', 'i', 'f', 0, 0};
  Payload.insert(Payload.end(), TiffBlock.begin(), TiffBlock.end());
  return Segment(0xE1, Payload);
}

// SOI, the segments, and a scan header followed by entropy-coded bytes and
// EOI (a skeleton: enough for a reader of metadata, not a picture).
inline TBytes JpegFile(const std::vector<TBytes>& Segments, const TBytes& EntropyCoded = {0x12, 0xFF, 0x00, 0x34}) {
  TBytes B = {0xFF, 0xD8};
  for (const TBytes& S : Segments) B.insert(B.end(), S.begin(), S.end());
  const TBytes Scan = Segment(0xDA, {0x01, 0x01, 0x00, 0x00, 0x3F, 0x00});
  B.insert(B.end(), Scan.begin(), Scan.end());
  B.insert(B.end(), EntropyCoded.begin(), EntropyCoded.end());
  B.push_back(0xFF);
  B.push_back(0xD9);
  return B;
}

}  // namespace ExifBlock
