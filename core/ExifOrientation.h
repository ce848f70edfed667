#pragma once
// The orientation a picture file records in its Exif metadata: IFD0's
// Orientation tag (0x0112, one SHORT), 1 to 8 as Orientation.h reads them.
// Portable; nothing is allocated.
//
// Both readers trust nothing in the data: every read stays inside the block
// they were given (for a JPEG file, inside the Exif segment's own length),
// and anything malformed, truncated, out of range or of the wrong type or
// count gives 1, the picture as stored.
#include <cstddef>
#include <cstdint>

// The orientation in a JPEG file: its markers are walked from SOI up to the
// first scan (never into entropy-coded data), and the first APP1 segment
// whose payload starts with "Exif\0\0" is read as a TIFF block (later ones
// are not looked at). Stray bytes between segments are skipped, as the JPEG
// decoder skips them. 1 when there is none, or when the file is broken
// before it.
int JpegExifOrientation(const std::uint8_t* Data, std::size_t Size);

// The orientation in a bare TIFF-structured block ("II" or "MM", 42, the
// offset of IFD0), as an Exif segment carries it after "Exif\0\0" and as
// other decoders hand over their metadata. IFD0 must lie after the 8-byte
// header, and its entry count and entries inside the block; the next-IFD
// offset after the entries is not needed and not read.
int TiffOrientation(const std::uint8_t* Tiff, std::size_t Size);
