// The decoder's limits against files made to cost it as much as possible,
// and its reuse from one file to the next.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "core/JpegDecoder.h"
#include "support/HostileJpeg.h"

namespace {

int CountScans(const TJpegBytes& File) {
  int Scans = 0;
  for (std::size_t P = 0; P + 1 < File.size(); ++P) Scans += File[P] == 0xFF && File[P + 1] == 0xDA;
  return Scans;
}

// Decodes at 1/8 into a throw-away strip; true when the whole picture came out.
bool DecodeSmall(TJpegDecoder& Decoder) {
  int W = 0, H = 0;
  Decoder.ScaledSize(1, W, H);
  std::vector<std::uint32_t> Row(static_cast<std::size_t>(W) * 16);
  struct TStrip final : TRowSink {
    std::vector<std::uint32_t>& Row;
    int W;
    explicit TStrip(std::vector<std::uint32_t>& R, int Width) : Row(R), W(Width) {}
    int NextRows(std::uint32_t** Rows, int MaxRows) override {
      for (int I = 0; I < MaxRows; ++I) Rows[I] = Row.data() + static_cast<std::size_t>(I) * W;
      return MaxRows;
    }
    void RowsWritten(int) override {}
  } Strip(Row, W);
  return Decoder.Decode(1, Strip);
}

std::vector<std::uint8_t> Noise(int W, int H) {
  std::mt19937 Rng(7);
  std::vector<std::uint8_t> S(static_cast<std::size_t>(W) * H * 3);
  for (std::uint8_t& B : S) B = static_cast<std::uint8_t>(Rng());
  return S;
}

TEST(JpegLimits, ScansBeyondAHundredEndTheDecode) {
  TJpegBytes Many = ManyScansJpeg(64, 64, 32 * 1024);
  ASSERT_GT(CountScans(Many), 1000);
  TJpegDecoder Decoder;
  ASSERT_TRUE(Decoder.ReadHeader(Many.data(), Many.size())) << "the header itself is sound";
  EXPECT_FALSE(DecodeSmall(Decoder));

  // The same file cut to 100 scans decodes: the limit is what refused it.
  TJpegBytes Hundred = ManyScansJpeg(64, 64, 32 * 1024);
  int Scans = 0;
  std::size_t P = 0;
  for (; P + 1 < Hundred.size(); ++P)
    if (Hundred[P] == 0xFF && Hundred[P + 1] == 0xDA && ++Scans == 101) break;
  Hundred.resize(P);
  Hundred.push_back(0xFF);
  Hundred.push_back(0xD9);
  ASSERT_TRUE(Decoder.ReadHeader(Hundred.data(), Hundred.size()));
  EXPECT_TRUE(DecodeSmall(Decoder));
}

TEST(JpegLimits, TheReportedManyScanFilesAreRefused) {
  // 32 KiB claiming 4096 x 4096 and 256 KiB claiming 65500 x 2049: each is
  // refused, by the data rule or the scan limit, without a long decode.
  for (const auto& [W, H, Bytes] : {std::tuple{4096, 4096, 32 * 1024}, std::tuple{65500, 2049, 256 * 1024}}) {
    const TJpegBytes File = ManyScansJpeg(W, H, static_cast<std::size_t>(Bytes));
    TJpegDecoder Decoder;
    EXPECT_FALSE(Decoder.ReadHeader(File.data(), File.size()) && DecodeSmall(Decoder)) << W << "x" << H;
  }
}

TEST(JpegLimits, PaddingBuysNoLargerPicture) {
  const TJpegBytes Padded = PaddedJpeg(65500, 2049, 256 * 1024);
  EXPECT_GE(Padded.size(), 250u * 1024);
  TJpegDecoder Decoder;
  EXPECT_FALSE(Decoder.ReadHeader(Padded.data(), Padded.size()));

  // Comments in an ordinary file change neither its data count nor its fate.
  const TJpegBytes Plain = PaddedJpeg(16, 16, 0);
  const TJpegBytes Commented = PaddedJpeg(16, 16, 200 * 1024);
  EXPECT_GT(JpegEntropyCodedBytes(Plain.data(), Plain.size()), 0u);
  EXPECT_EQ(JpegEntropyCodedBytes(Commented.data(), Commented.size()), JpegEntropyCodedBytes(Plain.data(), Plain.size()));
  ASSERT_TRUE(Decoder.ReadHeader(Commented.data(), Commented.size()));
  EXPECT_TRUE(DecodeSmall(Decoder));
  EXPECT_EQ(JpegEntropyCodedBytes(reinterpret_cast<const std::uint8_t*>("not a jpeg"), 10), 0u);
}

TEST(JpegLimits, CoefficientMemoryIsCheckedBeforeItIsTaken) {
  TJpegBytes File = EncodeJpeg(Noise(1000, 1000), 1000, 1000, 3, {.Progressive = true, .FullChroma = true});
  TJpegDecoder Decoder;
  ASSERT_TRUE(Decoder.ReadHeader(File.data(), File.size()));
  EXPECT_TRUE(DecodeSmall(Decoder)) << "6 MB of coefficients";
  // 8000 x 6000 at 4:4:4 needs 288 MB of coefficients: refused at the start,
  // although the data rule lets the header through.
  SetJpegSize(File, 8000, 6000);
  ASSERT_TRUE(Decoder.ReadHeader(File.data(), File.size()));
  EXPECT_FALSE(DecodeSmall(Decoder));
}

TEST(JpegLimits, AReusedDecoderKeepsNoTablesOfTheLastFile) {
  const TJpegBytes Good = EncodeJpeg(Noise(64, 48), 64, 48, 3);
  // The same file without its quantisation tables (DQT segments).
  TJpegBytes NoTables;
  NoTables.insert(NoTables.end(), Good.begin(), Good.begin() + 2);
  for (std::size_t P = 2; P + 3 < Good.size();) {
    const std::size_t Length = static_cast<std::size_t>(Good[P + 2]) << 8 | Good[P + 3];
    if (Good[P + 1] == 0xDA) {
      NoTables.insert(NoTables.end(), Good.begin() + static_cast<std::ptrdiff_t>(P), Good.end());
      break;
    }
    if (Good[P + 1] != 0xDB)
      NoTables.insert(NoTables.end(), Good.begin() + static_cast<std::ptrdiff_t>(P),
                      Good.begin() + static_cast<std::ptrdiff_t>(P + 2 + Length));
    P += 2 + Length;
  }
  ASSERT_LT(NoTables.size(), Good.size());

  TJpegDecoder Fresh;
  const bool FreshResult = Fresh.ReadHeader(NoTables.data(), NoTables.size()) && DecodeSmall(Fresh);
  EXPECT_FALSE(FreshResult);
  TJpegDecoder Reused;
  ASSERT_TRUE(Reused.ReadHeader(Good.data(), Good.size()));
  ASSERT_TRUE(DecodeSmall(Reused));
  const bool ReusedResult = Reused.ReadHeader(NoTables.data(), NoTables.size()) && DecodeSmall(Reused);
  EXPECT_EQ(ReusedResult, FreshResult) << "the last file's tables must not stand in";
  ASSERT_TRUE(Reused.ReadHeader(Good.data(), Good.size()));
  EXPECT_TRUE(DecodeSmall(Reused)) << "and the decoder still works after";
}

TEST(JpegLimits, AnAbandonCheckStopsTheDecode) {
  const TJpegBytes File = EncodeJpeg(Noise(512, 512), 512, 512, 3, {.Progressive = true});
  TJpegDecoder Decoder;
  int Calls = 0;
  Decoder.SetAbandonCheck([&Calls] { return ++Calls >= 3; });
  ASSERT_TRUE(Decoder.ReadHeader(File.data(), File.size()));
  EXPECT_FALSE(DecodeSmall(Decoder));
  EXPECT_EQ(Calls, 3);
  Decoder.SetAbandonCheck([] { return false; });
  ASSERT_TRUE(Decoder.ReadHeader(File.data(), File.size()));
  EXPECT_TRUE(DecodeSmall(Decoder));
  Decoder.SetAbandonCheck([]() -> bool { throw 1; });
  ASSERT_TRUE(Decoder.ReadHeader(File.data(), File.size()));
  EXPECT_TRUE(DecodeSmall(Decoder)) << "a check that fails counts as no";
}

}  // namespace
