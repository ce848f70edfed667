#pragma once
// The headers of picture files that a system decoder (WIC) reads, looked at
// before the decoder is given the file, and the bounds of what it is given.
// Some decoders do their work as soon as they get a file: Wine's decodes a
// whole PNG picture, every frame of a GIF file, and the chosen image of an
// icon when it is asked for, so a size check on what the decoder reports
// would come after the cost. Portable.
#include <cstddef>
#include <cstdint>

// A file's bytes, read from any offset.
class TByteSource {
 public:
  // Reads up to Count bytes from Offset into Buffer and returns how many it
  // read: fewer at the end of the file or on a read error.
  virtual std::size_t ReadAt(std::uint64_t Offset, void* Buffer, std::size_t Count) = 0;

 protected:
  ~TByteSource() = default;
};

// The largest frame a system decoder is asked for: a side of at most
// MaxFrameSide pixels and at most MaxFrameBytes of pixels at its stored
// depth, counted at least 32 bits a pixel (whatever its depth, each pixel is
// converted to 32 bits and resampled). A decoder's cost follows the bytes of
// the stored pixels; the bound keeps the costliest file it accepts at about
// a second of processor time (the measurements are in
// picture/WicPicture.h).
constexpr std::uint32_t MaxFrameSide = 65535;
constexpr std::uint64_t MaxFrameBytes = 128ull << 20;
// BitsPerPixel 0 when the depth is not known: counted as 32.
bool FrameWithinBounds(std::uint64_t Width, std::uint64_t Height, int BitsPerPixel);

enum class TPictureHeaderKind { Other, Png, Gif, Icon };

// What a header tells before the file is decoded.
struct TPictureHeader {
  TPictureHeaderKind Kind = TPictureHeaderKind::Other;
  // The picture a decoder will decode: a PNG file's, a GIF file's first
  // image (not its logical screen, which no decoder allocates), an icon's
  // largest image (the size its own header gives).
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
  // As stored (PNG, and an icon's image); 0 for a GIF file.
  int BitsPerPixel = 0;
  // A GIF file: the offset just past its first image. A decoder given only
  // the bytes before it reads one frame instead of all of them.
  std::uint64_t FirstImageEnd = 0;
  // An icon: the index of its largest image in the directory (the largest
  // area the directory gives; more bits per pixel among equals; the first
  // among the same), which is its frame number for a decoder.
  int IconIndex = 0;
};

// Reads the header of a PNG, GIF or icon file (told by their signatures,
// not by the name). Kind is Other for any other file, which is left to the
// decoder. False when the file is one of the three but its header is cut or
// broken, or a GIF file has no image.
bool ReadPictureHeader(TByteSource& File, TPictureHeader& Header);
