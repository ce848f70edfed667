#pragma once
// A small JPEG photo as a camera writes it: an Exif block with the
// orientation in IFD0 and the date taken (DateTimeOriginal) in the Exif IFD,
// for tests and benchmarks of the picture library. Portable.
#include <cstdint>
#include <string>
#include <vector>

#include "support/ExifBlock.h"
#include "support/JpegEncoder.h"

// W x H grey pixels, quality 75; DateTaken "YYYY:MM:DD HH:MM:SS".
inline std::vector<std::uint8_t> DatedJpeg(int W, int H, const std::string& DateTaken, int Orientation = 1) {
  const std::vector<std::uint8_t> Grey(static_cast<std::size_t>(W) * H, 128);
  TJpegOptions Options;
  Options.Quality = 75;
  std::vector<std::uint8_t> File = EncodeJpeg(Grey, W, H, 1, Options);
  const ExifBlock::TBytes Segment = ExifBlock::ExifSegment(ExifBlock::ExifTiff(
      false, {ExifBlock::Orientation(static_cast<std::uint32_t>(Orientation))},
      {ExifBlock::DateTimeOriginal(DateTaken)}));
  File.insert(File.begin() + 2, Segment.begin(), Segment.end());
  return File;
}
