#include "core/ExifOrientation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/ExifBlock.h"
#include "support/JpegEncoder.h"

namespace {

using namespace ExifBlock;

using TReader = int (*)(const std::uint8_t*, std::size_t);

// Reads from an exact-size heap copy, so that AddressSanitizer catches a read
// past the end.
int Read(TReader Reader, const TBytes& Bytes, std::size_t Size) {
  const std::unique_ptr<std::uint8_t[]> Exact(new std::uint8_t[Size]);
  std::copy_n(Bytes.begin(), Size, Exact.get());
  return Reader(Exact.get(), Size);
}
int FromTiff(const TBytes& Tiff) { return Read(TiffOrientation, Tiff, Tiff.size()); }
int FromJpeg(const TBytes& File) { return Read(JpegExifOrientation, File, File.size()); }

TBytes Text(const std::string& S) { return TBytes(S.begin(), S.end()); }
TBytes Cat(TBytes A, const TBytes& B) {
  A.insert(A.end(), B.begin(), B.end());
  return A;
}

const TBytes Jfif = Segment(0xE0, Text(std::string("JFIF\0\1\1\0\0\1\0\1\0\0", 14)));

// IFD0 holding the orientation alone, after other tags, before them, and
// further into the block; the offsets of the other tags point into the tail.
struct TLayout {
  const char* Name;
  std::uint32_t IfdOffset;
  std::vector<TEntry> Before, After;
};
const TLayout Layouts[] = {
    {"alone", 8, {}, {}},
    {"after other tags",
     8,
     {{0x0100, TypeLong, 1, 4000}, {0x0101, TypeShort, 1, 3000}, {0x010F, TypeAscii, 8, 62}},
     {}},
    {"before other tags", 8, {}, {{0x011A, 5, 1, 50}, {0x8769, TypeLong, 1, 58}}},
    {"IFD0 after a gap", 40, {{0x0110, TypeAscii, 4, 0x00585858}}, {{0x0213, TypeShort, 1, 1}}},
};

TBytes TiffWith(const TLayout& L, bool BigEndian, std::uint32_t Value) {
  std::vector<TEntry> Entries = L.Before;
  Entries.push_back(Orientation(Value));
  Entries.insert(Entries.end(), L.After.begin(), L.After.end());
  return Tiff(BigEndian, Entries, L.IfdOffset, Text(std::string("Maker\0\0\0\0\0\0\1\0\0\0\1", 16)));
}

TEST(ExifOrientation, ReadsEveryValueInEitherByteOrderAndLayout) {
  for (const TLayout& L : Layouts)
    for (bool BigEndian : {false, true})
      for (int Value = 1; Value <= 8; ++Value) {
        const TBytes Block = TiffWith(L, BigEndian, static_cast<std::uint32_t>(Value));
        SCOPED_TRACE(std::string(L.Name) + (BigEndian ? ", MM, " : ", II, ") + std::to_string(Value));
        EXPECT_EQ(FromTiff(Block), Value);
        EXPECT_EQ(FromJpeg(JpegFile({Jfif, ExifSegment(Block)})), Value);
      }
}

TEST(ExifOrientation, FindsTheFirstExifSegmentBeforeTheScan) {
  const TBytes Exif3 = ExifSegment(Tiff(false, {Orientation(3)}));
  const TBytes Exif6 = ExifSegment(Tiff(true, {Orientation(6)}));
  TBytes InComment = Exif3;
  InComment[1] = 0xFE;
  const struct {
    const char* Name;
    std::vector<TBytes> Segments;
    int Expected;
  } Cases[] = {
      {"first segment", {Exif6}, 6},
      {"after JFIF", {Jfif, Exif6}, 6},
      {"after an XMP APP1",
       {Segment(0xE1, Text(std::string("http://ns.adobe.com/xap/1.0/\0<x tiff:Orientation='3'/>", 55))), Exif6}, 6},
      {"after an APP1 too short for the signature", {Segment(0xE1, Text("Exif")), Exif6}, 6},
      {"after tables and an Exif block in a comment", {Jfif, Segment(0xDB, TBytes(65, 1)), InComment, Exif6}, 6},
      {"after fill bytes and stray bytes", {Jfif, {0x00, 0x17, 0xFF, 0xFF}, Exif6}, 6},
      {"earlier Exif wins", {Exif3, Exif6}, 3},
      {"none", {Jfif, InComment}, 1},
  };
  for (const auto& C : Cases) EXPECT_EQ(FromJpeg(JpegFile(C.Segments)), C.Expected) << C.Name;

  // A real file from the encoder (APP0, tables, frame, scan) with Exif after its APP0.
  const TBytes Picture = EncodeJpeg(TBytes(16 * 8 * 3, 128), 16, 8, 3);
  ASSERT_EQ(Picture[3], 0xE0);
  const std::size_t AfterApp0 = 4 + (Picture[4] << 8 | Picture[5]);
  TBytes WithExif(Picture.begin(), Picture.begin() + AfterApp0);
  WithExif = Cat(Cat(WithExif, Exif6), TBytes(Picture.begin() + AfterApp0, Picture.end()));
  EXPECT_EQ(FromJpeg(WithExif), 6);
  EXPECT_EQ(FromJpeg(Picture), 1);
}

TEST(ExifOrientation, MalformedTiffBlocksGiveOne) {
  // IFD0 at 8: a tag, the orientation (6) at 22, another tag; 50 bytes in all.
  constexpr std::size_t At = 22;
  using TEdit = std::function<void(TBytes&, bool)>;
  const struct {
    const char* Name;
    TEdit Edit;
  } Cases[] = {
      {"mixed byte order", [](TBytes& B, bool) { B[1] = B[0] == 'I' ? 'M' : 'I'; }},
      {"magic 43", [](TBytes& B, bool Big) { Store16(B, 2, 43, Big); }},
      {"magic in the other byte order", [](TBytes& B, bool Big) { Store16(B, 2, 42, !Big); }},
      {"IFD0 at 0", [](TBytes& B, bool Big) { Store32(B, 4, 0, Big); }},
      {"IFD0 in the header", [](TBytes& B, bool Big) { Store32(B, 4, 4, Big); }},
      {"IFD0 just before the end of the header", [](TBytes& B, bool Big) { Store32(B, 4, 7, Big); }},
      {"IFD0 at the end", [](TBytes& B, bool Big) { Store32(B, 4, static_cast<std::uint32_t>(B.size()), Big); }},
      {"IFD0 count cut", [](TBytes& B, bool Big) { Store32(B, 4, static_cast<std::uint32_t>(B.size() - 1), Big); }},
      {"IFD0 near 4 GiB", [](TBytes& B, bool Big) { Store32(B, 4, 0xFFFFFFFA, Big); }},
      {"IFD0 at 4 GiB - 1", [](TBytes& B, bool Big) { Store32(B, 4, 0xFFFFFFFF, Big); }},
      {"one entry too many", [](TBytes& B, bool Big) { Store16(B, 8, 4, Big); }},
      {"65535 entries", [](TBytes& B, bool Big) { Store16(B, 8, 0xFFFF, Big); }},
      {"type LONG", [](TBytes& B, bool Big) { Store16(B, At + 2, TypeLong, Big); }},
      {"type signed SHORT", [](TBytes& B, bool Big) { Store16(B, At + 2, 8, Big); }},
      {"count 2", [](TBytes& B, bool Big) { Store32(B, At + 4, 2, Big); }},
      {"count 0", [](TBytes& B, bool Big) { Store32(B, At + 4, 0, Big); }},
      {"value 0", [](TBytes& B, bool Big) { Store16(B, At + 8, 0, Big); }},
      {"value 9", [](TBytes& B, bool Big) { Store16(B, At + 8, 9, Big); }},
      {"value 262 (6 in its low byte)", [](TBytes& B, bool Big) { Store16(B, At + 8, 0x0106, Big); }},
      {"value in the field's second half",
       [](TBytes& B, bool Big) {
         Store16(B, At + 8, 0, Big);
         Store16(B, At + 10, 6, Big);
       }},
  };
  for (bool BigEndian : {false, true}) {
    const TBytes Good =
        Tiff(BigEndian, {{0x0100, TypeLong, 1, 640}, Orientation(6), {0x0131, TypeAscii, 4, 0x00787878}});
    ASSERT_EQ(Good.size(), 50u);
    ASSERT_EQ(FromTiff(Good), 6);
    for (const auto& C : Cases) {
      TBytes Bad = Good;
      C.Edit(Bad, BigEndian);
      EXPECT_EQ(FromTiff(Bad), 1) << C.Name << (BigEndian ? ", MM" : ", II");
      EXPECT_EQ(FromJpeg(JpegFile({ExifSegment(Bad)})), 1) << C.Name << (BigEndian ? ", MM" : ", II");
    }
  }
  // IFD0 at 6 overlaps the header: there MM reads its offset's low half as a
  // count of 6, and the entries from 8 on would hold the orientation.
  const TEntry Filler = {0x0100, TypeLong, 1, 1};
  EXPECT_EQ(FromTiff(Tiff(true, {Orientation(6), Filler, Filler, Filler, Filler, Filler}, 6)), 1);
}

TEST(ExifOrientation, MalformedFilesGiveOne) {
  const TBytes Block = Tiff(false, {Orientation(6)});
  const TBytes Exif6 = ExifSegment(Block);
  const TBytes Soi = {0xFF, 0xD8};
  TBytes TooLong = Cat(Soi, Exif6);
  ++TooLong[5];
  // Segments whose Exif block goes on past their own length, in bytes that
  // the file does hold: the entry, or IFD0 as a whole.
  TBytes EntryOutside = Exif6;
  EntryOutside[3] -= 6;
  TBytes IfdOutside = Exif6;
  IfdOutside[3] = 2 + 6 + 8;
  TBytes InApp0 = Exif6;
  InApp0[1] = 0xE0;
  const struct {
    const char* Name;
    TBytes File;
  } Cases[] = {
      {"empty", {}},
      {"SOI only", Soi},
      {"no SOI", Exif6},
      {"SOI twice", Cat(Cat(Soi, Soi), Exif6)},
      {"Exif after the scan", JpegFile({Jfif}, Exif6)},
      {"Exif after EOI", Cat({0xFF, 0xD8, 0xFF, 0xD9}, Exif6)},
      {"Exif without its NULs", JpegFile({Segment(0xE1, Cat(Text("Exif"), Block))})},
      {"Exif with one NUL", JpegFile({Segment(0xE1, Cat(Text(std::string("Exif\0", 5)), Block))})},
      {"Exif in APP0", JpegFile({InApp0})},
      {"segment longer than the file", TooLong},
      {"segment length 0 before Exif", Cat(Cat(Soi, {0xFF, 0xE0, 0x00, 0x00}), Exif6)},
      {"segment length 1 before Exif", Cat(Cat(Soi, {0xFF, 0xE0, 0x00, 0x01}), Exif6)},
      {"entry past the segment", JpegFile({EntryOutside})},
      {"IFD0 past the segment", JpegFile({IfdOutside})},
  };
  for (const auto& C : Cases) EXPECT_EQ(FromJpeg(C.File), 1) << C.Name;
  EXPECT_EQ(JpegExifOrientation(nullptr, 0), 1);
  EXPECT_EQ(TiffOrientation(nullptr, 0), 1);
}

// Every prefix of a file and of a block is read without going past its end,
// and the orientation is found exactly when its whole segment (for the block:
// IFD0's entries) is there.
TEST(ExifOrientation, EveryTruncationStaysInside) {
  for (bool BigEndian : {false, true}) {
    const TBytes Block = TiffWith(Layouts[1], BigEndian, 8);
    const std::size_t EntriesNeeded = EntriesEnd(4);
    for (std::size_t N = 0; N <= Block.size(); ++N)
      ASSERT_EQ(Read(TiffOrientation, Block, N), N >= EntriesNeeded ? 8 : 1) << N;

    const TBytes File = JpegFile({Jfif, ExifSegment(Block)});
    const std::size_t SegmentEnd = 2 + Jfif.size() + 10 + Block.size();
    for (std::size_t N = 0; N <= File.size(); ++N)
      ASSERT_EQ(Read(JpegExifOrientation, File, N), N >= SegmentEnd ? 8 : 1) << N;
  }
}

}  // namespace
