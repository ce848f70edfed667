// The Exif date reader: any input, read as a JPEG file and as a bare TIFF
// block, gives nothing or a valid date (checked against the calendar of
// <chrono>, not the reader's own rules); a TIFF block carried in a JPEG
// file's Exif segment reads as the block alone, although the file goes on
// after the segment with the same bytes again; and a block that the test
// writer makes from the input's first bytes (a date text, a byte order,
// other entries around the date) reads back the date written exactly when
// that date is valid.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "core/ExifDate.h"
#include "fuzz/FuzzCheck.h"
#include "support/ExifBlock.h"

namespace {

bool IsValid(const TExifDate& D) {
  using namespace std::chrono;
  const year_month_day Date{year{D.Year}, month{static_cast<unsigned>(D.Month)}, day{static_cast<unsigned>(D.Day)}};
  return D.Year >= 1 && D.Year <= 9999 && Date.ok() && D.Hour >= 0 && D.Hour < 24 && D.Minute >= 0 &&
         D.Minute < 60 && D.Second >= 0 && D.Second < 60;
}

bool ValidOrNothing(const std::optional<TExifDate>& Date) { return !Date || IsValid(*Date); }

// A block written from the input's first 12 bytes: the date's fields (each a
// little past its range, so invalid dates come too), the byte order, and up
// to three other entries in each IFD with tags from the input.
void CheckWrittenBlock(const std::uint8_t* Data, std::size_t Size) {
  if (Size < 12) return;
  const TExifDate Written = {(Data[0] << 8 | Data[1]) % 10000, Data[2] % 14, Data[3] % 33,
                             Data[4] % 25,                     Data[5] % 61, Data[6] % 61};
  const bool BigEndian = Data[7] & 1;
  char Text[24];
  std::snprintf(Text, sizeof Text, "%04d:%02d:%02d %02d:%02d:%02d", Written.Year, Written.Month, Written.Day,
                Written.Hour, Written.Minute, Written.Second);

  using namespace ExifBlock;
  std::vector<TEntry> Ifd0, Exif;
  for (int I = 0; I < (Data[7] >> 1 & 3); ++I) {
    const std::uint16_t Tag = static_cast<std::uint16_t>(Data[8 + I] << 8 | Data[9 + I]);
    if (Tag == ExifIfdTag || Tag == DateTimeOriginalTag) continue;
    Ifd0.push_back({Tag, TypeLong, 1, Data[8 + I]});
    Exif.push_back(Ascii(Tag, "entry"));
  }
  Exif.insert(Exif.begin() + (Data[7] >> 3 & 1 ? static_cast<std::ptrdiff_t>(Exif.size()) : 0),
              DateTimeOriginal(Text));
  const TBytes Block = ExifTiff(BigEndian, Ifd0, Exif);
  const std::optional<TExifDate> Read = TiffDateTaken(Block.data(), Block.size());
  FUZZ_CHECK(IsValid(Written) ? Read == Written : !Read);
  const TBytes File = JpegFile({ExifSegment(Block)});
  FUZZ_CHECK(JpegExifDateTaken(File.data(), File.size()) == Read);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  FUZZ_CHECK(ValidOrNothing(JpegExifDateTaken(Data, Size)));
  const std::optional<TExifDate> FromBlock = TiffDateTaken(Data, Size);
  FUZZ_CHECK(ValidOrNothing(FromBlock));
  CheckWrittenBlock(Data, Size);

  if (Size > 0xFFFF - 8) return 0;  // the most a segment holds
  const ExifBlock::TBytes Block(Data, Data + Size);
  ExifBlock::TBytes File = {0xFF, 0xD8};
  for (const ExifBlock::TBytes& Part : {ExifBlock::ExifSegment(Block), Block})
    File.insert(File.end(), Part.begin(), Part.end());
  FUZZ_CHECK(JpegExifDateTaken(File.data(), File.size()) == FromBlock);
  return 0;
}
