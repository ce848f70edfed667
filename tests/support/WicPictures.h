#pragma once
// Picture files for the tests of the WIC reader, made by the tests: through
// WIC's own encoders (PNG, TIFF, BMP), or byte by byte where WIC cannot
// write what a test needs (GIF transparency and frame counts, TIFF pages
// with an orientation, icons, PNG pictures of any size).
#include <windows.h>
#include <wincodec.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/Pixels.h"

// Writes Frames (pixels 0xAARRGGBB, the alpha used when Alpha is true, else
// written opaque as 24-bit) as one file of WIC's Container format, one frame
// each. COM must be initialised. False when WIC cannot write it.
bool WriteWicFile(const std::string& Path, const GUID& Container, const std::vector<const TPixelBuffer*>& Frames,
                  bool Alpha = false);

// A GIF file of W x H frames of palette indices (at most 4 colours, given as
// 0x00RRGGBB), each frame as many pixels as the picture; Transparent, when
// 0 to 3, the index that every frame leaves transparent.
std::string GifFile(int W, int H, const std::vector<std::vector<std::uint8_t>>& Frames,
                    const std::vector<std::uint32_t>& Palette, int Transparent = -1);

// An uncompressed 24-bit RGB TIFF file of Pages pages, all showing Picture
// (they share one strip); Orientation 1 to 8 is written as tag 274 of every
// page, 0 writes none.
std::string TiffFile(const TPixelBuffer& Picture, int Pages, int Orientation = 0);

// An icon file whose images are 32-bit DIBs of the pixels given
// (0xAARRGGBB, straight alpha), in that order.
std::string IconFile(const std::vector<const TPixelBuffer*>& Images);

// A valid PNG file of W x H pixels, all zero, of the given colour type (0
// grey, 2 RGB, 6 RGBA; 8 bits a channel): a few hundred bytes per megapixel.
std::string ZerosPngFile(std::uint32_t W, std::uint32_t H, int ColourType);
// Png with the size in its header changed to W x H (its CRC made anew): a
// file that claims more than it holds.
std::string WithPngSize(std::string Png, std::uint32_t W, std::uint32_t H);
