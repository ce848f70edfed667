#pragma once
// Windows BMP files in memory: a reader in two steps (the header, so that the
// caller can size its bitmap, then the pixels straight into it) and a writer.
// Portable: the caller does the file input and output.
//
// Read: info headers of 12 (core), 40, 52, 56, 64 (OS/2 2.x, uncompressed and
// RLE only), 108 (V4) and 124 (V5) bytes; 1, 4, 8, 16, 24 and 32 bits per
// pixel; BI_RGB, BI_RLE8, BI_RLE4, and BI_BITFIELDS / BI_ALPHABITFIELDS for 16
// and 32 bits (masks after a 40-byte header or inside the longer ones; alpha
// ignored); rows bottom-up, or top-down for a negative height.
//
// Rejected (ReadBmpInfo returns false): no "BM" signature; truncated headers,
// masks or colour tables; a plane count other than 1; bit counts and
// compressions outside the list; width or height 0, negative width, a side
// above 65535, or more than 512 MiB of 32-bit pixels; uncompressed pixel rows
// (each padded to 4 bytes) that do not all fit in the data after the pixel
// offset; RLE pictures of more than 128 pixels per byte of data after the
// pixel offset (runs code at most 255 pixels in 2 bytes). Within that bound
// RLE data may end anywhere: decoding stops there.
//
// Colour indices beyond the file's colour table give black. Pixels that RLE
// data skips (with its delta and end-of-line escapes, or by ending early)
// take the colour of the first table entry, the picture's background.
// Decoded pixels have a high byte of 0.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/Pixels.h"

enum : std::uint32_t {
  BmpRgb = 0,
  BmpRle8 = 1,
  BmpRle4 = 2,
  BmpBitFields = 3,  // BI_ALPHABITFIELDS files are read as this too
};

struct TBmpInfo {
  int Width = 0;   // > 0
  int Height = 0;  // > 0; TopDown tells the row order
  bool TopDown = false;
  int BitsPerPixel = 0;
  std::uint32_t Compression = BmpRgb;
  // Channel masks for 16 and 32 bits per pixel (the 5-5-5 and 8-8-8
  // defaults for BI_RGB).
  std::uint32_t RedMask = 0, GreenMask = 0, BlueMask = 0;
  std::size_t PixelOffset = 0;  // start of the pixel data in the file
  int PaletteSize = 0;          // colour table entries read from the file
  std::uint32_t Palette[256] = {};  // 0x00RRGGBB; entries past PaletteSize black
};

// Reads and checks the file and info headers and the colour table.
bool ReadBmpInfo(const std::uint8_t* Data, std::size_t Size, TBmpInfo& Info);

// Decodes the pixels of the file that ReadBmpInfo described in Info into
// Dest, which must be Info.Width x Info.Height. False, with Dest untouched,
// when the sizes differ or Info does not fit the data.
bool DecodeBmp(const std::uint8_t* Data, std::size_t Size, const TBmpInfo& Info,
               const TPixelView& Dest);

// Uncompressed files (not RLE), read a strip of rows at a time:
// BmpRowsReadable says whether DecodeBmp would accept the file;
// DecodeBmpRows decodes the picture rows First to First + Count - 1,
// counted from the top whatever the file's row order, into Rows (each
// Info.Width pixels). False, with nothing written, for an RLE file, a file
// that DecodeBmp would refuse, or rows outside the picture.
bool BmpRowsReadable(const std::uint8_t* Data, std::size_t Size, const TBmpInfo& Info);
bool DecodeBmpRows(const std::uint8_t* Data, std::size_t Size, const TBmpInfo& Info, int First,
                   std::uint32_t* const* Rows, int Count);

// The whole BMP file of Src: the 14-byte file header, a 40-byte
// BITMAPINFOHEADER (positive height, so rows bottom-up; 1 plane; BI_RGB;
// biSizeImage set), a colour table at 8 bits per pixel or less, and the rows,
// each padded to 4 bytes. BitsPerPixel is 1, 4, 8, 16, 24 or 32:
//  - 32: B, G, R, 0; 24: B, G, R; 16: 5-5-5, each channel rounded to 5 bits;
//  - 8: a fixed table of the 6 x 6 x 6 colour cube (levels 0, 51, ..., 255;
//    index 36 r + 6 g + b) followed by 40 further greys;
//  - 4: the 16 VGA colours; 1: black and white;
//    each pixel takes its nearest table colour (least squared RGB distance,
//    ties to the lower index), without dithering.
// The high byte of Src's pixels is ignored. Empty for a picture without
// pixels, another bit count, or a file of 4 GiB or more.
std::vector<std::uint8_t> EncodeBmp(const TPixelView& Src, int BitsPerPixel);
