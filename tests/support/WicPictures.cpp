#include "support/WicPictures.h"

#include <cstring>

#include "platform/Wic.h"
#include "platform/WideText.h"

namespace {

void Put16(std::string& Out, unsigned Value) {
  Out += static_cast<char>(Value & 0xFF);
  Out += static_cast<char>((Value >> 8) & 0xFF);
}
void Put32(std::string& Out, std::uint32_t Value) {
  Put16(Out, Value & 0xFFFF);
  Put16(Out, Value >> 16);
}
void PutBig32(std::string& Out, std::uint32_t Value) {
  for (int Shift = 24; Shift >= 0; Shift -= 8) Out += static_cast<char>((Value >> Shift) & 0xFF);
}

std::uint32_t Crc32(const char* Data, std::size_t Size) {
  std::uint32_t Crc = 0xFFFFFFFF;
  for (std::size_t I = 0; I < Size; ++I) {
    Crc ^= static_cast<std::uint8_t>(Data[I]);
    for (int Bit = 0; Bit < 8; ++Bit) Crc = (Crc >> 1) ^ (0xEDB88320u & (0u - (Crc & 1)));
  }
  return ~Crc;
}

void PutPngChunk(std::string& Out, const char* Type, const std::string& Data) {
  PutBig32(Out, static_cast<std::uint32_t>(Data.size()));
  const std::string Body = std::string(Type, 4) + Data;
  Out += Body;
  PutBig32(Out, Crc32(Body.data(), Body.size()));
}

// Deflate's bits, least significant first; Huffman codes go most
// significant bit first.
class TBitWriter {
 public:
  void Bits(std::uint32_t Value, int Count) {
    for (int I = 0; I < Count; ++I) Bit((Value >> I) & 1);
  }
  void Code(std::uint32_t Value, int Count) {
    for (int I = Count - 1; I >= 0; --I) Bit((Value >> I) & 1);
  }
  std::string Finish() {
    if (Used) Out += static_cast<char>(Current);
    return Out;
  }

 private:
  void Bit(std::uint32_t B) {
    Current |= B << Used;
    if (++Used == 8) {
      Out += static_cast<char>(Current);
      Current = 0;
      Used = 0;
    }
  }
  std::string Out;
  std::uint32_t Current = 0;
  int Used = 0;
};

// A zlib stream of Count zero bytes in one block of fixed Huffman codes: a
// literal zero, then copies of 258 bytes at distance 1, then literals.
std::string ZlibZeros(std::uint64_t Count) {
  TBitWriter Writer;
  Writer.Bits(1, 1);  // the final block
  Writer.Bits(1, 2);  // fixed codes
  auto Literal0 = [&] { Writer.Code(0x30, 8); };
  std::uint64_t Left = Count;
  if (Left > 0) {
    Literal0();
    --Left;
  }
  for (; Left >= 258; Left -= 258) {
    Writer.Code(0xC5, 8);  // length 258 (code 285)
    Writer.Code(0, 5);     // distance 1
  }
  for (; Left > 0; --Left) Literal0();
  Writer.Code(0, 7);  // end of block
  std::string Out = "\x78\x01";
  Out += Writer.Finish();
  PutBig32(Out, static_cast<std::uint32_t>(Count % 65521) << 16 | 1);  // Adler-32 of zeros
  return Out;
}

// LZW codes of the palette indices, at the narrowest width: a clear code
// after every two codes keeps the table from growing.
std::string LzwIndices(const std::vector<std::uint8_t>& Indices) {
  constexpr int MinimumCodeSize = 2, Width = 3, Clear = 4, End = 5;
  TBitWriter Writer;
  Writer.Bits(Clear, Width);
  int SinceClear = 0;
  for (const std::uint8_t Index : Indices) {
    Writer.Bits(Index & 3, Width);
    if (++SinceClear == 2) {
      Writer.Bits(Clear, Width);
      SinceClear = 0;
    }
  }
  Writer.Bits(End, Width);
  const std::string Codes = Writer.Finish();
  std::string Out(1, static_cast<char>(MinimumCodeSize));
  for (std::size_t At = 0; At < Codes.size(); At += 255) {
    const std::size_t Part = std::min<std::size_t>(255, Codes.size() - At);
    Out += static_cast<char>(Part);
    Out.append(Codes, At, Part);
  }
  Out += '\0';
  return Out;
}

}  // namespace

bool WriteWicFile(const std::string& Path, const GUID& Container, const std::vector<const TPixelBuffer*>& Frames,
                  bool Alpha) {
  const TComPtr<IWICImagingFactory> Factory = CreateWicFactory();
  TComPtr<IWICStream> Stream;
  TComPtr<IWICBitmapEncoder> Encoder;
  if (!Factory || FAILED(Factory->CreateStream(Stream.Put())) ||
      FAILED(Stream->InitializeFromFilename(WidePath(Path).c_str(), GENERIC_WRITE)) ||
      FAILED(Factory->CreateEncoder(Container, nullptr, Encoder.Put())) ||
      FAILED(Encoder->Initialize(Stream.Get(), WICBitmapEncoderNoCache)))
    return false;
  for (const TPixelBuffer* Picture : Frames) {
    TComPtr<IWICBitmapFrameEncode> Frame;
    TComPtr<IPropertyBag2> Options;
    const WICPixelFormatGUID Wanted = Alpha ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
    WICPixelFormatGUID Format = Wanted;
    if (FAILED(Encoder->CreateNewFrame(Frame.Put(), Options.Put())) || FAILED(Frame->Initialize(Options.Get())) ||
        FAILED(Frame->SetSize(static_cast<UINT>(Picture->Width), static_cast<UINT>(Picture->Height))) ||
        FAILED(Frame->SetPixelFormat(&Format)) || Format != Wanted)
      return false;
    const int PixelBytes = Alpha ? 4 : 3;
    const UINT Stride = static_cast<UINT>((Picture->Width * PixelBytes + 3) & ~3);
    std::vector<BYTE> Bytes(static_cast<std::size_t>(Stride) * Picture->Height);
    for (int Y = 0; Y < Picture->Height; ++Y)
      for (int X = 0; X < Picture->Width; ++X) {
        const std::uint32_t P = Picture->At(X, Y);
        std::memcpy(&Bytes[static_cast<std::size_t>(Y) * Stride + static_cast<std::size_t>(X) * PixelBytes], &P,
                    static_cast<std::size_t>(PixelBytes));
      }
    if (FAILED(Frame->WritePixels(static_cast<UINT>(Picture->Height), Stride, static_cast<UINT>(Bytes.size()),
                                  Bytes.data())) ||
        FAILED(Frame->Commit()))
      return false;
  }
  return SUCCEEDED(Encoder->Commit());
}

std::string GifFile(int W, int H, const std::vector<std::vector<std::uint8_t>>& Frames,
                    const std::vector<std::uint32_t>& Palette, int Transparent) {
  std::string Out = "GIF89a";
  Put16(Out, static_cast<unsigned>(W));
  Put16(Out, static_cast<unsigned>(H));
  Out += '\xF1';  // a global table of 4 colours
  Out += std::string(2, '\0');
  for (int I = 0; I < 4; ++I) {
    const std::uint32_t C = I < static_cast<int>(Palette.size()) ? Palette[I] : 0;
    Out += static_cast<char>(PixelR(C));
    Out += static_cast<char>(PixelG(C));
    Out += static_cast<char>(PixelB(C));
  }
  for (const std::vector<std::uint8_t>& Frame : Frames) {
    // Graphic control: disposal none, 1/10 s, the transparent index.
    Out += "\x21\xF9\x04";
    Out += static_cast<char>(Transparent >= 0 ? 1 : 0);
    Put16(Out, 10);
    Out += static_cast<char>(Transparent >= 0 ? Transparent : 0);
    Out += '\0';
    Out += '\x2C';
    Put16(Out, 0);
    Put16(Out, 0);
    Put16(Out, static_cast<unsigned>(W));
    Put16(Out, static_cast<unsigned>(H));
    Out += '\0';
    Out += LzwIndices(Frame);
  }
  Out += '\x3B';
  return Out;
}

std::string TiffFile(const TPixelBuffer& Picture, int Pages, int Orientation) {
  const std::uint32_t StripBytes = static_cast<std::uint32_t>(Picture.Width * Picture.Height * 3);
  std::string Out = "II*";
  Out += '\0';
  const std::uint32_t BitsAt = 8 + StripBytes;
  Put32(Out, BitsAt + 6);  // the first page's directory, after the strip and the bit counts
  for (int Y = 0; Y < Picture.Height; ++Y)
    for (int X = 0; X < Picture.Width; ++X) {
      const std::uint32_t P = Picture.At(X, Y);
      Out += static_cast<char>(PixelR(P));
      Out += static_cast<char>(PixelG(P));
      Out += static_cast<char>(PixelB(P));
    }
  for (int I = 0; I < 3; ++I) Put16(Out, 8);
  struct TTag {
    unsigned Id, Type, Count;
    std::uint32_t Value;
  };
  std::vector<TTag> Tags = {{256, 4, 1, static_cast<std::uint32_t>(Picture.Width)},
                            {257, 4, 1, static_cast<std::uint32_t>(Picture.Height)},
                            {258, 3, 3, BitsAt},
                            {259, 3, 1, 1},
                            {262, 3, 1, 2},
                            {273, 4, 1, 8},
                            {277, 3, 1, 3},
                            {278, 4, 1, static_cast<std::uint32_t>(Picture.Height)},
                            {279, 4, 1, StripBytes},
                            {284, 3, 1, 1}};
  if (Orientation > 0) Tags.insert(Tags.begin() + 6, TTag{274, 3, 1, static_cast<std::uint32_t>(Orientation)});
  for (int Page = 0; Page < Pages; ++Page) {
    const std::uint32_t Next =
        Page + 1 < Pages ? static_cast<std::uint32_t>(Out.size() + 2 + 12 * Tags.size() + 4) : 0;
    Put16(Out, static_cast<unsigned>(Tags.size()));
    for (const TTag& Tag : Tags) {
      Put16(Out, Tag.Id);
      Put16(Out, Tag.Type);
      Put32(Out, Tag.Count);
      if (Tag.Type == 3 && Tag.Count == 1) {
        Put16(Out, Tag.Value);
        Put16(Out, 0);
      } else {
        Put32(Out, Tag.Value);
      }
    }
    Put32(Out, Next);
  }
  return Out;
}

std::string IconFile(const std::vector<const TPixelBuffer*>& Images) {
  std::string Directory, Data;
  Put16(Directory, 0);
  Put16(Directory, 1);
  Put16(Directory, static_cast<unsigned>(Images.size()));
  std::uint32_t Offset = static_cast<std::uint32_t>(6 + 16 * Images.size());
  for (const TPixelBuffer* Image : Images) {
    const int W = Image->Width, H = Image->Height;
    const int MaskStride = ((W + 31) / 32) * 4;
    std::string Dib;
    Put32(Dib, 40);
    Put32(Dib, static_cast<std::uint32_t>(W));
    Put32(Dib, static_cast<std::uint32_t>(2 * H));  // the colours and the mask
    Put16(Dib, 1);
    Put16(Dib, 32);
    Put32(Dib, 0);
    Put32(Dib, static_cast<std::uint32_t>(W * H * 4 + MaskStride * H));
    Dib += std::string(16, '\0');
    for (int Y = H - 1; Y >= 0; --Y)
      for (int X = 0; X < W; ++X) Put32(Dib, Image->At(X, Y));
    Dib += std::string(static_cast<std::size_t>(MaskStride * H), '\0');
    Directory += static_cast<char>(W >= 256 ? 0 : W);
    Directory += static_cast<char>(H >= 256 ? 0 : H);
    Directory += std::string(2, '\0');
    Put16(Directory, 1);
    Put16(Directory, 32);
    Put32(Directory, static_cast<std::uint32_t>(Dib.size()));
    Put32(Directory, Offset);
    Offset += static_cast<std::uint32_t>(Dib.size());
    Data += Dib;
  }
  return Directory + Data;
}

std::string ZerosPngFile(std::uint32_t W, std::uint32_t H, int ColourType) {
  const int Channels = ColourType == 6 ? 4 : ColourType == 2 ? 3 : 1;
  std::string Header;
  PutBig32(Header, W);
  PutBig32(Header, H);
  Header += static_cast<char>(8);
  Header += static_cast<char>(ColourType);
  Header += std::string(3, '\0');
  std::string Out = "\x89PNG\r\n\x1A\n";
  PutPngChunk(Out, "IHDR", Header);
  // Each row: its filter byte (none) and its pixels.
  PutPngChunk(Out, "IDAT", ZlibZeros(static_cast<std::uint64_t>(H) * (1 + static_cast<std::uint64_t>(W) * Channels)));
  PutPngChunk(Out, "IEND", std::string());
  return Out;
}

std::string WithPngSize(std::string Png, std::uint32_t W, std::uint32_t H) {
  std::string Size;
  PutBig32(Size, W);
  PutBig32(Size, H);
  Png.replace(16, 8, Size);
  std::string Crc;
  PutBig32(Crc, Crc32(Png.data() + 12, 17));
  Png.replace(29, 4, Crc);
  return Png;
}
