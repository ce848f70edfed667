// Writes the seed corpus of every fuzz target, and the inputs of faults found
// before (regressions), into <folder>/<Target>/. Usage: SeedCorpus FOLDER
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/BmpCodec.h"
#include "support/ExifBlock.h"
#include "support/HostileJpeg.h"

namespace {

namespace fs = std::filesystem;
using TBytes = std::vector<std::uint8_t>;

void Write(const fs::path& Folder, const std::string& Name, const TBytes& Data) {
  fs::create_directories(Folder);
  std::ofstream(Folder / Name, std::ios::binary).write(reinterpret_cast<const char*>(Data.data()),
                                                        static_cast<std::streamsize>(Data.size()));
}

void Write(const fs::path& Folder, const std::string& Name, const std::string& Text) {
  Write(Folder, Name, TBytes(Text.begin(), Text.end()));
}

TBytes FromHex(const char* Hex) {
  TBytes Bytes;
  for (const char* P = Hex; P[0] && P[1]; P += 2) Bytes.push_back(static_cast<std::uint8_t>(std::stoi(std::string(P, 2), nullptr, 16)));
  return Bytes;
}

TBytes RandomBytes(std::mt19937& Rng, std::size_t Count) {
  TBytes Bytes(Count);
  for (std::uint8_t& B : Bytes) B = static_cast<std::uint8_t>(Rng());
  return Bytes;
}

void Put16(TBytes& B, std::uint32_t V) {
  B.push_back(static_cast<std::uint8_t>(V));
  B.push_back(static_cast<std::uint8_t>(V >> 8));
}
void Put32(TBytes& B, std::uint32_t V) {
  Put16(B, V & 0xFFFF);
  Put16(B, V >> 16);
}

// A small RLE file of W x H at 8 or 4 bits per pixel with the given data.
TBytes RleFile(int W, int H, int Bits, const TBytes& Runs) {
  const std::uint32_t Colours = 1u << Bits;
  const std::uint32_t Offset = 14 + 40 + 4 * Colours;
  TBytes B = {'B', 'M'};
  Put32(B, Offset + static_cast<std::uint32_t>(Runs.size()));
  Put32(B, 0);
  Put32(B, Offset);
  Put32(B, 40);
  Put32(B, static_cast<std::uint32_t>(W));
  Put32(B, static_cast<std::uint32_t>(H));
  Put16(B, 1);
  Put16(B, static_cast<std::uint32_t>(Bits));
  Put32(B, Bits == 8 ? BmpRle8 : BmpRle4);
  Put32(B, static_cast<std::uint32_t>(Runs.size()));
  for (int I = 0; I < 4; ++I) Put32(B, 0);
  for (std::uint32_t C = 0; C < Colours; ++C) Put32(B, C * 0x00102030u);
  B.insert(B.end(), Runs.begin(), Runs.end());
  return B;
}

void BmpSeeds(const fs::path& Folder, std::mt19937& Rng) {
  for (int Bits : {1, 4, 8, 16, 24, 32}) {
    TPixelBuffer Picture(7, 5);
    for (std::uint32_t& P : Picture.Data) P = Rng() & 0x00FFFFFF;
    Write(Folder, "bits" + std::to_string(Bits) + ".bmp", EncodeBmp(Picture.View(), Bits));
  }
  const TBytes Runs = {3, 1, 0, 3, 2, 3, 4, 0, 0, 0, 0, 2, 2, 1, 2, 3, 0, 0, 9, 4, 0, 1};
  Write(Folder, "rle8.bmp", RleFile(6, 4, 8, Runs));
  Write(Folder, "rle4.bmp", RleFile(6, 4, 4, Runs));
}

void BmpRegressions(const fs::path& Folder) {
  // 60 bytes of RLE8 claiming 65535 x 2048 pixels.
  Write(Folder, "rle-claim.bmp",
        FromHex("424d3c000000000000003a00000028000000ffff00000008000001000800010000000000000000000000000000000100"
                "000000000000000000000001"));
}

// Small JPEG files of each kind the encoder makes, for the decoder at full
// size and, behind a 4-byte destination size, for the streamed path.
std::vector<std::pair<std::string, TBytes>> JpegSeeds(std::mt19937& Rng) {
  std::vector<std::uint8_t> Rgb(24 * 16 * 3);
  for (std::size_t I = 0; I < Rgb.size(); ++I) Rgb[I] = static_cast<std::uint8_t>(I * 7 + (Rng() & 15));
  std::vector<std::pair<std::string, TBytes>> Seeds = {
      {"baseline.jpg", EncodeJpeg(Rgb, 24, 16, 3)},
      {"progressive.jpg", EncodeJpeg(Rgb, 24, 16, 3, {.Progressive = true})},
      {"full-chroma.jpg", EncodeJpeg(Rgb, 24, 16, 3, {.Progressive = true, .FullChroma = true})},
  };
  // Faults found before: thousands of empty scans, and comment padding.
  Seeds.push_back({"empty-scans-4096.jpg", ManyScansJpeg(4096, 4096, 32 * 1024)});
  Seeds.push_back({"empty-scans-65500.jpg", ManyScansJpeg(65500, 2049, 256 * 1024)});
  Seeds.push_back({"padded-65500.jpg", PaddedJpeg(65500, 2049, 256 * 1024)});
  Seeds.push_back({"empty-scans-64.jpg", ManyScansJpeg(64, 64, 8 * 1024)});
  return Seeds;
}

void GroupFileSeeds(const fs::path& Folder) {
  Write(Folder, "crlf.txt", std::string("C:\\Pictures\\a.jpg\r\nC:\\Pictures\\b.bmp\r\n"));
  Write(Folder, "mixed.txt", std::string("a\nb\r\n\r\nlast without end"));
  Write(Folder, "eof.txt", std::string("one\r\ntwo\x1A three\r\n"));
  Write(Folder, "names.txt", std::string(".\n..\nHoliday\nx/y\nC:z\n\n"));
  // The encodings: Windows-1252, UTF-8 with and without the mark, the mark
  // before invalid UTF-8, and Windows-1252 text that is valid UTF-8.
  const std::string Tokyo = "C:\\\xE6\x9D\xB1\xE4\xBA\xAC.jpg", Cake = "Birthday \xF0\x9F\x8E\x82.jpg";
  Write(Folder, "ansi.txt", std::string("C:\\\xC9t\xE9.bmp\r\n\x80 \x81\x8D.jpg\r\n"));
  Write(Folder, "utf8.txt", Tokyo + "\r\nC:\\\xC3\x89t\xC3\xA9.bmp\r\n");
  Write(Folder, "utf8-mark.txt", "\xEF\xBB\xBF" + Tokyo + "\r\n" + Cake + "\r\n\x1A\xFF");
  Write(Folder, "mark-invalid.txt", std::string("\xEF\xBB\xBF" "a\xFF\r\n\xE6\x9D\r\n\xED\xA0\x80\n\xF0\x9F"));
  Write(Folder, "lookalike.txt", std::string("\xC3\xA9\r\n"));
}

void Utf8Seeds(const fs::path& Folder) {
  // Every length of sequence, in names of the kinds phones and cameras write.
  Write(Folder, "names.txt", std::string("\xE6\x9D\xB1\xE4\xBA\xAC \xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1 "
                                         "\xC3\x89t\xC3\xA9 Birthday \xF0\x9F\x8E\x82 \xF4\x8F\xBF\xBF"));
  // Every kind of invalid sequence.
  Write(Folder, "stray.txt", std::string("a\x80\xBF" "b"));
  Write(Folder, "cut.txt", std::string("\xE6\x9Dx\xF0\x9F\x8E\xC3"));
  Write(Folder, "overlong.txt", std::string("\xC0\x80\xE0\x80\xAF\xF0\x8F\xBF\xBF"));
  Write(Folder, "surrogates.txt", std::string("\xED\xA0\xBD\xED\xB8\x80"));
  Write(Folder, "too-high.txt", std::string("\xF4\x90\x80\x80\xF5\x80\xF8\xFE\xFF"));
  // UTF-16 little-endian: a pair, then unpaired halves.
  Write(Folder, "utf16.txt", FromHex("3cd882df41003cd8420082df3cd8"));
}

void CommandLineSeeds(const fs::path& Folder) {
  const char* Lines[] = {"/s", "/p 1234", "/c:$1F", "-A 0x10", "/-l:-5", "\"a b\" c", "w", "  +x7fffffff",
                         "/p -2147483648", "/c 2147483648"};
  int N = 0;
  for (const char* Line : Lines) Write(Folder, "line" + std::to_string(N++), std::string(Line));
}

// Exif blocks in both byte orders, bare and in JPEG files (a skeleton and a
// real picture from the encoder), with the orientation alone and among other
// tags.
void ExifSeeds(const fs::path& Folder, std::mt19937& Rng) {
  using namespace ExifBlock;
  const std::vector<TEntry> Others = {{0x0100, TypeLong, 1, 24}, {0x010F, TypeAscii, 6, 62}, {0x8769, TypeLong, 1, 68}};
  std::vector<std::uint8_t> Rgb(16 * 8 * 3);
  for (std::uint8_t& B : Rgb) B = static_cast<std::uint8_t>(Rng());
  const TBytes Picture = EncodeJpeg(Rgb, 16, 8, 3);
  const std::size_t AfterApp0 = 4 + (static_cast<std::size_t>(Picture[4]) << 8 | Picture[5]);
  for (bool BigEndian : {false, true})
    for (std::uint32_t Value : {1u, 3u, 6u, 8u}) {
      const std::string Name = std::string(BigEndian ? "mm-" : "ii-") + std::to_string(Value);
      const TBytes Alone = Tiff(BigEndian, {Orientation(Value)});
      std::vector<TEntry> Entries = Others;
      Entries.insert(Entries.begin() + 2, Orientation(Value));  // tags in ascending order
      const TBytes Among = Tiff(BigEndian, Entries, 8, TBytes{'M', 'a', 'k', 'e', 'r', 0});
      Write(Folder, Name + "-alone.tif", Alone);
      Write(Folder, Name + "-among.tif", Among);
      Write(Folder, Name + "-skeleton.jpg", JpegFile({ExifSegment(Alone)}));
      TBytes Real(Picture.begin(), Picture.begin() + static_cast<std::ptrdiff_t>(AfterApp0));
      const TBytes Exif = ExifSegment(Among);
      Real.insert(Real.end(), Exif.begin(), Exif.end());
      Real.insert(Real.end(), Picture.begin() + static_cast<std::ptrdiff_t>(AfterApp0), Picture.end());
      Write(Folder, Name + "-picture.jpg", Real);
    }
}

// Exif blocks with the date taken in an Exif IFD, in both byte orders, bare
// and in JPEG files (a skeleton and a real picture from the encoder), with
// valid dates and with texts that are not one (29 February of a common
// year, zeros, blanks).
void ExifDateSeeds(const fs::path& Folder, std::mt19937& Rng) {
  using namespace ExifBlock;
  std::vector<std::uint8_t> Rgb(16 * 8 * 3);
  for (std::uint8_t& B : Rgb) B = static_cast<std::uint8_t>(Rng());
  const TBytes Picture = EncodeJpeg(Rgb, 16, 8, 3);
  const std::size_t AfterApp0 = 4 + (static_cast<std::size_t>(Picture[4]) << 8 | Picture[5]);
  const char* const Dates[] = {"2021:07:04 12:34:56", "2024:02:29 23:59:59", "2023:02:29 00:00:00",
                               "0000:00:00 00:00:00", "    :  :     :  :  "};
  int N = 0;
  for (bool BigEndian : {false, true})
    for (const char* Date : Dates) {
      const std::string Name = std::string(BigEndian ? "mm-" : "ii-") + std::to_string(N++);
      const TBytes Alone = ExifTiff(BigEndian, {}, {DateTimeOriginal(Date)});
      const TBytes Among = ExifTiff(BigEndian, {Ascii(0x010F, "Maker"), Orientation(6), Ascii(0x0132, Date)},
                                    {{0x829A, 5, 1, 0, TBytes(8, 1)}, DateTimeOriginal(Date), Ascii(0x9004, Date)});
      Write(Folder, Name + "-alone.tif", Alone);
      Write(Folder, Name + "-among.tif", Among);
      Write(Folder, Name + "-skeleton.jpg", JpegFile({ExifSegment(Alone)}));
      TBytes Real(Picture.begin(), Picture.begin() + static_cast<std::ptrdiff_t>(AfterApp0));
      const TBytes Exif = ExifSegment(Among);
      Real.insert(Real.end(), Exif.begin(), Exif.end());
      Real.insert(Real.end(), Picture.begin() + static_cast<std::ptrdiff_t>(AfterApp0), Picture.end());
      Write(Folder, Name + "-picture.jpg", Real);
    }
}

}  // namespace

int main(int Argc, char** Argv) {
  if (Argc != 2) {
    std::fprintf(stderr, "usage: SeedCorpus FOLDER\n");
    return 2;
  }
  const fs::path Root = Argv[1];
  std::mt19937 Rng(20261209);
  BmpSeeds(Root / "Bmp", Rng);
  BmpRegressions(Root / "Bmp");
  for (const auto& [Name, File] : JpegSeeds(Rng)) {
    Write(Root / "Jpeg", Name, File);
    TBytes Sized = {0x80, 0x07, 0x38, 0x04};  // 1920 x 1080, before the modulo
    Sized.insert(Sized.end(), File.begin(), File.end());
    Write(Root / "JpegStream", Name, Sized);
  }
  GroupFileSeeds(Root / "GroupFile");
  CommandLineSeeds(Root / "CommandLine");
  Utf8Seeds(Root / "Utf8");
  for (int I = 0; I < 8; ++I) {
    Write(Root / "FitImage", "random" + std::to_string(I), RandomBytes(Rng, 40));
    Write(Root / "Resample", "random" + std::to_string(I), RandomBytes(Rng, 64 + 512 * I));
  }
  ExifSeeds(Root / "Exif", Rng);
  ExifDateSeeds(Root / "ExifDate", Rng);
  return 0;
}
