#include "core/PictureHeaders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// A file in memory that counts the bytes read from it.
class TMemoryFile final : public TByteSource {
 public:
  explicit TMemoryFile(std::string Bytes) : Bytes(std::move(Bytes)) {}
  std::size_t ReadAt(std::uint64_t Offset, void* Buffer, std::size_t Count) override {
    if (Offset >= Bytes.size()) return 0;
    const std::size_t Got = std::min<std::size_t>(Count, Bytes.size() - Offset);
    std::memcpy(Buffer, Bytes.data() + Offset, Got);
    Read += Got;
    return Got;
  }
  std::string Bytes;
  std::size_t Read = 0;
};

std::string Little16(unsigned V) { return {static_cast<char>(V & 0xFF), static_cast<char>(V >> 8 & 0xFF)}; }
std::string Little32(std::uint32_t V) { return Little16(V & 0xFFFF) + Little16(V >> 16); }
std::string Big32(std::uint32_t V) {
  return {static_cast<char>(V >> 24), static_cast<char>(V >> 16 & 0xFF), static_cast<char>(V >> 8 & 0xFF),
          static_cast<char>(V & 0xFF)};
}

std::string Png(std::uint32_t W, std::uint32_t H, int Depth, int ColourType) {
  return std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16) + Big32(W) + Big32(H) + static_cast<char>(Depth) +
         static_cast<char>(ColourType) + std::string(3, '\0') + "CRC!" + "rest of the file";
}

bool Read(const std::string& Bytes, TPictureHeader& Header) {
  TMemoryFile File(Bytes);
  return ReadPictureHeader(File, Header);
}

TEST(PictureHeaders, PngSizeAndStoredDepth) {
  struct {
    int Depth, ColourType, Bits;
  } const Cases[] = {{8, 2, 24}, {16, 6, 64}, {8, 6, 32}, {1, 0, 1}, {16, 4, 32}, {4, 3, 4}};
  for (const auto& C : Cases) {
    TPictureHeader Header;
    ASSERT_TRUE(Read(Png(60000, 3, C.Depth, C.ColourType), Header)) << C.ColourType;
    EXPECT_EQ(Header.Kind, TPictureHeaderKind::Png);
    EXPECT_EQ(Header.Width, 60000u);
    EXPECT_EQ(Header.Height, 3u);
    EXPECT_EQ(Header.BitsPerPixel, C.Bits) << C.Depth << " bits, colour type " << C.ColourType;
  }
  TPictureHeader Header;
  EXPECT_FALSE(Read(Png(10, 10, 8, 5), Header)) << "no such colour type";
  EXPECT_FALSE(Read(Png(10, 10, 7, 2), Header)) << "no such depth";
  EXPECT_FALSE(Read(Png(0, 10, 8, 2), Header));
  EXPECT_FALSE(Read(Png(10, 10, 8, 2).substr(0, 20), Header)) << "cut in the header";
  std::string NotFirst = Png(10, 10, 8, 2);
  NotFirst.replace(12, 4, "tEXt");
  EXPECT_FALSE(Read(NotFirst, Header)) << "IHDR must come first";
}

std::string SubBlocks(std::size_t Bytes) {
  std::string Out;
  for (; Bytes > 0; Bytes -= std::min<std::size_t>(Bytes, 255)) {
    const std::size_t Part = std::min<std::size_t>(Bytes, 255);
    Out += static_cast<char>(Part);
    Out += std::string(Part, 'x');
  }
  return Out + '\0';
}

std::string GifImage(unsigned W, unsigned H, bool LocalTable) {
  return "\x2C" + Little16(0) + Little16(0) + Little16(W) + Little16(H) + (LocalTable ? "\x82" : std::string(1, '\0')) +
         std::string(LocalTable ? 24 : 0, 'c') + "\x02" + SubBlocks(700);
}

TEST(PictureHeaders, GifFirstImageAndWhereItEnds) {
  // A global table of 4 colours, a comment of 2,000 bytes and an
  // application extension before the first image (16 x 9, with a local
  // table), then 1,000 more images.
  const std::string Start = "GIF89a" + Little16(640) + Little16(480) + std::string("\x81\0\0", 3) + std::string(12, 'p') +
                            "\x21\xFE" + SubBlocks(2000) + "\x21\xFF" + SubBlocks(11) + GifImage(16, 9, true);
  std::string File = Start;
  for (int I = 0; I < 1000; ++I) File += std::string("\x21\xF9\x04\0\0\0\0\0", 8) + GifImage(640, 480, false);
  File += "\x3B";
  TMemoryFile Source(File);
  TPictureHeader Header;
  ASSERT_TRUE(ReadPictureHeader(Source, Header));
  EXPECT_EQ(Header.Kind, TPictureHeaderKind::Gif);
  EXPECT_EQ(Header.Width, 16u);
  EXPECT_EQ(Header.Height, 9u);
  EXPECT_EQ(Header.FirstImageEnd, Start.size());
  EXPECT_LT(Source.Read, Start.size() + 8192) << "the frames after the first are not read";

  EXPECT_FALSE(Read(Start.substr(0, Start.size() - 1), Header)) << "cut before the image's end";
  EXPECT_FALSE(Read("GIF87a" + Little16(8) + Little16(8) + std::string(3, '\0') + "\x3B", Header)) << "no image";
  EXPECT_FALSE(Read("GIF89a" + Little16(8) + Little16(8) + std::string(3, '\0') + "\x99", Header)) << "no block";
}

// An icon directory entry: the size bytes (0 for 256), bits, and where the
// image lies.
std::string IconEntry(unsigned Size, unsigned Bits, std::uint32_t Length, std::uint32_t Offset) {
  return std::string{static_cast<char>(Size & 0xFF), static_cast<char>(Size & 0xFF), 0, 0} + Little16(1) +
         Little16(Bits) + Little32(Length) + Little32(Offset);
}

std::string Dib(std::int32_t W, std::int32_t H, unsigned Bits) {
  return Little32(40) + Little32(static_cast<std::uint32_t>(W)) + Little32(static_cast<std::uint32_t>(H)) +
         Little16(1) + Little16(Bits) + std::string(24, '\0');
}

TEST(PictureHeaders, IconLargestImageBySizeThenDepth) {
  // 16 x 16, 256 x 256 (written 0) as PNG, 48 x 48 at 8 and at 32 bits.
  const std::string Images[] = {Dib(16, 32, 32), Png(256, 256, 8, 6), Dib(48, 96, 8), Dib(48, -96, 32)};
  auto Icon = [&](std::initializer_list<int> Order) {
    std::string Directory = Little16(0) + Little16(1) + Little16(static_cast<unsigned>(Order.size())), Data;
    std::uint32_t Offset = static_cast<std::uint32_t>(6 + 16 * Order.size());
    const unsigned Sizes[] = {16, 0, 48, 48}, Bits[] = {32, 32, 8, 32};
    for (const int I : Order) {
      Directory += IconEntry(Sizes[I], Bits[I], static_cast<std::uint32_t>(Images[I].size()), Offset);
      Offset += static_cast<std::uint32_t>(Images[I].size());
      Data += Images[I];
    }
    return Directory + Data;
  };
  TPictureHeader Header;
  ASSERT_TRUE(Read(Icon({0, 2, 1, 3}), Header));
  EXPECT_EQ(Header.Kind, TPictureHeaderKind::Icon);
  EXPECT_EQ(Header.IconIndex, 2);
  EXPECT_EQ(Header.Width, 256u);
  EXPECT_EQ(Header.BitsPerPixel, 32);
  ASSERT_TRUE(Read(Icon({0, 2, 3}), Header));
  EXPECT_EQ(Header.IconIndex, 2) << "the deeper of two 48 x 48 images";
  EXPECT_EQ(Header.Height, 48u) << "a DIB's height counts its mask; a top-down one too";
  ASSERT_TRUE(Read(Icon({3, 2, 0}), Header));
  EXPECT_EQ(Header.IconIndex, 0);

  // The size is the image's own, whatever the directory says.
  const std::string Claims = Png(60000, 60000, 8, 6);
  ASSERT_TRUE(Read(Little16(0) + Little16(1) + Little16(1) + IconEntry(32, 32, 100, 22) + Claims, Header));
  EXPECT_EQ(Header.Width, 60000u);
  EXPECT_FALSE(Read(Little16(0) + Little16(1) + Little16(2) + IconEntry(32, 32, 100, 38), Header))
      << "a directory cut short";
  EXPECT_FALSE(Read(Little16(0) + Little16(1) + Little16(1) + IconEntry(32, 32, 100, 9000), Header))
      << "an image beyond the end";
}

TEST(PictureHeaders, OtherFilesAreLeftToTheDecoder) {
  for (const std::string& Start : {std::string("\xFF\xD8\xFF\xE0", 4), std::string("BM"), std::string("II*\0", 4),
                                  std::string(), std::string(1, '\0')}) {
    TPictureHeader Header;
    EXPECT_TRUE(Read(Start + std::string(40, 'z'), Header));
    EXPECT_EQ(Header.Kind, TPictureHeaderKind::Other);
  }
}

TEST(PictureHeaders, FrameBounds) {
  EXPECT_TRUE(FrameWithinBounds(65535, 1, 32));
  EXPECT_FALSE(FrameWithinBounds(65536, 1, 32));
  EXPECT_FALSE(FrameWithinBounds(1, 65536, 8));
  EXPECT_FALSE(FrameWithinBounds(0, 10, 32));
  // MaxFrameBytes of 32-bit pixels exactly, and one row more; fewer bits
  // count as 32, more take more room.
  const std::uint64_t Rows = MaxFrameBytes / 4 / 8192;
  EXPECT_TRUE(FrameWithinBounds(8192, Rows, 32));
  EXPECT_FALSE(FrameWithinBounds(8192, Rows + 1, 32));
  EXPECT_FALSE(FrameWithinBounds(8192, Rows + 1, 1));
  EXPECT_FALSE(FrameWithinBounds(8192, Rows / 2 + 1, 64));
  EXPECT_TRUE(FrameWithinBounds(8192, Rows / 2, 64));
}

}  // namespace
