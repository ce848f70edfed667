#include "core/ExifDate.h"

#include "core/TiffStructure.h"

namespace {

constexpr std::uint16_t ExifIfdTag = 0x8769;
constexpr std::uint16_t DateTimeOriginalTag = 0x9003;
constexpr std::size_t DateLength = 19;  // "YYYY:MM:DD HH:MM:SS"

// The number at Text[At, At + Digits), or -1 unless each of its characters
// is a digit.
int Field(std::string_view Text, std::size_t At, std::size_t Digits) {
  int Value = 0;
  for (std::size_t I = At; I < At + Digits; ++I) {
    if (Text[I] < '0' || Text[I] > '9') return -1;
    Value = Value * 10 + (Text[I] - '0');
  }
  return Value;
}

bool IsLeapYear(int Year) { return (Year % 4 == 0 && Year % 100 != 0) || Year % 400 == 0; }

int DaysInMonth(int Year, int Month) {
  static constexpr int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return Month == 2 && IsLeapYear(Year) ? 29 : Days[Month - 1];
}

}  // namespace

std::optional<TExifDate> ParseExifDate(std::string_view Text) {
  if (Text.size() != DateLength) return std::nullopt;
  for (const std::size_t At : {4, 7, 13, 16})
    if (Text[At] != ':') return std::nullopt;
  if (Text[10] != ' ') return std::nullopt;
  const TExifDate Date = {Field(Text, 0, 4),  Field(Text, 5, 2),  Field(Text, 8, 2),
                          Field(Text, 11, 2), Field(Text, 14, 2), Field(Text, 17, 2)};
  if (Date.Year < 1 || Date.Month < 1 || Date.Month > 12 || Date.Day < 1 ||
      Date.Day > DaysInMonth(Date.Year, Date.Month) || Date.Hour < 0 || Date.Hour > 23 || Date.Minute < 0 ||
      Date.Minute > 59 || Date.Second < 0 || Date.Second > 59)
    return std::nullopt;
  return Date;
}

std::optional<TExifDate> TiffDateTaken(const std::uint8_t* Tiff, std::size_t Size) {
  const TTiffBlock Block(Tiff, Size);
  if (!Block.Valid()) return std::nullopt;

  const std::size_t Pointer = Block.FindEntry(Block.Ifd0(), ExifIfdTag);
  if (Pointer == 0 || (Block.Type(Pointer) != TiffTypeLong && Block.Type(Pointer) != TiffTypeIfd) ||
      Block.Count(Pointer) != 1)
    return std::nullopt;
  const std::uint32_t ExifIfd = Block.U32(TTiffBlock::ValueField(Pointer));

  const std::size_t Entry = Block.FindEntry(ExifIfd, DateTimeOriginalTag);
  if (Entry == 0 || Block.Type(Entry) != TiffTypeAscii) return std::nullopt;
  const std::uint32_t Count = Block.Count(Entry);
  if (Count < DateLength) return std::nullopt;
  // 19 bytes or more never fit in the 4-byte field: the field holds their offset.
  const std::uint32_t Text = Block.U32(TTiffBlock::ValueField(Entry));
  if (!Block.Holds(Text, Count)) return std::nullopt;
  return ParseExifDate(std::string_view(reinterpret_cast<const char*>(Block.At(Text)), DateLength));
}

std::optional<TExifDate> JpegExifDateTaken(const std::uint8_t* Data, std::size_t Size) {
  const TExifSegment Exif = FindJpegExif(Data, Size);
  return TiffDateTaken(Exif.Data, Exif.Size);
}
