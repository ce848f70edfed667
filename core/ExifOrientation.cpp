#include "core/ExifOrientation.h"

#include "core/TiffStructure.h"

namespace {

constexpr std::uint16_t OrientationTag = 0x0112;

}  // namespace

int TiffOrientation(const std::uint8_t* Tiff, std::size_t Size) {
  const TTiffBlock Block(Tiff, Size);
  if (!Block.Valid()) return 1;
  const std::size_t Entry = Block.FindEntry(Block.Ifd0(), OrientationTag);
  if (Entry == 0 || Block.Type(Entry) != TiffTypeShort || Block.Count(Entry) != 1) return 1;
  const std::uint32_t Value = Block.U16(TTiffBlock::ValueField(Entry));  // a lone SHORT sits at the start of the field
  return Value >= 1 && Value <= 8 ? static_cast<int>(Value) : 1;
}

int JpegExifOrientation(const std::uint8_t* Data, std::size_t Size) {
  const TExifSegment Exif = FindJpegExif(Data, Size);
  return TiffOrientation(Exif.Data, Exif.Size);
}
