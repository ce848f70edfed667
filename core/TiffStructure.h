#pragma once
// The TIFF structure that Exif metadata is written in, and the JPEG segment
// that carries it: the pieces the Exif readers share. Portable; nothing is
// allocated.
//
// Nothing in the data is trusted: every offset is checked against the block
// (in 64 bits, so that an offset near 4 GiB cannot wrap a 32-bit size_t)
// before anything is read at it.
#include <cstddef>
#include <cstdint>

constexpr std::uint16_t TiffTypeAscii = 2;
constexpr std::uint16_t TiffTypeShort = 3;
constexpr std::uint16_t TiffTypeLong = 4;
constexpr std::uint16_t TiffTypeIfd = 13;
constexpr std::size_t TiffHeaderSize = 8;
constexpr std::size_t TiffEntrySize = 12;

// A TIFF-structured block ("II" or "MM", 42, the offset of IFD0) and reads of
// it in its byte order.
class TTiffBlock {
 public:
  // Valid() is false unless the block has a whole header with a known byte
  // order and the magic number.
  TTiffBlock(const std::uint8_t* Data, std::size_t Size);
  bool Valid() const { return Data != nullptr; }

  const std::uint8_t* At(std::size_t Offset) const { return Data + Offset; }
  // Unchecked: the caller has checked that the bytes lie inside.
  std::uint32_t U16(std::size_t Offset) const;
  std::uint32_t U32(std::size_t Offset) const;

  // Whether Count bytes from Offset lie inside the block.
  bool Holds(std::uint64_t Offset, std::uint64_t Count) const { return Offset <= Length && Count <= Length - Offset; }

  std::uint32_t Ifd0() const { return U32(4); }
  // Where the first entry with Tag lies in the IFD at Offset; 0 when the IFD
  // holds none, or when it does not lie after the header with its entry
  // count and all its entries inside the block. The next-IFD offset after
  // the entries is never read: no chain of IFDs is followed.
  std::size_t FindEntry(std::uint64_t IfdOffset, std::uint16_t Tag) const;
  // An entry's parts.
  std::uint32_t Type(std::size_t Entry) const { return U16(Entry + 2); }
  std::uint32_t Count(std::size_t Entry) const { return U32(Entry + 4); }
  // The offset of the entry's 4-byte value field.
  static std::size_t ValueField(std::size_t Entry) { return Entry + 8; }

 private:
  const std::uint8_t* Data = nullptr;
  std::size_t Length = 0;
  bool BigEndian = false;
};

// The TIFF block of a JPEG file's Exif metadata: its markers are walked from
// SOI up to the first scan (never into entropy-coded data), and the first
// APP1 segment whose payload starts with "Exif\0\0" gives the block, within
// the segment's own length (later ones are not looked at). Stray bytes
// between segments are skipped, as the JPEG decoder skips them. Size 0 and a
// null Data when there is none, or when the file is broken before it.
struct TExifSegment {
  const std::uint8_t* Data = nullptr;
  std::size_t Size = 0;
};
TExifSegment FindJpegExif(const std::uint8_t* Data, std::size_t Size);
