#include "core/BmpCodec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <utility>

// Every read of the file goes through TReader, which checks its bounds; sizes
// are computed in 64 bits so that no product can wrap on a 32-bit target.

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t InfoHeaderSize = 40;
constexpr std::uint32_t BmpAlphaBitFields = 6;
constexpr std::int64_t MaxSide = 65535;
constexpr std::uint64_t MaxPixelBytes = 512ull * 1024 * 1024;
// A run codes at most 255 pixels in 2 bytes, so RLE data that codes its whole
// picture holds at most about 128 pixels per byte. A file claiming more would
// make the reader allocate and fill a picture its data cannot describe.
constexpr std::uint64_t MaxRlePixelsPerByte = 128;

class TReader {
 public:
  TReader(const std::uint8_t* Data, std::size_t Size) : Data(Data), Size(Size) {}
  bool Has(std::uint64_t Offset, std::uint64_t Count) const {
    return Offset <= Size && Count <= Size - Offset;
  }
  std::uint32_t U16(std::size_t At) const { return Data[At] | Data[At + 1] << 8; }
  std::uint32_t U32(std::size_t At) const {
    return Data[At] | Data[At + 1] << 8 | Data[At + 2] << 16 | static_cast<std::uint32_t>(Data[At + 3]) << 24;
  }
  std::int32_t I32(std::size_t At) const { return static_cast<std::int32_t>(U32(At)); }

 private:
  const std::uint8_t* Data;
  std::size_t Size;
};

std::uint64_t RowBytes(int Width, int BitsPerPixel) {
  return (static_cast<std::uint64_t>(Width) * BitsPerPixel + 31) / 32 * 4;
}

bool ValidFormat(int BitsPerPixel, std::uint32_t Compression) {
  switch (Compression) {
    case BmpRgb:
      return BitsPerPixel == 1 || BitsPerPixel == 4 || BitsPerPixel == 8 || BitsPerPixel == 16 ||
             BitsPerPixel == 24 || BitsPerPixel == 32;
    case BmpRle8: return BitsPerPixel == 8;
    case BmpRle4: return BitsPerPixel == 4;
    case BmpBitFields: return BitsPerPixel == 16 || BitsPerPixel == 32;
    default: return false;
  }
}

// A channel mask as a shift and a table from the field's values to 0..255
// (for fields of up to 8 bits; wider fields keep their top 8 bits).
class TChannel {
 public:
  // False for a mask whose bits are not contiguous.
  bool Set(std::uint32_t Mask) {
    Shift = Bits = 0;
    if (Mask == 0) return true;
    while (!(Mask >> Shift & 1)) ++Shift;
    while (Shift + Bits < 32 && (Mask >> (Shift + Bits) & 1)) ++Bits;
    if (Shift + Bits < 32 && (Mask >> (Shift + Bits)) != 0) return false;
    if (Bits < 8) {
      const std::uint32_t Max = (1u << Bits) - 1;
      for (std::uint32_t V = 0; V <= Max; ++V) Scale[V] = static_cast<std::uint8_t>((V * 255 + Max / 2) / Max);
    }
    return true;
  }
  std::uint32_t Get(std::uint32_t Value) const {
    if (Bits == 0) return 0;
    const std::uint32_t Field = Value >> Shift;
    if (Bits >= 8) return (Field >> (Bits - 8)) & 0xFF;
    return Scale[Field & ((1u << Bits) - 1)];
  }

 private:
  int Shift = 0, Bits = 0;
  std::array<std::uint8_t, 128> Scale{};
};

struct TMasks {
  TChannel Red, Green, Blue;
  bool Set(const TBmpInfo& Info) {
    return Red.Set(Info.RedMask) && Green.Set(Info.GreenMask) && Blue.Set(Info.BlueMask);
  }
  std::uint32_t Pixel(std::uint32_t Value) const {
    return Red.Get(Value) << 16 | Green.Get(Value) << 8 | Blue.Get(Value);
  }
};

// Colour table entries are B, G, R (and a reserved byte unless core).
void ReadPalette(const std::uint8_t* Entries, int Count, int EntrySize, TBmpInfo& Info) {
  Info.PaletteSize = Count;
  for (int I = 0; I < Count; ++I) {
    const std::uint8_t* E = Entries + static_cast<std::size_t>(I) * EntrySize;
    Info.Palette[I] = MakePixel(E[2], E[1], E[0]);
  }
}

}  // namespace

bool ReadBmpInfo(const std::uint8_t* Data, std::size_t Size, TBmpInfo& Info) {
  Info = TBmpInfo{};
  if (Data == nullptr) return false;
  const TReader File(Data, Size);
  if (!File.Has(0, FileHeaderSize + 4) || Data[0] != 'B' || Data[1] != 'M') return false;
  const std::uint32_t DataOffset = File.U32(10);
  const std::uint32_t HeaderSize = File.U32(FileHeaderSize);
  const std::size_t H = FileHeaderSize;  // the info header
  const bool Core = HeaderSize == 12;
  if (!Core && HeaderSize != 40 && HeaderSize != 52 && HeaderSize != 56 && HeaderSize != 64 &&
      HeaderSize != 108 && HeaderSize != 124)
    return false;
  if (!File.Has(H, HeaderSize)) return false;

  std::int64_t Width, Height;
  std::uint32_t Planes, ColoursUsed = 0;
  if (Core) {
    Width = File.U16(H + 4);
    Height = File.U16(H + 6);
    Planes = File.U16(H + 8);
    Info.BitsPerPixel = static_cast<int>(File.U16(H + 10));
    if (Info.BitsPerPixel == 16 || Info.BitsPerPixel == 32) return false;
  } else {
    Width = File.I32(H + 4);
    Height = File.I32(H + 8);
    Planes = File.U16(H + 12);
    Info.BitsPerPixel = static_cast<int>(File.U16(H + 14));
    Info.Compression = File.U32(H + 16);
    ColoursUsed = File.U32(H + 32);
  }
  std::size_t MasksAfterHeader = 0;
  if (Info.Compression == BmpAlphaBitFields) {
    Info.Compression = BmpBitFields;
    if (HeaderSize == 40) MasksAfterHeader = 16;
  } else if (Info.Compression == BmpBitFields && HeaderSize == 40) {
    MasksAfterHeader = 12;
  }
  // OS/2 2.x headers give compression 3 and 4 other meanings; not read.
  if (HeaderSize == 64 && Info.Compression == BmpBitFields) return false;
  if (Planes != 1 || !ValidFormat(Info.BitsPerPixel, Info.Compression)) return false;

  Info.TopDown = Height < 0;
  if (Height < 0) Height = -Height;
  if (Width <= 0 || Height == 0 || Width > MaxSide || Height > MaxSide) return false;
  if (static_cast<std::uint64_t>(Width * Height) * 4 > MaxPixelBytes) return false;
  Info.Width = static_cast<int>(Width);
  Info.Height = static_cast<int>(Height);

  if (Info.BitsPerPixel == 16) {
    Info.RedMask = 0x7C00, Info.GreenMask = 0x03E0, Info.BlueMask = 0x001F;
  } else if (Info.BitsPerPixel == 32) {
    Info.RedMask = 0x00FF0000, Info.GreenMask = 0x0000FF00, Info.BlueMask = 0x000000FF;
  }
  const std::size_t HeaderEnd = H + HeaderSize;
  if (Info.Compression == BmpBitFields) {
    const std::size_t MaskAt = MasksAfterHeader ? HeaderEnd : H + 40;
    if (!File.Has(MaskAt, 12)) return false;
    Info.RedMask = File.U32(MaskAt);
    Info.GreenMask = File.U32(MaskAt + 4);
    Info.BlueMask = File.U32(MaskAt + 8);
    if (!TMasks().Set(Info)) return false;
  }

  const std::size_t PaletteAt = HeaderEnd + MasksAfterHeader;
  std::size_t PaletteEnd = PaletteAt;
  if (Info.BitsPerPixel <= 8) {
    const std::uint32_t Full = 1u << Info.BitsPerPixel;
    const int Count = static_cast<int>(ColoursUsed == 0 || ColoursUsed > Full ? Full : ColoursUsed);
    const int EntrySize = Core ? 3 : 4;
    if (!File.Has(PaletteAt, static_cast<std::uint64_t>(Count) * EntrySize)) return false;
    ReadPalette(Data + PaletteAt, Count, EntrySize, Info);
    PaletteEnd = PaletteAt + static_cast<std::size_t>(Count) * EntrySize;
  }

  // An offset of 0 means the pixels follow the colour table.
  Info.PixelOffset = DataOffset != 0 ? DataOffset : PaletteEnd;
  if (Info.PixelOffset > Size) return false;
  if (Info.Compression == BmpRgb || Info.Compression == BmpBitFields) {
    if (!File.Has(Info.PixelOffset, RowBytes(Info.Width, Info.BitsPerPixel) * Info.Height)) return false;
  } else if (static_cast<std::uint64_t>(Info.Width) * Info.Height >
             MaxRlePixelsPerByte * static_cast<std::uint64_t>(Size - Info.PixelOffset)) {
    return false;
  }
  return true;
}

namespace {

// The destination row of the picture row stored Stored-th in the file.
std::uint32_t* DestRow(const TBmpInfo& Info, const TPixelView& Dest, std::int64_t Stored) {
  return Dest.Row(Info.TopDown ? static_cast<int>(Stored) : Info.Height - 1 - static_cast<int>(Stored));
}

// Decodes one row as stored in the file.
void DecodeRow(const std::uint8_t* In, const TBmpInfo& Info, const TMasks& Masks, std::uint32_t* Out) {
  const int W = Info.Width;
  switch (Info.BitsPerPixel) {
    case 1:
      for (int X = 0; X < W; ++X) Out[X] = Info.Palette[In[X >> 3] >> (7 - (X & 7)) & 1];
      break;
    case 4:
      for (int X = 0; X < W; ++X) Out[X] = Info.Palette[In[X >> 1] >> (X & 1 ? 0 : 4) & 0x0F];
      break;
    case 8:
      for (int X = 0; X < W; ++X) Out[X] = Info.Palette[In[X]];
      break;
    case 16:
      for (int X = 0; X < W; ++X) Out[X] = Masks.Pixel(In[2 * X] | In[2 * X + 1] << 8);
      break;
    case 24:
      for (int X = 0; X < W; ++X) Out[X] = MakePixel(In[3 * X + 2], In[3 * X + 1], In[3 * X]);
      break;
    case 32:
      if (Info.Compression == BmpRgb) {
        for (int X = 0; X < W; ++X) Out[X] = MakePixel(In[4 * X + 2], In[4 * X + 1], In[4 * X]);
      } else {
        for (int X = 0; X < W; ++X)
          Out[X] = Masks.Pixel(In[4 * X] | In[4 * X + 1] << 8 | In[4 * X + 2] << 16 |
                               static_cast<std::uint32_t>(In[4 * X + 3]) << 24);
      }
      break;
  }
}

void DecodeRows(const std::uint8_t* Pixels, const TBmpInfo& Info, const TMasks& Masks,
                const TPixelView& Dest) {
  const std::size_t Stride = static_cast<std::size_t>(RowBytes(Info.Width, Info.BitsPerPixel));
  for (int R = 0; R < Info.Height; ++R)
    DecodeRow(Pixels + static_cast<std::size_t>(R) * Stride, Info, Masks, DestRow(Info, Dest, R));
}

// Whether an uncompressed file's format, masks and rows are all good.
bool RowsReadable(const std::uint8_t* Data, std::size_t Size, const TBmpInfo& Info, TMasks& Masks) {
  return Data != nullptr && Info.Width > 0 && Info.Height > 0 && Info.Compression != BmpRle8 &&
         Info.Compression != BmpRle4 && ValidFormat(Info.BitsPerPixel, Info.Compression) && Masks.Set(Info) &&
         TReader(Data, Size).Has(Info.PixelOffset, RowBytes(Info.Width, Info.BitsPerPixel) * Info.Height);
}

// RLE8 and RLE4: pairs (count, value) are runs; (0, 0) ends a line, (0, 1)
// the bitmap, (0, 2, dx, dy) moves the cursor, (0, n >= 3) is followed by n
// literal indices padded to a 16-bit boundary. Runs are clipped at the right
// edge; decoding stops at the end of the data or below the last row.
void DecodeRle(const std::uint8_t* Data, std::size_t Size, const TBmpInfo& Info,
               const TPixelView& Dest) {
  for (int Y = 0; Y < Dest.Height; ++Y) std::fill(Dest.Row(Y), Dest.Row(Y) + Dest.Width, Info.Palette[0]);
  const bool Four = Info.Compression == BmpRle4;
  std::size_t P = Info.PixelOffset;
  std::int64_t X = 0, Row = 0;
  auto Put = [&](std::uint32_t Index) {
    if (X < Info.Width) DestRow(Info, Dest, Row)[X] = Info.Palette[Index];
    ++X;
  };
  while (Row < Info.Height && P + 2 <= Size) {
    const int Count = Data[P], Value = Data[P + 1];
    P += 2;
    if (Count > 0) {
      if (X >= Info.Width) continue;
      for (int I = 0; I < Count && X < Info.Width; ++I)
        Put(Four ? (I & 1 ? Value & 0x0F : Value >> 4) : Value);
    } else if (Value == 0) {
      X = 0;
      ++Row;
    } else if (Value == 1) {
      break;
    } else if (Value == 2) {
      if (P + 2 > Size) break;
      X = std::min<std::int64_t>(X + Data[P], Info.Width);
      Row += Data[P + 1];
      P += 2;
    } else {
      const std::size_t Bytes = Four ? (Value + 1) / 2 : Value;
      for (int I = 0; I < Value; ++I) {
        const std::size_t At = P + (Four ? I / 2 : I);
        if (At >= Size) break;
        Put(Four ? (I & 1 ? Data[At] & 0x0F : Data[At] >> 4) : Data[At]);
      }
      P += Bytes + (Bytes & 1);
    }
  }
}

}  // namespace

bool DecodeBmp(const std::uint8_t* Data, std::size_t Size, const TBmpInfo& Info,
               const TPixelView& Dest) {
  if (Data == nullptr || Dest.Pixels == nullptr || Dest.Width != Info.Width ||
      Dest.Height != Info.Height || Info.Width <= 0 || Info.Height <= 0 ||
      !ValidFormat(Info.BitsPerPixel, Info.Compression) || Info.PixelOffset > Size)
    return false;
  if (Info.Compression == BmpRle8 || Info.Compression == BmpRle4) {
    DecodeRle(Data, Size, Info, Dest);
    return true;
  }
  TMasks Masks;
  if (!RowsReadable(Data, Size, Info, Masks)) return false;
  DecodeRows(Data + Info.PixelOffset, Info, Masks, Dest);
  return true;
}

bool BmpRowsReadable(const std::uint8_t* Data, std::size_t Size, const TBmpInfo& Info) {
  TMasks Masks;
  return RowsReadable(Data, Size, Info, Masks);
}

bool DecodeBmpRows(const std::uint8_t* Data, std::size_t Size, const TBmpInfo& Info, int First,
                   std::uint32_t* const* Rows, int Count) {
  TMasks Masks;
  if (!RowsReadable(Data, Size, Info, Masks) || First < 0 || Count < 0 || Count > Info.Height - First) return false;
  const std::size_t Stride = static_cast<std::size_t>(RowBytes(Info.Width, Info.BitsPerPixel));
  for (int I = 0; I < Count; ++I) {
    const int Y = First + I;
    const int Stored = Info.TopDown ? Y : Info.Height - 1 - Y;
    DecodeRow(Data + Info.PixelOffset + static_cast<std::size_t>(Stored) * Stride, Info, Masks, Rows[I]);
  }
  return true;
}

namespace {

// Fixed colour tables of the writer, as 0x00RRGGBB.
struct TPalette {
  std::uint32_t Colours[256];
  int Count;
};

TPalette MonoPalette() { return {{0x000000, 0xFFFFFF}, 2}; }

TPalette VgaPalette() {
  return {{0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
           0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF},
          16};
}

constexpr int CubeStep = 51;  // cube levels 0, 51, ..., 255
constexpr int CubeColours = 216;

// The 6 x 6 x 6 cube, then the greys 255 * k / 45 (rounded) for k = 1..44
// that are not cube levels: 40 of them.
TPalette CubePalette() {
  TPalette P{};
  for (int R = 0; R < 6; ++R)
    for (int G = 0; G < 6; ++G)
      for (int B = 0; B < 6; ++B) P.Colours[36 * R + 6 * G + B] = MakePixel(R * CubeStep, G * CubeStep, B * CubeStep);
  P.Count = CubeColours;
  for (int K = 1; K < 45; ++K)
    if (K % 9 != 0) {
      const int Level = (255 * K + 22) / 45;
      P.Colours[P.Count++] = MakePixel(Level, Level, Level);
    }
  return P;
}

int Distance(std::uint32_t A, std::uint32_t B) {
  const int R = PixelR(A) - PixelR(B), G = PixelG(A) - PixelG(B), Bl = PixelB(A) - PixelB(B);
  return R * R + G * G + Bl * Bl;
}

// Nearest colour by trying every entry; for the small tables.
class TSearchMapper {
 public:
  explicit TSearchMapper(const TPalette& Palette) : Palette(Palette) {}
  int Index(std::uint32_t Colour) {
    if (Colour == LastColour) return LastIndex;
    int Best = 0;
    for (int I = 1; I < Palette.Count; ++I)
      if (Distance(Colour, Palette.Colours[I]) < Distance(Colour, Palette.Colours[Best])) Best = I;
    LastColour = Colour;
    return LastIndex = Best;
  }

 private:
  const TPalette& Palette;
  std::uint32_t LastColour = 0xFFFFFFFF;  // never a masked colour
  int LastIndex = 0;
};

// Nearest colour of the cube palette without a search: the nearest cube
// colour is the nearest level per channel, and the nearest grey is the one
// nearest the channels' mean (the squared distance to grey g is
// 3 (g - mean)^2 plus a constant); the nearer of the two wins.
class TCubeMapper {
 public:
  explicit TCubeMapper(const TPalette& Palette) : Palette(Palette) {
    // Greys in the table by level, the cube's own included, lowest index
    // first for equal levels.
    std::vector<std::pair<int, int>> Greys;
    for (int I = 0; I < Palette.Count; ++I)
      if (PixelR(Palette.Colours[I]) == PixelG(Palette.Colours[I]) &&
          PixelG(Palette.Colours[I]) == PixelB(Palette.Colours[I]))
        Greys.push_back({PixelR(Palette.Colours[I]), I});
    std::sort(Greys.begin(), Greys.end());
    for (int Sum = 0; Sum <= 3 * 255; ++Sum) {
      // Nearest level to Sum / 3: compare |3 g - Sum|; ties to the lower index.
      int Best = Greys[0].second, BestGap = std::abs(3 * Greys[0].first - Sum);
      for (const auto& [Level, Index] : Greys) {
        const int Gap = std::abs(3 * Level - Sum);
        if (Gap < BestGap || (Gap == BestGap && Index < Best)) Best = Index, BestGap = Gap;
      }
      GreyBySum[Sum] = static_cast<std::uint8_t>(Best);
    }
  }
  int Index(std::uint32_t Colour) const {
    const int R = PixelR(Colour), G = PixelG(Colour), B = PixelB(Colour);
    const int Cube = 36 * ((R + CubeStep / 2) / CubeStep) + 6 * ((G + CubeStep / 2) / CubeStep) + (B + CubeStep / 2) / CubeStep;
    const int Grey = GreyBySum[R + G + B];
    const int CubeDistance = Distance(Colour, Palette.Colours[Cube]);
    const int GreyDistance = Distance(Colour, Palette.Colours[Grey]);
    if (GreyDistance < CubeDistance || (GreyDistance == CubeDistance && Grey < Cube)) return Grey;
    return Cube;
  }

 private:
  const TPalette& Palette;
  std::uint8_t GreyBySum[3 * 255 + 1];
};

class TWriter {
 public:
  explicit TWriter(std::vector<std::uint8_t>& Out) : Out(Out) {}
  void U8(std::uint32_t V) { Out.push_back(static_cast<std::uint8_t>(V)); }
  void U16(std::uint32_t V) { U8(V), U8(V >> 8); }
  void U32(std::uint32_t V) { U16(V), U16(V >> 16); }

 private:
  std::vector<std::uint8_t>& Out;
};

int To5Bits(int Channel) { return (Channel * 31 + 127) / 255; }

template <typename TMapper>
void WriteIndexedRow(const std::uint32_t* Row, int Width, int Bits, TMapper& Mapper, std::uint8_t* Out) {
  const int PerByte = 8 / Bits;
  for (int X = 0; X < Width; ++X) {
    const int Index = Mapper.Index(PixelRgb(Row[X]));
    const int Shift = 8 - Bits * (X % PerByte + 1);
    Out[X / PerByte] |= static_cast<std::uint8_t>(Index << Shift);
  }
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const TPixelView& Src, int BitsPerPixel) {
  std::vector<std::uint8_t> File;
  if (Src.Pixels == nullptr || Src.Width <= 0 || Src.Height <= 0) return File;
  TPalette Palette{};
  switch (BitsPerPixel) {
    case 1: Palette = MonoPalette(); break;
    case 4: Palette = VgaPalette(); break;
    case 8: Palette = CubePalette(); break;
    case 16: case 24: case 32: break;
    default: return File;
  }
  const std::uint64_t Stride = RowBytes(Src.Width, BitsPerPixel);
  const std::uint64_t ImageSize = Stride * Src.Height;
  const std::uint64_t Offset = FileHeaderSize + InfoHeaderSize + 4ull * Palette.Count;
  if (Offset + ImageSize > 0xFFFFFFFFull || Offset + ImageSize > SIZE_MAX) return File;

  File.reserve(static_cast<std::size_t>(Offset + ImageSize));
  TWriter W(File);
  W.U8('B'), W.U8('M');
  W.U32(static_cast<std::uint32_t>(Offset + ImageSize));
  W.U16(0), W.U16(0);
  W.U32(static_cast<std::uint32_t>(Offset));
  W.U32(InfoHeaderSize);
  W.U32(static_cast<std::uint32_t>(Src.Width));
  W.U32(static_cast<std::uint32_t>(Src.Height));  // positive: bottom-up
  W.U16(1);
  W.U16(static_cast<std::uint32_t>(BitsPerPixel));
  W.U32(BmpRgb);
  W.U32(static_cast<std::uint32_t>(ImageSize));
  W.U32(0), W.U32(0);  // no resolution given
  W.U32(static_cast<std::uint32_t>(Palette.Count));
  W.U32(0);
  for (int I = 0; I < Palette.Count; ++I) {
    const std::uint32_t C = Palette.Colours[I];
    W.U8(PixelB(C)), W.U8(PixelG(C)), W.U8(PixelR(C)), W.U8(0);
  }

  File.resize(static_cast<std::size_t>(Offset + ImageSize), 0);
  TSearchMapper Search(Palette);
  std::optional<TCubeMapper> Cube;
  if (BitsPerPixel == 8) Cube.emplace(Palette);
  for (int R = 0; R < Src.Height; ++R) {
    const std::uint32_t* Row = Src.Row(Src.Height - 1 - R);
    std::uint8_t* Out = File.data() + Offset + R * Stride;
    switch (BitsPerPixel) {
      case 1: case 4: WriteIndexedRow(Row, Src.Width, BitsPerPixel, Search, Out); break;
      case 8: WriteIndexedRow(Row, Src.Width, 8, *Cube, Out); break;
      case 16:
        for (int X = 0; X < Src.Width; ++X) {
          const std::uint32_t P = Row[X];
          const int V = To5Bits(PixelR(P)) << 10 | To5Bits(PixelG(P)) << 5 | To5Bits(PixelB(P));
          Out[2 * X] = static_cast<std::uint8_t>(V), Out[2 * X + 1] = static_cast<std::uint8_t>(V >> 8);
        }
        break;
      case 24:
        for (int X = 0; X < Src.Width; ++X) {
          Out[3 * X] = static_cast<std::uint8_t>(PixelB(Row[X]));
          Out[3 * X + 1] = static_cast<std::uint8_t>(PixelG(Row[X]));
          Out[3 * X + 2] = static_cast<std::uint8_t>(PixelR(Row[X]));
        }
        break;
      case 32:
        for (int X = 0; X < Src.Width; ++X) {
          Out[4 * X] = static_cast<std::uint8_t>(PixelB(Row[X]));
          Out[4 * X + 1] = static_cast<std::uint8_t>(PixelG(Row[X]));
          Out[4 * X + 2] = static_cast<std::uint8_t>(PixelR(Row[X]));
        }
        break;
    }
  }
  return File;
}
