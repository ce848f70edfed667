#include "core/PictureHeaders.h"

#include <algorithm>
#include <cstring>

namespace {

// Reads a file from the start forwards through a buffer, so that walking a
// chain of small blocks costs few reads of the source.
class TSequentialReader {
 public:
  explicit TSequentialReader(TByteSource& Source, std::uint64_t Start = 0) : Source(Source), Next(Start) {}

  bool Read(void* Out, std::size_t Count) {
    auto* To = static_cast<std::uint8_t*>(Out);
    while (Count > 0) {
      if (At == Have && !Fill()) return false;
      const std::size_t Part = std::min(Count, Have - At);
      std::memcpy(To, Buffer + At, Part);
      At += Part;
      To += Part;
      Count -= Part;
    }
    return true;
  }
  bool Byte(std::uint8_t& Value) { return Read(&Value, 1); }
  // Moves forwards; what lies beyond the buffer is not read.
  void Skip(std::uint64_t Count) {
    const std::uint64_t InBuffer = Have - At;
    if (Count <= InBuffer) {
      At += static_cast<std::size_t>(Count);
    } else {
      Next += Count - InBuffer;
      At = Have = 0;
    }
  }
  std::uint64_t Offset() const { return Next - (Have - At); }

 private:
  bool Fill() {
    Have = Source.ReadAt(Next, Buffer, sizeof Buffer);
    At = 0;
    Next += Have;
    return Have > 0;
  }

  TByteSource& Source;
  std::uint64_t Next;  // the offset of the byte after the buffer's content
  std::uint8_t Buffer[4096];
  std::size_t Have = 0, At = 0;
};

std::uint32_t Big32(const std::uint8_t* P) {
  return static_cast<std::uint32_t>(P[0]) << 24 | static_cast<std::uint32_t>(P[1]) << 16 |
         static_cast<std::uint32_t>(P[2]) << 8 | P[3];
}
std::uint16_t Little16(const std::uint8_t* P) { return static_cast<std::uint16_t>(P[0] | P[1] << 8); }
std::uint32_t Little32(const std::uint8_t* P) {
  return static_cast<std::uint32_t>(Little16(P)) | static_cast<std::uint32_t>(Little16(P + 2)) << 16;
}

const std::uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// The signature and the IHDR chunk, which must come first: 33 bytes.
bool ReadPng(const std::uint8_t* Bytes, std::size_t Size, TPictureHeader& Header) {
  if (Size < 29 || Big32(Bytes + 8) != 13 || std::memcmp(Bytes + 12, "IHDR", 4) != 0) return false;
  const int Depth = Bytes[24];
  int Channels = 0;
  switch (Bytes[25]) {
    case 0: Channels = 1; break;  // grey
    case 2: Channels = 3; break;  // RGB
    case 3: Channels = 1; break;  // palette
    case 4: Channels = 2; break;  // grey and alpha
    case 6: Channels = 4; break;  // RGBA
    default: return false;
  }
  if (Depth != 1 && Depth != 2 && Depth != 4 && Depth != 8 && Depth != 16) return false;
  Header.Width = Big32(Bytes + 16);
  Header.Height = Big32(Bytes + 20);
  Header.BitsPerPixel = Depth * Channels;
  return Header.Width > 0 && Header.Height > 0;
}

// Skips a chain of data sub-blocks, up to and with its empty terminator.
bool SkipSubBlocks(TSequentialReader& Reader) {
  for (std::uint8_t Size; Reader.Byte(Size);) {
    if (Size == 0) return true;
    Reader.Skip(Size);
  }
  return false;
}

std::uint64_t ColourTableBytes(std::uint8_t Flags) { return (Flags & 0x80) ? 3ull << ((Flags & 7) + 1) : 0; }

// Walks the blocks up to the end of the first image.
bool ReadGif(TByteSource& File, TPictureHeader& Header) {
  TSequentialReader Reader(File, 6);
  std::uint8_t Screen[7];
  if (!Reader.Read(Screen, sizeof Screen)) return false;
  Reader.Skip(ColourTableBytes(Screen[4]));
  for (std::uint8_t Introducer; Reader.Byte(Introducer);) {
    if (Introducer == 0x21) {  // an extension: its label, then sub-blocks
      std::uint8_t Label;
      if (!Reader.Byte(Label) || !SkipSubBlocks(Reader)) return false;
    } else if (Introducer == 0x2C) {  // the image descriptor
      std::uint8_t Image[9];
      std::uint8_t CodeSize;
      if (!Reader.Read(Image, sizeof Image)) return false;
      Reader.Skip(ColourTableBytes(Image[8]));
      if (!Reader.Byte(CodeSize) || !SkipSubBlocks(Reader)) return false;
      Header.Width = Little16(Image + 4);
      Header.Height = Little16(Image + 6);
      Header.FirstImageEnd = Reader.Offset();
      return Header.Width > 0 && Header.Height > 0;
    } else {
      return false;  // the trailer before any image, or not a block at all
    }
  }
  return false;
}

// The directory's largest image, then the size its own header gives: a PNG
// file's IHDR, or a DIB's header (whose height counts the mask too).
bool ReadIcon(TByteSource& File, int Count, TPictureHeader& Header) {
  TSequentialReader Reader(File, 6);
  std::uint64_t BestArea = 0;
  int BestBits = -1;
  std::uint32_t BestOffset = 0;
  for (int I = 0; I < Count; ++I) {
    std::uint8_t Entry[16];
    if (!Reader.Read(Entry, sizeof Entry)) return false;
    const std::uint64_t Area = static_cast<std::uint64_t>(Entry[0] ? Entry[0] : 256) * (Entry[1] ? Entry[1] : 256);
    const int Bits = Little16(Entry + 6);
    if (Area > BestArea || (Area == BestArea && Bits > BestBits)) {
      BestArea = Area;
      BestBits = Bits;
      BestOffset = Little32(Entry + 12);
      Header.IconIndex = I;
    }
  }
  std::uint8_t Image[33];
  const std::size_t Got = File.ReadAt(BestOffset, Image, sizeof Image);
  if (Got >= 8 && std::memcmp(Image, PngSignature, 8) == 0) return ReadPng(Image, Got, Header);
  if (Got < 16) return false;
  const std::uint32_t HeaderSize = Little32(Image);
  if (HeaderSize == 12) {  // BITMAPCOREHEADER
    Header.Width = Little16(Image + 4);
    Header.Height = Little16(Image + 6) / 2u;
    Header.BitsPerPixel = Little16(Image + 10);
  } else if (HeaderSize >= 40) {  // BITMAPINFOHEADER and its successors
    const auto Width = static_cast<std::int32_t>(Little32(Image + 4));
    const auto Height = static_cast<std::int32_t>(Little32(Image + 8));
    if (Width <= 0 || Height == 0 || Height == INT32_MIN) return false;
    Header.Width = static_cast<std::uint32_t>(Width);
    Header.Height = static_cast<std::uint32_t>(Height < 0 ? -Height : Height) / 2u;
    Header.BitsPerPixel = Little16(Image + 14);
  } else {
    return false;
  }
  return Header.Width > 0 && Header.Height > 0;
}

}  // namespace

bool FrameWithinBounds(std::uint64_t Width, std::uint64_t Height, int BitsPerPixel) {
  if (Width == 0 || Height == 0 || Width > MaxFrameSide || Height > MaxFrameSide) return false;
  const std::uint64_t Bits = static_cast<std::uint64_t>(std::max(BitsPerPixel, 32));
  return Width * Height * Bits / 8 <= MaxFrameBytes;
}

bool ReadPictureHeader(TByteSource& File, TPictureHeader& Header) {
  Header = TPictureHeader();
  std::uint8_t Start[33];
  const std::size_t Got = File.ReadAt(0, Start, sizeof Start);
  if (Got >= 8 && std::memcmp(Start, PngSignature, 8) == 0) {
    Header.Kind = TPictureHeaderKind::Png;
    return ReadPng(Start, Got, Header);
  }
  if (Got >= 6 && (std::memcmp(Start, "GIF87a", 6) == 0 || std::memcmp(Start, "GIF89a", 6) == 0)) {
    Header.Kind = TPictureHeaderKind::Gif;
    return ReadGif(File, Header);
  }
  // An icon (type 1) or cursor (type 2) directory of at least one entry.
  if (Got >= 6 && Little16(Start) == 0 && (Little16(Start + 2) == 1 || Little16(Start + 2) == 2) &&
      Little16(Start + 4) > 0) {
    Header.Kind = TPictureHeaderKind::Icon;
    return ReadIcon(File, Little16(Start + 4), Header);
  }
  return true;
}
