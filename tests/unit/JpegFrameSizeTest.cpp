#include "core/JpegFrameSize.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "support/ExifBlock.h"
#include "support/JpegEncoder.h"

namespace {

using namespace ExifBlock;

// Reads from an exact-size heap copy, so that AddressSanitizer catches a read
// past the end.
TJpegFrameSize Read(const TBytes& Bytes, std::size_t Size) {
  const std::unique_ptr<std::uint8_t[]> Exact(new std::uint8_t[Size]);
  std::copy_n(Bytes.begin(), Size, Exact.get());
  return JpegFrameSize(Exact.get(), Size);
}

TBytes Frame(std::uint8_t Marker, std::uint16_t W, std::uint16_t H) {
  return Segment(Marker, {8, static_cast<std::uint8_t>(H >> 8), static_cast<std::uint8_t>(H),
                          static_cast<std::uint8_t>(W >> 8), static_cast<std::uint8_t>(W), 1, 1, 0x11, 0});
}

TEST(JpegFrameSizeTest, ReadsTheFrameHeaderOfEncodedAndProgressiveFilesAfterExif) {
  const std::vector<std::uint8_t> Grey(static_cast<std::size_t>(37) * 21, 90);
  TJpegOptions Progressive;
  Progressive.Progressive = true;
  for (const TJpegOptions& Options : {TJpegOptions(), Progressive}) {
    TBytes File = EncodeJpeg(Grey, 37, 21, 1, Options);
    const TBytes Exif = ExifSegment(ExifTiff(false, {Orientation(6)}, {DateTimeOriginal("2020:01:01 00:00:00")}));
    File.insert(File.begin() + 2, Exif.begin(), Exif.end());
    const TJpegFrameSize Size = Read(File, File.size());
    EXPECT_EQ(Size.Width, 37u);
    EXPECT_EQ(Size.Height, 21u);
  }
}

TEST(JpegFrameSizeTest, SkipsTablesAndGivesNothingForBrokenOrCutFiles) {
  // DHT (C4), JPG (C8) and DAC (CC) share the range of frame markers but are
  // not frames; SOF2 after them is.
  const TBytes File = JpegFile({Frame(0xC4, 1, 1), Frame(0xC8, 2, 2), Frame(0xCC, 3, 3), Frame(0xC2, 640, 480)});
  EXPECT_EQ(Read(File, File.size()).Width, 640u);
  EXPECT_EQ(Read(File, File.size()).Height, 480u);
  for (std::size_t Cut = 0; Cut < 4 + 3 * 13 + 8; ++Cut) EXPECT_EQ(Read(File, Cut).Width, 0u) << Cut;
  const TBytes ZeroWidth = JpegFile({Frame(0xC0, 0, 480)});
  EXPECT_EQ(Read(ZeroWidth, ZeroWidth.size()).Width, 0u) << "a zero width is none";
  EXPECT_EQ(Read(JpegFile({}), JpegFile({}).size()).Width, 0u) << "the scan comes first";
  EXPECT_EQ(Read(TBytes{0x89, 'P', 'N', 'G'}, 4).Width, 0u);
  const TBytes Short = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x05, 8, 0, 1};
  EXPECT_EQ(Read(Short, Short.size()).Width, 0u) << "a frame header too short for its size";
}

}  // namespace
