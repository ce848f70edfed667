#include "core/ExifDate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/ExifOrientation.h"
#include "support/ExifBlock.h"

namespace {

using namespace ExifBlock;
using TDate = std::optional<TExifDate>;
using TReader = TDate (*)(const std::uint8_t*, std::size_t);

// Reads from an exact-size heap copy of the first Size bytes, so that
// AddressSanitizer catches a read past the end.
TDate Read(TReader Reader, const TBytes& Bytes, std::size_t Size) {
  const std::unique_ptr<std::uint8_t[]> Exact(new std::uint8_t[Size]);
  std::copy_n(Bytes.begin(), Size, Exact.get());
  return Reader(Exact.get(), Size);
}
TDate FromTiff(const TBytes& Tiff) { return Read(TiffDateTaken, Tiff, Tiff.size()); }
TDate FromJpeg(const TBytes& File) { return Read(JpegExifDateTaken, File, File.size()); }

std::string Text(const TDate& Date) {
  if (!Date) return "nothing";
  char S[40];
  std::snprintf(S, sizeof S, "%04d:%02d:%02d %02d:%02d:%02d", Date->Year, Date->Month, Date->Day, Date->Hour,
                Date->Minute, Date->Second);
  return S;
}

TEST(ExifDate, ParsesValidDatesOnly) {
  const struct {
    const char* Text;
    TDate Date;
  } Cases[] = {
      {"2021:07:04 12:34:56", TExifDate{2021, 7, 4, 12, 34, 56}},
      {"2024:02:29 23:59:59", TExifDate{2024, 2, 29, 23, 59, 59}},
      {"2000:02:29 00:00:00", TExifDate{2000, 2, 29, 0, 0, 0}},
      {"0001:01:01 00:00:00", TExifDate{1, 1, 1, 0, 0, 0}},
      {"9999:12:31 23:59:59", TExifDate{9999, 12, 31, 23, 59, 59}},
      {"2023:04:30 08:00:00", TExifDate{2023, 4, 30, 8, 0, 0}},
      {"2023:02:29 12:00:00", std::nullopt},
      {"1900:02:29 12:00:00", std::nullopt},
      {"2024:02:30 12:00:00", std::nullopt},
      {"2024:04:31 12:00:00", std::nullopt},
      {"2024:11:31 12:00:00", std::nullopt},
      {"2024:01:32 12:00:00", std::nullopt},
      {"2024:13:01 12:00:00", std::nullopt},
      {"2024:00:10 12:00:00", std::nullopt},
      {"2024:01:00 12:00:00", std::nullopt},
      {"2024:01:01 24:00:00", std::nullopt},
      {"2024:01:01 12:60:00", std::nullopt},
      {"2024:01:01 12:00:60", std::nullopt},
      {"0000:01:01 12:00:00", std::nullopt},
      {"0000:00:00 00:00:00", std::nullopt},
      {"                   ", std::nullopt},
      {"    :  :     :  :  ", std::nullopt},
      {"2024-01-01 12:00:00", std::nullopt},
      {"2024:01:01T12:00:00", std::nullopt},
      {"2024:01:01  2:00:00", std::nullopt},
      {"+024:01:01 12:00:00", std::nullopt},
      {"2024:1:01 12:00:00", std::nullopt},
      {"2024:01:01 12:00:00 ", std::nullopt},
      {"2024:01:01 12:00", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& C : Cases) EXPECT_EQ(ParseExifDate(C.Text), C.Date) << C.Text;
  EXPECT_LT((TExifDate{2021, 12, 31, 23, 59, 59}), (TExifDate{2022, 1, 1, 0, 0, 0}));
  EXPECT_LT((TExifDate{2022, 1, 1, 0, 0, 0}), (TExifDate{2022, 1, 1, 0, 0, 1}));
}

const TBytes Jfif = Segment(0xE0, TBytes{'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
const char* const Taken = "2021:07:04 12:34:56";
const TExifDate TakenDate = {2021, 7, 4, 12, 34, 56};

// IFD0: Make, Orientation 6, the Exif pointer; the Exif IFD: ExposureTime,
// the date taken, the date digitized (another date, which is not read).
TBytes Camera(bool BigEndian, const char* Date = Taken) {
  return ExifTiff(BigEndian, {Ascii(0x010F, "Camera Maker"), Orientation(6)},
                  {{0x829A, 5, 1, 0, TBytes(8, 1)}, DateTimeOriginal(Date), Ascii(0x9004, "2022:01:01 00:00:00")});
}
// Where its parts lie.
constexpr std::size_t PointerAt = EntriesEnd(2);
constexpr std::size_t ExifAt = EntriesEnd(3) + 4;
constexpr std::size_t DateEntryAt = ExifAt + 2 + 12;
// After the IFDs: the maker's name (13 bytes and a pad byte), the exposure
// time (8), the date taken (20), the date digitized.
constexpr std::size_t TextAt = ExifAt + 2 + 3 * 12 + 4 + 14 + 8;
constexpr std::size_t TextEnd = TextAt + 20;

TEST(ExifDate, ReadsTheDateTakenInEitherByteOrder) {
  for (bool BigEndian : {false, true}) {
    SCOPED_TRACE(BigEndian ? "MM" : "II");
    const TBytes Block = Camera(BigEndian);
    ASSERT_EQ(ExifIfdOffset(2), ExifAt);
    EXPECT_EQ(FromTiff(Block), TakenDate);
    EXPECT_EQ(TiffOrientation(Block.data(), Block.size()), 6);
    const TBytes File = JpegFile({Jfif, ExifSegment(Block)});
    EXPECT_EQ(FromJpeg(File), TakenDate);
    EXPECT_EQ(JpegExifOrientation(File.data(), File.size()), 6);

    // The Exif IFD alone, or with the date the only entry anywhere.
    EXPECT_EQ(FromTiff(ExifTiff(BigEndian, {}, {DateTimeOriginal("1999:12:31 23:59:59")})),
              (TExifDate{1999, 12, 31, 23, 59, 59}));
    // The first date entry is the one read.
    EXPECT_EQ(FromTiff(ExifTiff(BigEndian, {}, {DateTimeOriginal(Taken), DateTimeOriginal("2000:01:01 00:00:00")})),
              TakenDate);
    // A date text of 19 bytes without its NUL, and one followed by more.
    TEntry NoNul = DateTimeOriginal(Taken);
    NoNul.Count = 19;
    EXPECT_EQ(FromTiff(ExifTiff(BigEndian, {}, {NoNul})), TakenDate);
    TEntry Longer = Ascii(0x9003, std::string(Taken) + " +02:00");
    EXPECT_EQ(FromTiff(ExifTiff(BigEndian, {}, {Longer})), TakenDate);
    // The pointer as an IFD-typed value.
    TBytes AsIfd = Block;
    Store16(AsIfd, PointerAt + 2, 13, BigEndian);
    EXPECT_EQ(FromTiff(AsIfd), TakenDate);
  }
}

TEST(ExifDate, NothingButDateTimeOriginalCounts) {
  for (bool BigEndian : {false, true}) {
    SCOPED_TRACE(BigEndian ? "MM" : "II");
    const struct {
      const char* Name;
      TBytes Block;
    } Cases[] = {
        {"no Exif IFD", Tiff(BigEndian, {Orientation(6)})},
        {"only IFD0's DateTime", ExifTiff(BigEndian, {Ascii(0x0132, Taken)}, {})},
        {"only the date digitized", ExifTiff(BigEndian, {}, {Ascii(0x9004, Taken)})},
        {"the date taken in IFD0", ExifTiff(BigEndian, {DateTimeOriginal(Taken)}, {})},
        {"a blank date", Camera(BigEndian, "    :  :     :  :  ")},
        {"an unknown date", Camera(BigEndian, "0000:00:00 00:00:00")},
        {"31 June", Camera(BigEndian, "2021:06:31 12:00:00")},
    };
    for (const auto& C : Cases) {
      EXPECT_EQ(FromTiff(C.Block), std::nullopt) << C.Name;
      EXPECT_EQ(FromJpeg(JpegFile({ExifSegment(C.Block)})), std::nullopt) << C.Name;
    }
  }
}

TEST(ExifDate, MalformedBlocksGiveNothing) {
  using TEdit = std::function<void(TBytes&, bool)>;
  auto Put32 = [](std::size_t At, std::function<std::uint32_t(const TBytes&)> Value) {
    return [=](TBytes& B, bool Big) { Store32(B, At, Value(B), Big); };
  };
  auto Fixed = [](std::uint32_t V) { return [=](const TBytes&) { return V; }; };
  const struct {
    const char* Name;
    TEdit Edit;
  } Cases[] = {
      {"bad magic", [](TBytes& B, bool Big) { Store16(B, 2, 43, Big); }},
      {"IFD0 outside", Put32(4, [](const TBytes& B) { return static_cast<std::uint32_t>(B.size()); })},
      {"pointer tagged GPS", [](TBytes& B, bool Big) { Store16(B, PointerAt, 0x8825, Big); }},
      {"pointer of type SHORT", [](TBytes& B, bool Big) { Store16(B, PointerAt + 2, TypeShort, Big); }},
      {"pointer of type ASCII", [](TBytes& B, bool Big) { Store16(B, PointerAt + 2, TypeAscii, Big); }},
      {"two pointers", Put32(PointerAt + 4, Fixed(2))},
      {"no pointer value", Put32(PointerAt + 4, Fixed(0))},
      {"Exif IFD at the end", Put32(PointerAt + 8, [](const TBytes& B) { return static_cast<std::uint32_t>(B.size()); })},
      {"Exif IFD's count cut", Put32(PointerAt + 8, [](const TBytes& B) { return static_cast<std::uint32_t>(B.size() - 1); })},
      {"Exif IFD's entries cut", Put32(PointerAt + 8, [](const TBytes& B) { return static_cast<std::uint32_t>(B.size() - 12); })},
      {"Exif IFD near 4 GiB", Put32(PointerAt + 8, Fixed(0xFFFFFFFA))},
      {"Exif IFD in the header", Put32(PointerAt + 8, Fixed(4))},
      {"Exif IFD is IFD0", Put32(PointerAt + 8, Fixed(8))},
      {"Exif IFD's count too high", [](TBytes& B, bool Big) { Store16(B, ExifAt, 0xFFFF, Big); }},
      {"date of type BYTE", [](TBytes& B, bool Big) { Store16(B, DateEntryAt + 2, 1, Big); }},
      {"date of type UNDEFINED", [](TBytes& B, bool Big) { Store16(B, DateEntryAt + 2, 7, Big); }},
      {"date of 18 characters", Put32(DateEntryAt + 4, Fixed(18))},
      {"date of no characters", Put32(DateEntryAt + 4, Fixed(0))},
      {"date's count past the end",
       Put32(DateEntryAt + 4, [=](const TBytes& B) { return static_cast<std::uint32_t>(B.size() - TextAt + 1); })},
      {"date's count near 4 GiB", Put32(DateEntryAt + 4, Fixed(0xFFFFFFFF))},
      {"date's text at the end", Put32(DateEntryAt + 8, [](const TBytes& B) { return static_cast<std::uint32_t>(B.size()); })},
      {"date's text near 4 GiB", Put32(DateEntryAt + 8, Fixed(0xFFFFFFF0))},
      {"date's text on the IFD", Put32(DateEntryAt + 8, Fixed(ExifAt))},
      {"month 13", [=](TBytes& B, bool) { B[TextAt + 5] = '1', B[TextAt + 6] = '3'; }},
      {"a letter for a digit", [=](TBytes& B, bool) { B[TextAt + 18] = 'x'; }},
      {"a NUL inside", [=](TBytes& B, bool) { B[TextAt + 12] = 0; }},
      {"a dash for a colon", [=](TBytes& B, bool) { B[TextAt + 4] = '-'; }},
  };
  for (bool BigEndian : {false, true}) {
    const TBytes Good = Camera(BigEndian);
    ASSERT_EQ(std::string(Good.begin() + TextAt, Good.begin() + TextAt + 19), Taken);
    ASSERT_EQ(FromTiff(Good), TakenDate);
    for (const auto& C : Cases) {
      TBytes Bad = Good;
      C.Edit(Bad, BigEndian);
      EXPECT_EQ(Text(FromTiff(Bad)), "nothing") << C.Name << (BigEndian ? ", MM" : ", II");
      EXPECT_EQ(Text(FromJpeg(JpegFile({ExifSegment(Bad)}))), "nothing") << C.Name << (BigEndian ? ", MM" : ", II");
    }
  }
  EXPECT_EQ(TiffDateTaken(nullptr, 0), std::nullopt);
  EXPECT_EQ(JpegExifDateTaken(nullptr, 0), std::nullopt);
}

// Every prefix of a block and of a file is read without going past its end,
// and the date is found exactly when all of it is there: in the block, up to
// the end of its text with its NUL; in a file, the whole Exif segment.
TEST(ExifDate, EveryTruncationStaysInside) {
  for (bool BigEndian : {false, true}) {
    const TBytes Block = Camera(BigEndian);
    for (std::size_t N = 0; N <= Block.size(); ++N)
      ASSERT_EQ(Read(TiffDateTaken, Block, N), N >= TextEnd ? TDate(TakenDate) : std::nullopt) << N;
    const TBytes File = JpegFile({Jfif, ExifSegment(Block)});
    const std::size_t SegmentEnd = 2 + Jfif.size() + 10 + Block.size();
    for (std::size_t N = 0; N <= File.size(); ++N)
      ASSERT_EQ(Read(JpegExifDateTaken, File, N), N >= SegmentEnd ? TDate(TakenDate) : std::nullopt) << N;
  }
}

}  // namespace
