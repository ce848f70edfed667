// The Exif orientation readers: any input, read as a JPEG file and as a bare
// TIFF block, gives an orientation of 1 to 8; and a TIFF block carried in a
// JPEG file's Exif segment reads as the block alone, although the file goes
// on after the segment with the same bytes again (a reader that strays past
// the segment's length would see more of an IFD there).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/ExifOrientation.h"
#include "fuzz/FuzzCheck.h"
#include "support/ExifBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const int FromFile = JpegExifOrientation(Data, Size);
  FUZZ_CHECK(FromFile >= 1 && FromFile <= 8);
  const int FromBlock = TiffOrientation(Data, Size);
  FUZZ_CHECK(FromBlock >= 1 && FromBlock <= 8);

  if (Size > 0xFFFF - 8) return 0;  // the most a segment holds
  const ExifBlock::TBytes Block(Data, Data + Size);
  ExifBlock::TBytes File = {0xFF, 0xD8};
  for (const ExifBlock::TBytes& Part : {ExifBlock::ExifSegment(Block), Block})
    File.insert(File.end(), Part.begin(), Part.end());
  FUZZ_CHECK(JpegExifOrientation(File.data(), File.size()) == FromBlock);
  return 0;
}
