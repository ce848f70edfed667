#include "core/BmpCodec.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

using TBytes = std::vector<std::uint8_t>;

void Put16(TBytes& B, std::uint32_t V) {
  B.push_back(static_cast<std::uint8_t>(V));
  B.push_back(static_cast<std::uint8_t>(V >> 8));
}
void Put32(TBytes& B, std::uint32_t V) {
  Put16(B, V);
  Put16(B, V >> 16);
}
std::uint32_t Get32(const TBytes& B, std::size_t At) {
  return B[At] | B[At + 1] << 8 | B[At + 2] << 16 | static_cast<std::uint32_t>(B[At + 3]) << 24;
}

// Builds BMP files field by field, so tests can write every variant and
// every kind of damage.
struct TBmpFile {
  std::uint32_t HeaderSize = 40;
  std::int32_t Width = 0, Height = 0;
  std::uint32_t Planes = 1, Bits = 24, Compression = BmpRgb, ColoursUsed = 0;
  std::vector<std::uint32_t> Masks;  // inside the header (>= 52) or after it (40)
  std::vector<std::uint32_t> Palette;  // 0x00RRGGBB
  TBytes Pixels;
  std::int64_t DataOffset = -1;  // -1: right after the colour table

  TBytes Build() const {
    TBytes B = {'B', 'M'};
    Put32(B, 0);  // file size, patched below
    Put32(B, 0);
    Put32(B, 0);  // pixel offset, patched below
    Put32(B, HeaderSize);
    if (HeaderSize == 12) {
      Put16(B, static_cast<std::uint32_t>(Width));
      Put16(B, static_cast<std::uint32_t>(Height));
      Put16(B, Planes);
      Put16(B, Bits);
    } else {
      Put32(B, static_cast<std::uint32_t>(Width));
      Put32(B, static_cast<std::uint32_t>(Height));
      Put16(B, Planes);
      Put16(B, Bits);
      Put32(B, Compression);
      Put32(B, static_cast<std::uint32_t>(Pixels.size()));
      Put32(B, 2835);
      Put32(B, 2835);
      Put32(B, ColoursUsed);
      Put32(B, 0);
      const bool Inside = HeaderSize >= 52;
      if (Inside)
        for (std::uint32_t M : Masks) Put32(B, M);
      B.resize(14 + HeaderSize, 0);
      if (!Inside)
        for (std::uint32_t M : Masks) Put32(B, M);
    }
    for (std::uint32_t C : Palette) {
      B.push_back(static_cast<std::uint8_t>(C));
      B.push_back(static_cast<std::uint8_t>(C >> 8));
      B.push_back(static_cast<std::uint8_t>(C >> 16));
      if (HeaderSize != 12) B.push_back(0);
    }
    const std::uint32_t Offset = DataOffset < 0 ? static_cast<std::uint32_t>(B.size()) : static_cast<std::uint32_t>(DataOffset);
    B.insert(B.end(), Pixels.begin(), Pixels.end());
    for (int I = 0; I < 4; ++I) {
      B[2 + I] = static_cast<std::uint8_t>(B.size() >> (8 * I));
      B[10 + I] = static_cast<std::uint8_t>(Offset >> (8 * I));
    }
    return B;
  }
};

// Packs rows of values (indices, or 16/24/32-bit words) as stored: each row
// padded to 4 bytes, in the order given.
TBytes PackRows(const std::vector<std::vector<std::uint32_t>>& Rows, int Bits) {
  TBytes Out;
  for (const auto& Row : Rows) {
    const std::size_t Start = Out.size();
    if (Bits < 8) {
      const std::size_t PerByte = 8 / Bits;
      for (std::size_t X = 0; X < Row.size(); ++X) {
        if (X % PerByte == 0) Out.push_back(0);
        Out.back() |= static_cast<std::uint8_t>(Row[X] << (8 - Bits * (X % PerByte + 1)));
      }
    } else {
      for (std::uint32_t V : Row)
        for (int Byte = 0; Byte < Bits / 8; ++Byte) Out.push_back(static_cast<std::uint8_t>(V >> (8 * Byte)));
    }
    while ((Out.size() - Start) % 4 != 0) Out.push_back(0);
  }
  return Out;
}

struct TDecoded {
  bool Header = false, Pixels = false;
  TBmpInfo Info;
  TPixelBuffer Picture;
};

TDecoded Decode(const TBytes& File) {
  TDecoded D;
  D.Header = ReadBmpInfo(File.data(), File.size(), D.Info);
  if (!D.Header) return D;
  D.Picture = TPixelBuffer(D.Info.Width, D.Info.Height, 0xDEADBEEF);
  D.Pixels = DecodeBmp(File.data(), File.size(), D.Info, D.Picture.View());
  return D;
}

TPixelBuffer RandomPicture(int W, int H, std::uint32_t Seed) {
  TPixelBuffer P(W, H);
  std::mt19937 Rng(Seed);
  for (std::uint32_t& Pixel : P.Data) Pixel = Rng();
  return P;
}

int Distance(std::uint32_t A, std::uint32_t B) {
  const int R = PixelR(A) - PixelR(B), G = PixelG(A) - PixelG(B), Bl = PixelB(A) - PixelB(B);
  return R * R + G * G + Bl * Bl;
}

// Rows of a 5 x 3 picture, top row first, and the same as file rows.
const std::uint32_t Colours[3][5] = {
    {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF},
    {0x123456, 0x808080, 0xFFFF00, 0x00FFFF, 0xFF00FF},
    {0x010203, 0xFEFDFC, 0x7F7F7F, 0x204060, 0xC08040},
};

std::vector<std::vector<std::uint32_t>> StoredRows(bool TopDown, std::uint32_t (*Encode)(std::uint32_t, int)) {
  std::vector<std::vector<std::uint32_t>> Rows;
  for (int R = 0; R < 3; ++R) {
    const int Y = TopDown ? R : 2 - R;
    std::vector<std::uint32_t> Row;
    for (int X = 0; X < 5; ++X) Row.push_back(Encode(Colours[Y][X], Y * 5 + X));
    Rows.push_back(Row);
  }
  return Rows;
}

void ExpectPicture(const TDecoded& D, const char* What) {
  ASSERT_TRUE(D.Header) << What;
  ASSERT_TRUE(D.Pixels) << What;
  ASSERT_EQ(D.Picture.Width, 5) << What;
  ASSERT_EQ(D.Picture.Height, 3) << What;
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 5; ++X) EXPECT_EQ(D.Picture.At(X, Y), Colours[Y][X]) << What << " at " << X << "," << Y;
}

TEST(BmpCodec, WriterRoundTripsExactlyAt24And32Bits) {
  for (int Bits : {24, 32})
    for (const auto& [W, H] : {std::pair{1, 1}, std::pair{7, 5}, std::pair{64, 3}}) {
      TPixelBuffer Src = RandomPicture(W, H, static_cast<std::uint32_t>(W * Bits));
      const TBytes File = EncodeBmp(Src.View(), Bits);
      const std::uint32_t Stride = (W * Bits + 31) / 32 * 4;
      ASSERT_EQ(File.size(), 54u + Stride * H);
      EXPECT_EQ(Get32(File, 2), File.size());    // file size
      EXPECT_EQ(Get32(File, 6), 0u);             // reserved words
      EXPECT_EQ(Get32(File, 10), 54u);           // pixel offset
      EXPECT_EQ(Get32(File, 14), 40u);           // info header size
      EXPECT_EQ(Get32(File, 22), static_cast<std::uint32_t>(H));  // positive: bottom-up
      EXPECT_EQ(Get32(File, 30), BmpRgb);
      EXPECT_EQ(Get32(File, 34), Stride * H);    // biSizeImage
      const TDecoded D = Decode(File);
      ASSERT_TRUE(D.Pixels);
      EXPECT_FALSE(D.Info.TopDown);
      EXPECT_EQ(D.Info.BitsPerPixel, Bits);
      for (std::size_t I = 0; I < Src.Data.size(); ++I) ASSERT_EQ(D.Picture.Data[I], PixelRgb(Src.Data[I]));
      if (Bits == 32) {
        for (std::size_t I = 57; I < File.size(); I += 4) ASSERT_EQ(File[I], 0);  // X bytes
      }
    }
}

TEST(BmpCodec, WriterKeeps16BitsWithinFiveBitPrecision) {
  TPixelBuffer Src = RandomPicture(33, 9, 16);
  const TBytes File = EncodeBmp(Src.View(), 16);
  ASSERT_EQ(File.size(), 54u + 68 * 9);
  const TDecoded D = Decode(File);
  ASSERT_TRUE(D.Pixels);
  for (std::size_t I = 0; I < Src.Data.size(); ++I) {
    const std::uint32_t A = Src.Data[I], B = D.Picture.Data[I];
    ASSERT_LE(std::abs(PixelR(A) - PixelR(B)), 4);
    ASSERT_LE(std::abs(PixelG(A) - PixelG(B)), 4);
    ASSERT_LE(std::abs(PixelB(A) - PixelB(B)), 4);
  }
}

TEST(BmpCodec, WriterMapsToTheNearestPaletteColour) {
  for (const auto& [Bits, Entries] : {std::pair{1, 2}, std::pair{4, 16}, std::pair{8, 256}}) {
    TPixelBuffer Src = RandomPicture(37, 11, static_cast<std::uint32_t>(Bits));
    // Start with colours of the table itself, which must survive unchanged.
    const TDecoded Probe = Decode(EncodeBmp(Src.View(), Bits));
    ASSERT_TRUE(Probe.Header);
    ASSERT_EQ(Probe.Info.PaletteSize, Entries);
    for (int I = 0; I < Entries && I < static_cast<int>(Src.Data.size()); ++I) Src.Data[I] = Probe.Info.Palette[I];

    const TBytes File = EncodeBmp(Src.View(), Bits);
    EXPECT_EQ(Get32(File, 10), 54u + 4 * Entries);
    EXPECT_EQ(Get32(File, 46), static_cast<std::uint32_t>(Entries));  // biClrUsed
    const TDecoded D = Decode(File);
    ASSERT_TRUE(D.Pixels);
    for (std::size_t I = 0; I < Src.Data.size(); ++I) {
      const std::uint32_t Want = PixelRgb(Src.Data[I]);
      int Best = INT_MAX;
      for (int E = 0; E < Entries; ++E) Best = std::min(Best, Distance(Want, D.Info.Palette[E]));
      ASSERT_EQ(Distance(Want, D.Picture.Data[I]), Best) << Bits << " bits, pixel " << I;
      if (static_cast<int>(I) < Entries) {
        ASSERT_EQ(D.Picture.Data[I], Want);
      }
    }
  }
}

TEST(BmpCodec, WriterGivesNothingForNoPixelsOrOtherDepths) {
  TPixelBuffer Some = RandomPicture(3, 3, 1);
  EXPECT_TRUE(EncodeBmp(TPixelView{}, 24).empty());
  EXPECT_TRUE(EncodeBmp(Some.View().Sub(0, 0, 0, 3), 24).empty());
  for (int Bits : {0, 2, 15, 48}) EXPECT_TRUE(EncodeBmp(Some.View(), Bits).empty()) << Bits;
}

std::vector<std::uint32_t> IndexPalette() {
  // Index I holds the colour of picture pixel I (15 of them), rest unused.
  std::vector<std::uint32_t> P;
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 5; ++X) P.push_back(Colours[Y][X]);
  return P;
}

TEST(BmpCodec, ReadsEveryHeaderVersionAt8To32Bits) {
  // 1 and 4 bits, and 16 bits, have tests of their own below.
  struct TCase {
    std::uint32_t HeaderSize;
    int Bits;
  };
  std::vector<TCase> Cases = {{12, 8}, {12, 24}};
  for (std::uint32_t Header : {40u, 52u, 56u, 64u, 108u, 124u})
    for (int Bits : {8, 24, 32}) Cases.push_back({Header, Bits});
  for (const TCase& C : Cases)
    for (bool TopDown : {false, true}) {
      if (TopDown && C.HeaderSize == 12) continue;  // core heights are unsigned
      TBmpFile F;
      F.HeaderSize = C.HeaderSize;
      F.Width = 5;
      F.Height = TopDown ? -3 : 3;
      F.Bits = static_cast<std::uint32_t>(C.Bits);
      std::uint32_t (*Encode)(std::uint32_t, int) = [](std::uint32_t Colour, int) { return Colour; };
      if (C.Bits == 8) {
        F.Palette = IndexPalette();
        if (C.HeaderSize == 12) F.Palette.resize(256, 0);  // no count field: a full table
        else F.ColoursUsed = static_cast<std::uint32_t>(F.Palette.size());
        Encode = [](std::uint32_t, int Index) { return static_cast<std::uint32_t>(Index); };
      }
      F.Pixels = PackRows(StoredRows(TopDown, Encode), C.Bits);
      const std::string What = "header " + std::to_string(C.HeaderSize) + ", " +
                               std::to_string(C.Bits) + " bits" + (TopDown ? ", top-down" : "");
      const TDecoded D = Decode(F.Build());
      EXPECT_EQ(D.Info.TopDown, TopDown) << What;
      ExpectPicture(D, What.c_str());
    }
}

TEST(BmpCodec, ReadsOneAndFourBitIndices) {
  for (std::uint32_t Header : {12u, 40u, 124u})
    for (int Bits : {1, 4}) {
      // A 9 x 2 picture: indices cycle through the table, crossing bytes.
      const int Entries = 1 << Bits;
      std::vector<std::uint32_t> Palette;
      for (int I = 0; I < Entries; ++I) Palette.push_back(MakePixel(I * 16, 255 - I * 8, I));
      std::vector<std::vector<std::uint32_t>> Rows(2);
      for (int R = 0; R < 2; ++R)
        for (int X = 0; X < 9; ++X) Rows[R].push_back(static_cast<std::uint32_t>((X + 3 * R) % Entries));
      TBmpFile F;
      F.HeaderSize = Header;
      F.Width = 9;
      F.Height = 2;
      F.Bits = static_cast<std::uint32_t>(Bits);
      F.Palette = Palette;
      F.Pixels = PackRows(Rows, Bits);
      const TDecoded D = Decode(F.Build());
      ASSERT_TRUE(D.Pixels) << Header << " " << Bits;
      for (int R = 0; R < 2; ++R)
        for (int X = 0; X < 9; ++X)
          EXPECT_EQ(D.Picture.At(X, 1 - R), Palette[Rows[R][X]]) << Header << " " << Bits << " " << X;
    }
}

TEST(BmpCodec, ReadsBitFields) {
  struct TCase {
    const char* Name;
    std::uint32_t HeaderSize, Bits, Compression;
    std::vector<std::uint32_t> Masks;
    std::uint32_t (*Encode)(std::uint32_t, int);
  };
  // Colours whose channels are all 0x00 or 0xFF survive any field width.
  static const std::uint32_t Pure[] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF};
  const TCase Cases[] = {
      {"16-bit 5-6-5 after header", 40, 16, BmpBitFields, {0xF800, 0x07E0, 0x001F},
       [](std::uint32_t C, int) -> std::uint32_t { return (PixelR(C) >> 3) << 11 | (PixelG(C) >> 2) << 5 | PixelB(C) >> 3; }},
      {"16-bit 5-5-5 default", 40, 16, BmpRgb, {},
       [](std::uint32_t C, int) -> std::uint32_t { return (PixelR(C) >> 3) << 10 | (PixelG(C) >> 3) << 5 | PixelB(C) >> 3; }},
      {"16-bit 4-4-4 in V4 header", 108, 16, BmpBitFields, {0x0F00, 0x00F0, 0x000F},
       [](std::uint32_t C, int) -> std::uint32_t { return (PixelR(C) >> 4) << 8 | (PixelG(C) >> 4) << 4 | PixelB(C) >> 4; }},
      {"32-bit RGB reversed in 52 header", 52, 32, BmpBitFields, {0x000000FF, 0x0000FF00, 0x00FF0000},
       [](std::uint32_t C, int) { return static_cast<std::uint32_t>(PixelB(C) << 16 | PixelG(C) << 8 | PixelR(C)); }},
      {"32-bit 10-10-10 in V5 header", 124, 32, BmpBitFields, {0x3FF00000, 0x000FFC00, 0x000003FF},
       [](std::uint32_t C, int) {
         return static_cast<std::uint32_t>(PixelR(C) * 1023 / 255) << 20 | static_cast<std::uint32_t>(PixelG(C) * 1023 / 255) << 10 |
                static_cast<std::uint32_t>(PixelB(C) * 1023 / 255);
       }},
      {"32-bit alpha bit fields after header", 40, 32, 6, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
       [](std::uint32_t C, int) { return C | 0xFF000000; }},
  };
  for (const TCase& C : Cases) {
    TBmpFile F;
    F.HeaderSize = C.HeaderSize;
    F.Bits = C.Bits;
    F.Compression = C.Compression;
    F.Masks = C.Masks;
    F.Width = 8;
    F.Height = 1;
    std::vector<std::uint32_t> Row;
    for (std::uint32_t P : Pure) Row.push_back(C.Encode(P, 0));
    F.Pixels = PackRows({Row}, static_cast<int>(C.Bits));
    const TDecoded D = Decode(F.Build());
    ASSERT_TRUE(D.Pixels) << C.Name;
    for (int X = 0; X < 8; ++X) EXPECT_EQ(D.Picture.At(X, 0), Pure[X]) << C.Name << " at " << X;
  }
}

TEST(BmpCodec, ReadsRunLengthEncoding) {
  // Background (index 0) is grey: pixels the data skips keep it.
  const std::vector<std::uint32_t> Palette = {0x808080, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  const std::uint32_t G = 0x808080, R = 0xFF0000, Gr = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF;
  struct TCase {
    const char* Name;
    int Bits;
    bool TopDown;
    TBytes Data;
    std::vector<std::vector<std::uint32_t>> Want;  // 6 x 4, top row first
  };
  const TCase Cases[] = {
      {"RLE8 runs, absolute, delta, end of line, end of bitmap", 8, false,
       {3, 1, 0, 3, 2, 3, 4, 0,  // stored row 0: run of 3 reds, then 3 literals (padded)
        0, 0,                    // end of line
        0, 2, 2, 1,              // delta: 2 right, 1 up to stored row 2, column 2
        2, 3,                    // two blues
        0, 0,                    // end of line: stored row 3
        9, 4,                    // a run of 9 whites clipped at the right edge
        0, 1,                    // end of bitmap
        5, 1},                   // never read
       {{W, W, W, W, W, W}, {G, G, B, B, G, G}, {G, G, G, G, G, G}, {R, R, R, Gr, B, W}}},
      {"RLE4 alternating runs and odd absolute run", 4, false,
       {5, 0x12, 0, 0,           // stored row 0: 1 2 1 2 1
        0, 3, 0x34, 0x10,        // 3 literals: 3 4 1 (padded to a word)
        0, 0, 0, 1},
       {{G, G, G, G, G, G}, {G, G, G, G, G, G}, {B, W, R, G, G, G}, {R, Gr, R, Gr, R, G}}},
      {"RLE8 top-down, data ending mid-stream", 8, true,
       {6, 2, 0, 0, 2, 1, 0, 4, 4},  // the absolute run lacks three of its four indices
       {{Gr, Gr, Gr, Gr, Gr, Gr}, {R, R, W, G, G, G}, {G, G, G, G, G, G}, {G, G, G, G, G, G}}},
  };
  for (const TCase& C : Cases) {
    TBmpFile F;
    F.Width = 6;
    F.Height = C.TopDown ? -4 : 4;
    F.Bits = static_cast<std::uint32_t>(C.Bits);
    F.Compression = C.Bits == 8 ? BmpRle8 : BmpRle4;
    F.Palette = Palette;
    F.ColoursUsed = static_cast<std::uint32_t>(Palette.size());
    F.Pixels = C.Data;
    const TDecoded D = Decode(F.Build());
    ASSERT_TRUE(D.Pixels) << C.Name;
    for (int Y = 0; Y < 4; ++Y)
      for (int X = 0; X < 6; ++X) EXPECT_EQ(D.Picture.At(X, Y), C.Want[Y][X]) << C.Name << " at " << X << "," << Y;
  }
}

TEST(BmpCodec, RunLengthPicturesAreBoundedByTheirData) {
  // A 60-byte RLE8 file claiming 65535 x 2048 pixels: refused before any
  // picture is allocated.
  const char* Hex =
      "424d3c000000000000003a00000028000000ffff00000008000001000800010000000000000000000000000000000100000000000000"
      "000000000001";
  TBytes Claim;
  for (const char* P = Hex; P[0] && P[1]; P += 2) Claim.push_back(static_cast<std::uint8_t>(std::stoi(std::string(P, 2), nullptr, 16)));
  TBmpInfo Info;
  EXPECT_FALSE(ReadBmpInfo(Claim.data(), Claim.size(), Info));

  // 128 pixels per byte of data is the bound: 8 bytes carry 1024 pixels.
  TBmpFile F;
  F.Bits = 8, F.Compression = BmpRle8, F.Height = 1;
  F.Palette = {0x808080, 0xFF0000};
  F.ColoursUsed = 2;
  F.Pixels = {255, 1, 255, 1, 2, 1, 0, 1};
  F.Width = 1024;
  const TDecoded D = Decode(F.Build());
  ASSERT_TRUE(D.Pixels);
  EXPECT_EQ(D.Picture.At(511, 0), 0xFF0000u);
  EXPECT_EQ(D.Picture.At(512, 0), 0x808080u) << "the data ends there";
  F.Width = 1025;
  const TBytes Over = F.Build();
  EXPECT_FALSE(ReadBmpInfo(Over.data(), Over.size(), Info));
}

TEST(BmpCodec, IndicesBeyondTheTableAreBlack) {
  TBmpFile F;
  F.Width = 3;
  F.Height = 1;
  F.Bits = 8;
  F.Palette = {0xFFFFFF, 0x00FF00};
  F.ColoursUsed = 2;
  F.Pixels = PackRows({{1, 2, 255}}, 8);
  const TDecoded D = Decode(F.Build());
  ASSERT_TRUE(D.Pixels);
  EXPECT_EQ(D.Picture.At(0, 0), 0x00FF00u);
  EXPECT_EQ(D.Picture.At(1, 0), 0u);
  EXPECT_EQ(D.Picture.At(2, 0), 0u);
}

TBmpFile Valid24() {
  TBmpFile F;
  F.Width = 5;
  F.Height = 3;
  F.Pixels = PackRows(StoredRows(false, [](std::uint32_t C, int) { return C; }), 24);
  return F;
}

TEST(BmpCodec, MalformedFilesAreRejected) {
  struct TCase {
    const char* Name;
    void (*Damage)(TBmpFile&);
    std::size_t Cut;  // bytes removed from the end of the built file
  };
  const TCase Cases[] = {
      {"no pixels at all", [](TBmpFile& F) { F.Pixels.clear(); }, 0},
      {"last row one byte short", [](TBmpFile&) {}, 1},
      {"pixel offset past the end", [](TBmpFile& F) { F.DataOffset = 100000; }, 0},
      {"pixel offset leaves too little", [](TBmpFile& F) { F.DataOffset = 60; }, 0},
      {"header size 0", [](TBmpFile& F) { F.HeaderSize = 0; }, 0},
      {"header size 20", [](TBmpFile& F) { F.HeaderSize = 20; }, 0},
      {"header size 200", [](TBmpFile& F) { F.HeaderSize = 200; }, 0},
      {"two planes", [](TBmpFile& F) { F.Planes = 2; }, 0},
      {"0 bits", [](TBmpFile& F) { F.Bits = 0; }, 0},
      {"2 bits", [](TBmpFile& F) { F.Bits = 2; }, 0},
      {"64 bits", [](TBmpFile& F) { F.Bits = 64; }, 0},
      {"JPEG compression", [](TBmpFile& F) { F.Compression = 4; }, 0},
      {"PNG compression", [](TBmpFile& F) { F.Compression = 5; }, 0},
      {"RLE8 at 24 bits", [](TBmpFile& F) { F.Compression = BmpRle8; }, 0},
      {"RLE4 at 8 bits", [](TBmpFile& F) { F.Compression = BmpRle4, F.Bits = 8; }, 0},
      {"bit fields at 24 bits", [](TBmpFile& F) { F.Compression = BmpBitFields, F.Masks = {0xFF0000, 0xFF00, 0xFF}; }, 0},
      {"bit fields without masks", [](TBmpFile& F) { F.Compression = BmpBitFields, F.Bits = 32, F.Pixels.clear(); }, 0},
      {"gaps in a mask",
       [](TBmpFile& F) { F.Compression = BmpBitFields, F.Bits = 32, F.Masks = {0xF0F000, 0xFF00, 0xFF}, F.Pixels.assign(80, 0); }, 0},
      {"OS/2 Huffman compression", [](TBmpFile& F) { F.HeaderSize = 64, F.Compression = 3, F.Bits = 1; }, 0},
      {"core header at 32 bits", [](TBmpFile& F) { F.HeaderSize = 12, F.Bits = 32, F.Pixels.assign(80, 0); }, 0},
      {"width 0", [](TBmpFile& F) { F.Width = 0; }, 0},
      {"negative width", [](TBmpFile& F) { F.Width = -5; }, 0},
      {"height 0", [](TBmpFile& F) { F.Height = 0; }, 0},
      {"width above 65535", [](TBmpFile& F) { F.Width = 65536, F.Height = 1; }, 0},
      {"height below -65535", [](TBmpFile& F) { F.Height = -65536, F.Width = 1; }, 0},
      {"most negative height", [](TBmpFile& F) { F.Height = INT32_MIN; }, 0},
      {"over 512 MiB of pixels", [](TBmpFile& F) { F.Width = 12000, F.Height = 12000; }, 0},
      {"huge claim, tiny file", [](TBmpFile& F) { F.Width = 60000, F.Height = 2000; }, 0},
      {"colour table cut short",
       [](TBmpFile& F) { F.Bits = 8, F.ColoursUsed = 256, F.Palette.assign(10, 0), F.Pixels.clear(); }, 0},
  };
  for (const TCase& C : Cases) {
    TBmpFile F = Valid24();
    C.Damage(F);
    TBytes File = F.Build();
    File.resize(File.size() - C.Cut);
    TBmpInfo Info;
    EXPECT_FALSE(ReadBmpInfo(File.data(), File.size(), Info)) << C.Name;
  }
  // Damage to the file and info headers themselves.
  const TBytes Good = Valid24().Build();
  for (std::size_t Keep : {0, 1, 2, 13, 14, 17, 18, 30, 53}) {
    TBmpInfo Info;
    EXPECT_FALSE(ReadBmpInfo(Good.data(), Keep, Info)) << "cut to " << Keep;
  }
  TBytes NoSignature = Good;
  NoSignature[1] = 'A';
  TBmpInfo Info;
  EXPECT_FALSE(ReadBmpInfo(NoSignature.data(), NoSignature.size(), Info));
  EXPECT_FALSE(ReadBmpInfo(nullptr, 100, Info));
}

TEST(BmpCodec, DecodeRefusesAMismatchedDestination) {
  const TBytes File = Valid24().Build();
  TBmpInfo Info;
  ASSERT_TRUE(ReadBmpInfo(File.data(), File.size(), Info));
  TPixelBuffer Wrong(5, 4, 7);
  EXPECT_FALSE(DecodeBmp(File.data(), File.size(), Info, Wrong.View()));
  for (std::uint32_t P : Wrong.Data) ASSERT_EQ(P, 7u);
  // An Info that does not belong to these bytes must not read past them.
  TPixelBuffer Right(5, 3, 7);
  EXPECT_FALSE(DecodeBmp(File.data(), File.size() - 1, Info, Right.View()));
}

TEST(BmpCodec, DamagedFilesNeverReadOutOfBounds) {
  // Random damage to valid files of every kind; the sanitizers watch reads.
  std::vector<TBytes> Seeds;
  TPixelBuffer Picture = RandomPicture(13, 7, 3);
  for (int Bits : {1, 4, 8, 16, 24, 32}) Seeds.push_back(EncodeBmp(Picture.View(), Bits));
  TBmpFile Rle;
  Rle.Width = 6, Rle.Height = 4, Rle.Bits = 8, Rle.Compression = BmpRle8;
  Rle.Palette = {0x808080, 0xFF0000};
  Rle.ColoursUsed = 2;
  Rle.Pixels = {3, 1, 0, 3, 1, 0, 1, 0, 0, 0, 0, 2, 5, 5, 200, 1, 0, 0, 0, 1};
  Seeds.push_back(Rle.Build());
  Rle.Bits = 4, Rle.Compression = BmpRle4;
  Seeds.push_back(Rle.Build());
  std::mt19937 Rng(7);
  for (int I = 0; I < 3000; ++I) {
    TBytes File = Seeds[I % Seeds.size()];
    const int Flips = 1 + static_cast<int>(Rng() % 4);
    for (int K = 0; K < Flips; ++K) File[Rng() % File.size()] = static_cast<std::uint8_t>(Rng());
    if (Rng() % 3 == 0) File.resize(Rng() % File.size());
    TBmpInfo Info;
    if (!ReadBmpInfo(File.data(), File.size(), Info)) continue;
    if (static_cast<std::uint64_t>(Info.Width) * Info.Height > 1u << 22) continue;
    TPixelBuffer Out(Info.Width, Info.Height);
    DecodeBmp(File.data(), File.size(), Info, Out.View());
    for (std::uint32_t P : Out.Data) ASSERT_EQ(P >> 24, 0u);
  }
}

}  // namespace

namespace {

TEST(BmpCodec, RowsReadAStripAtATimeMatchTheWholeDecode) {
  TPixelBuffer Picture = RandomPicture(13, 11, 4);
  for (int Bits : {1, 4, 8, 16, 24, 32}) {
    TBytes File = EncodeBmp(Picture.View(), Bits);
    for (bool TopDown : {false, true}) {
      if (TopDown) {  // the same rows stored top row first
        TBmpInfo Info;
        ASSERT_TRUE(ReadBmpInfo(File.data(), File.size(), Info));
        const std::size_t Stride = (13 * Bits + 31) / 32 * 4;
        TBytes Flipped = File;
        for (int R = 0; R < 11; ++R)
          std::copy_n(&File[Info.PixelOffset + (10 - R) * Stride], Stride, &Flipped[Info.PixelOffset + R * Stride]);
        for (int I = 0; I < 4; ++I) Flipped[22 + I] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(-11) >> (8 * I));
        File = Flipped;
      }
      const TDecoded Whole = Decode(File);
      ASSERT_TRUE(Whole.Pixels) << Bits;
      ASSERT_TRUE(BmpRowsReadable(File.data(), File.size(), Whole.Info));
      TPixelBuffer Strips(13, 11, 0xDEADBEEF);
      for (int First = 0; First < 11; First += 4) {
        const int Count = std::min(4, 11 - First);
        std::uint32_t* Rows[4];
        for (int I = 0; I < Count; ++I) Rows[I] = &Strips.Data[(First + I) * 13];
        ASSERT_TRUE(DecodeBmpRows(File.data(), File.size(), Whole.Info, First, Rows, Count));
      }
      EXPECT_EQ(Strips.Data, Whole.Picture.Data) << Bits << " bits, top-down " << TopDown;
      std::uint32_t* One[1] = {Strips.Data.data()};
      EXPECT_FALSE(DecodeBmpRows(File.data(), File.size(), Whole.Info, 10, One, 2)) << "beyond the last row";
      EXPECT_FALSE(DecodeBmpRows(File.data(), File.size() - 1, Whole.Info, 0, One, 1)) << "rows cut short";
      EXPECT_FALSE(BmpRowsReadable(File.data(), File.size() - 1, Whole.Info));
    }
  }
  TBmpFile Rle;
  Rle.Width = 4;
  Rle.Height = 1;
  Rle.Bits = 8;
  Rle.Compression = BmpRle8;
  Rle.Palette = {0x808080, 0xFF0000};
  Rle.ColoursUsed = 2;
  Rle.Pixels = {4, 1, 0, 1};
  const TBytes RleFile = Rle.Build();
  const TDecoded D = Decode(RleFile);
  ASSERT_TRUE(D.Pixels);
  EXPECT_FALSE(BmpRowsReadable(RleFile.data(), RleFile.size(), D.Info)) << "RLE files decode whole";
}

}  // namespace
