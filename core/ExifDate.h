#pragma once
// The date a photo was taken, as its Exif metadata records it: the Exif
// IFD's DateTimeOriginal (tag 0x9003), reached through IFD0's Exif IFD
// pointer (tag 0x8769). Portable; nothing is allocated.
//
// Only DateTimeOriginal counts. IFD0's DateTime (0x0132) is when the file
// was last changed, by an editor as often as by the camera, and
// DateTimeDigitized (0x9004) is when a picture was scanned; neither is the
// date taken, so a file without DateTimeOriginal has no date rather than a
// wrong one.
//
// Both readers trust nothing in the data: every read stays inside the block
// they were given (for a JPEG file, inside the Exif segment's own length),
// only the one pointer from IFD0 to the Exif IFD is followed (so no loop of
// pointers can form), and anything malformed, truncated, of the wrong type
// or count, or not a valid date gives nothing.
#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// A valid date and time of day, as the camera's clock showed it (Exif
// records no time zone here): a year of 1 to 9999, a month of 1 to 12, a day
// that the month has (29 February in leap years of the Gregorian calendar
// only), an hour of 0 to 23, minutes and seconds of 0 to 59. Dates compare in
// time order.
struct TExifDate {
  int Year, Month, Day, Hour, Minute, Second;
  friend auto operator<=>(const TExifDate&, const TExifDate&) = default;
};

// The date of an Exif date text, "YYYY:MM:DD HH:MM:SS" (19 characters, each
// field all digits, exactly these separators); nothing for any other text, a
// blank one, "0000:00:00 00:00:00" (both mean "unknown") or a date that does
// not exist.
std::optional<TExifDate> ParseExifDate(std::string_view Text);

// The date taken in a bare TIFF-structured block, as an Exif segment carries
// it after "Exif\0\0". The Exif IFD pointer must be one LONG (or IFD) value;
// DateTimeOriginal must be ASCII with a count of at least 19 (19 characters
// and usually a NUL; anything after the 19th is not read) lying wholly
// inside the block, its 19 characters a date as ParseExifDate reads it. Each
// IFD must lie after the 8-byte header with all its entries inside the
// block; the first entry with a tag is the one read.
std::optional<TExifDate> TiffDateTaken(const std::uint8_t* Tiff, std::size_t Size);

// The date taken in a JPEG file: the block of its first Exif segment before
// the scan (FindJpegExif), read by TiffDateTaken.
std::optional<TExifDate> JpegExifDateTaken(const std::uint8_t* Data, std::size_t Size);
