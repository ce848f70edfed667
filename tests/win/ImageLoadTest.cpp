// Loading picture files into bitmaps, on real files.
#include <fstream>

#include "picture/LoadImageFile.h"
#include "platform/Bitmap.h"
#include "platform/Files.h"
#include "platform/KernelHandle.h"
#include "support/HostileJpeg.h"
#include "support/SettingsFixture.h"
#include "support/TestPictures.h"

namespace {

using TImageLoadTest = TSettingsTest;

bool IsMessageBitmap(const TBitmap& B) {
  if (B.Width() != 200 || B.Height() != 50) return false;
  const TPixelView P = B.Pixels();
  int Dark = 0;
  for (int Y = 0; Y < 50; ++Y)
    for (int X = 0; X < 200; ++X) {
      const std::uint32_t Pixel = P.Row(Y)[X] & 0xFFFFFF;
      if (Pixel != 0xFFFFFF) {
        if (X < 10 || Y < 10) return false;  // the text starts at 10, 10 on white
        ++Dark;
      }
    }
  return Dark > 50;
}

TEST_F(TImageLoadTest, ResultTableByNameAndContent) {
  TPixelBuffer Red = SolidPicture(40, 30, MakePixel(220, 20, 20));
  WriteBmpFile(Scratch + "\\red.bmp", Red);
  WriteJpegFile(Scratch + "\\red.jpg", Red);
  WriteJpegFile(Scratch + "\\jpeg inside.bmp", Red);
  WriteBmpFile(Scratch + "\\bmp inside.jpg", Red);
  MakeFile("photo.gif", "GIF89a");
  MakeFile("PHOTO.JPE", "whatever");

  EXPECT_TRUE(IsMessageBitmap(*LoadImageFile("")));
  EXPECT_TRUE(IsMessageBitmap(*LoadImageFile(Scratch + "\\missing.bmp")));
  EXPECT_TRUE(IsMessageBitmap(*LoadImageFile(Scratch + "\\jpeg inside.bmp")));
  for (const char* Empty : {"\\missing.jpg", "\\bmp inside.jpg", "\\photo.gif", "\\PHOTO.JPE", ""}) {
    const auto B = LoadImageFile(Scratch + Empty);
    EXPECT_TRUE(B->Empty()) << Empty;
    EXPECT_EQ(B->Width() + B->Height(), 0) << Empty;
  }

  const auto Bmp = LoadImageFile(Scratch + "\\red.bmp");
  ASSERT_EQ(Bmp->Width(), 40);
  ASSERT_EQ(Bmp->Height(), 30);
  EXPECT_EQ(Bmp->Pixels().Row(29)[39] & 0xFFFFFF, MakePixel(220, 20, 20));
  const auto Jpeg = LoadImageFile(Scratch + "\\RED.JPG");
  ASSERT_EQ(Jpeg->Width(), 40);
  ASSERT_EQ(Jpeg->Height(), 30);
  const std::uint32_t P = Jpeg->Pixels().Row(15)[20];
  EXPECT_NEAR(PixelR(P), 220, 8);
  EXPECT_NEAR(PixelG(P), 20, 8);
}

TEST_F(TImageLoadTest, BadFilesNeverHurt) {
  TPixelBuffer Small = SolidPicture(16, 16, MakePixel(0, 128, 0));
  WriteJpegFile(Scratch + "\\ok.jpg", Small);
  std::string Jpeg = FileContent(Scratch + "\\ok.jpg");
  // SOF0 dimensions patched to 60000 x 60000: far more than the file holds.
  const std::size_t Sof = Jpeg.find("\xFF\xC0");
  ASSERT_NE(Sof, std::string::npos);
  Jpeg[Sof + 5] = Jpeg[Sof + 7] = static_cast<char>(0xEA);
  Jpeg[Sof + 6] = Jpeg[Sof + 8] = static_cast<char>(0x60);
  MakeFile("huge.jpg", Jpeg);
  EXPECT_TRUE(LoadImageFile(Scratch + "\\huge.jpg")->Empty());

  // Corrupt after the header: white at the picture's size.
  std::string Corrupt = FileContent(Scratch + "\\ok.jpg");
  const std::size_t Sos = Corrupt.find("\xFF\xDA");
  ASSERT_NE(Sos, std::string::npos);
  Corrupt[Sos + 6] = 0x33;  // the first component's Huffman tables: never defined
  MakeFile("corrupt.jpg", Corrupt);
  const auto White = LoadImageFile(Scratch + "\\corrupt.jpg");
  ASSERT_EQ(White->Width(), 16);
  EXPECT_EQ(White->Pixels().Row(8)[8] & 0xFFFFFF, 0xFFFFFFu);

  WriteBmpFile(Scratch + "\\ok.bmp", Small);
  std::string Bmp = FileContent(Scratch + "\\ok.bmp");
  MakeFile("cut.bmp", Bmp.substr(0, Bmp.size() / 2));
  EXPECT_TRUE(IsMessageBitmap(*LoadImageFile(Scratch + "\\cut.bmp")));
  Bmp[18] = Bmp[22] = 0;
  Bmp[19] = Bmp[23] = 0;
  Bmp[20] = Bmp[24] = 0x10;  // 1,048,576 x 1,048,576
  MakeFile("claims.bmp", Bmp);
  EXPECT_TRUE(IsMessageBitmap(*LoadImageFile(Scratch + "\\claims.bmp")));

  // A file being written by another program is not read.
  TKernelHandle Writer(CreateFileA((Scratch + "\\ok.bmp").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(Writer.Valid());
  EXPECT_TRUE(IsMessageBitmap(*LoadImageFile(Scratch + "\\ok.bmp")));
}

TEST(Bitmap, FillsStretchesAndClips) {
  TBitmap B;
  EXPECT_TRUE(B.Empty());
  EXPECT_EQ(B.Canvas(), nullptr);
  B.SetSize(20, 10);
  EXPECT_EQ(B.Pixels().Row(9)[19] & 0xFFFFFF, 0xFFFFFFu) << "a sized bitmap starts white";
  B.Fill(0x00FF0000);  // blue in the settings' byte order
  EXPECT_EQ(B.Pixels().Row(0)[0] & 0xFFFFFF, MakePixel(0, 0, 255));
  B.Fill(0xFF000000 | COLOR_WINDOWTEXT);
  const COLORREF Text = GetSysColor(COLOR_WINDOWTEXT);
  EXPECT_EQ(B.Pixels().Row(5)[5] & 0xFFFFFF, MakePixel(GetRValue(Text), GetGValue(Text), GetBValue(Text)));

  TBitmap Source;
  Source.SetSize(4, 4);
  Source.Fill(0x000000FF);  // red
  B.Fill(0);
  B.StretchFrom(Source, 18, -2, 4, 4);  // partly outside
  EXPECT_EQ(B.Pixels().Row(0)[18] & 0xFFFFFF, MakePixel(255, 0, 0));
  EXPECT_EQ(B.Pixels().Row(1)[19] & 0xFFFFFF, MakePixel(255, 0, 0));
  EXPECT_EQ(B.Pixels().Row(2)[19] & 0xFFFFFF, 0u);
  EXPECT_EQ(B.Pixels().Row(0)[17] & 0xFFFFFF, 0u);

  TBitmap Copy;
  Copy.SetSize(20, 10);
  Copy.CopyFrom(B.Canvas(), 0, 0);
  EXPECT_EQ(Copy.Pixels().Row(0)[18] & 0xFFFFFF, MakePixel(255, 0, 0));
  B.SetSize(0, 5);
  EXPECT_TRUE(B.Empty());
}

}  // namespace

namespace {

// A picture with detail in both directions, so that misplaced rows or
// columns show.
TPixelBuffer Gradient(int W, int H) {
  TPixelBuffer P(W, H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X)
      P.Data[Y * W + X] = MakePixel(255 * X / W, 255 * Y / H, (X * 7 + Y * 13) % 256);
  return P;
}

// Draws into a frame sized and filled as a saver frame is.
TPixelBuffer Drawn(TImageLoader& Loader, int X, int Y, int W, int H) {
  TBitmap Frame;
  Frame.SetSize(64, 48);
  Frame.Fill(0x00302010);
  Loader.DrawInto(Frame, X, Y, W, H);
  TPixelBuffer Out(64, 48);
  for (int R = 0; R < 48; ++R)
    for (int C = 0; C < 64; ++C) Out.Data[R * 64 + C] = PixelRgb(Frame.Pixels().Row(R)[C]);
  return Out;
}

TPixelBuffer Stretched(const std::string& File, int X, int Y, int W, int H) {
  TBitmap Frame;
  Frame.SetSize(64, 48);
  Frame.Fill(0x00302010);
  Frame.StretchFrom(*LoadImageFile(File), X, Y, W, H);
  TPixelBuffer Out(64, 48);
  for (int R = 0; R < 48; ++R)
    for (int C = 0; C < 64; ++C) Out.Data[R * 64 + C] = PixelRgb(Frame.Pixels().Row(R)[C]);
  return Out;
}

TEST_F(TImageLoadTest, TheLoaderDrawsWhatTheFullSizePictureStretchesTo) {
  TPixelBuffer Picture = Gradient(45, 37);
  WriteBmpFile(Scratch + "\\p24.bmp", Picture, 24);
  WriteBmpFile(Scratch + "\\p8.bmp", Picture, 8);
  WriteJpegFile(Scratch + "\\p.jpg", Picture);
  // The 8-bit file again as RLE8: one run per pixel, rows ended by escapes.
  const std::string Plain = FileContent(Scratch + "\\p8.bmp");
  const std::size_t Offset = static_cast<std::uint8_t>(Plain[10]) | static_cast<std::uint8_t>(Plain[11]) << 8;
  std::string Rle = Plain.substr(0, Offset);
  Rle[30] = 1;  // BI_RLE8
  for (int Row = 0; Row < 37; ++Row) {
    for (int X = 0; X < 45; ++X) Rle += std::string{'\x01', Plain[Offset + Row * 48 + X]};
    Rle += std::string(2, '\0');
  }
  Rle += std::string{'\0', '\x01'};
  MakeFile("rle.bmp", Rle);
  MakeFile("junk.jpg", "not a jpeg at all");
  // The JPEG file without its quantisation tables: it must fail on its own,
  // not borrow the tables of the picture before it.
  std::string NoTables = FileContent(Scratch + "\\p.jpg");
  for (std::size_t At; (At = NoTables.find("\xFF\xDB")) != std::string::npos;)
    NoTables.erase(At, 2 + (static_cast<std::uint8_t>(NoTables[At + 2]) << 8 | static_cast<std::uint8_t>(NoTables[At + 3])));
  MakeFile("notables.jpg", NoTables);
  // One loader for every picture, in a slide show's mixed order: what one
  // picture leaves in its buffers must never show in the next.
  TImageLoader Loader;
  const char* Files[] = {"\\p24.bmp", "\\p.jpg",       "\\notables.jpg", "\\missing.bmp", "\\rle.bmp",
                         "\\p8.bmp",  "\\junk.jpg",    "",                 "\\p.jpg",         "\\p24.bmp"};
  // Shrunk, enlarged, at full size, one pixel wide, partly outside.
  const int Rects[][4] = {{3, 2, 40, 30}, {0, 0, 64, 48}, {9, 5, 45, 37}, {30, 1, 1, 40}, {50, -4, 30, 20}};
  for (const char* Name : Files)
    for (const auto& R : Rects) {
      const std::string File = *Name ? Scratch + Name : std::string();
      Loader.Open(File);
      ASSERT_EQ(Drawn(Loader, R[0], R[1], R[2], R[3]).Data, Stretched(File, R[0], R[1], R[2], R[3]).Data)
          << Name << " into " << R[0] << "," << R[1] << " " << R[2] << "x" << R[3];
    }
}

TEST_F(TImageLoadTest, ALargeJpegIsDrawnAtAReducedScaleCloseToTheFullSizePath) {
  TPixelBuffer Picture = Gradient(800, 600);
  WriteJpegFile(Scratch + "\\big.jpg", Picture);
  TImageLoader Loader;
  Loader.Open(Scratch + "\\big.jpg");
  ASSERT_EQ(Loader.Width(), 800);
  ASSERT_EQ(Loader.Height(), 600);
  const TPixelBuffer Got = Drawn(Loader, 0, 0, 64, 48);  // decoded at 1/8
  const TPixelBuffer Want = Stretched(Scratch + "\\big.jpg", 0, 0, 64, 48);
  for (std::size_t I = 0; I < Got.Data.size(); ++I) {
    EXPECT_NEAR(PixelR(Got.Data[I]), PixelR(Want.Data[I]), 8) << I;
    EXPECT_NEAR(PixelG(Got.Data[I]), PixelG(Want.Data[I]), 8) << I;
    EXPECT_NEAR(PixelB(Got.Data[I]), PixelB(Want.Data[I]), 24) << I;
  }
  // Drawn a second time without a new Open: the same picture again.
  EXPECT_EQ(Drawn(Loader, 0, 0, 64, 48).Data, Got.Data);
}

TEST_F(TImageLoadTest, ADrawCanBeGivenUpPartWay) {
  std::vector<std::uint8_t> Noise(600 * 400 * 3);
  for (std::size_t I = 0; I < Noise.size(); ++I) Noise[I] = static_cast<std::uint8_t>((I * 2654435761u) >> 13);
  const TJpegBytes Progressive = EncodeJpeg(Noise, 600, 400, 3, {.Progressive = true});
  ReplaceFile(Scratch + "\\noise.jpg", std::string(Progressive.begin(), Progressive.end()));
  TPixelBuffer Rows = SolidPicture(64, 400, MakePixel(10, 20, 30));
  WriteBmpFile(Scratch + "\\rows.bmp", Rows);

  TBitmap Frame;
  Frame.SetSize(300, 200);
  TImageLoader Loader;
  for (const char* Name : {"\\noise.jpg", "\\rows.bmp"}) {
    int Checks = 0;
    Loader.SetAbandonCheck([&Checks] { return ++Checks >= 2; });
    Loader.Open(Scratch + Name);
    Frame.Fill(0x00FF00FF);
    Loader.DrawInto(Frame, 0, 0, 300, 200);
    EXPECT_TRUE(Loader.Abandoned()) << Name;
    EXPECT_EQ(Checks, 2) << Name << ": no check after the one that said stop";

    Loader.SetAbandonCheck([] { return false; });
    Loader.Open(Scratch + Name);
    Loader.DrawInto(Frame, 0, 0, 300, 200);
    EXPECT_FALSE(Loader.Abandoned()) << Name;
    EXPECT_NE(PixelRgb(Frame.Pixels().Row(199)[150]), MakePixel(0xFF, 0, 0xFF)) << Name << ": drawn to the last row";
  }
}

void ExpectQuadrants(const TPixelView& P, const std::string& What) {
  EXPECT_EQ(QuadrantMismatch(P, 0, 0, P.Width, P.Height), "") << What;
}

TEST_F(TImageLoadTest, EveryExifOrientationGivesTheSameUprightPicture) {
  const TPixelBuffer Upright = QuadrantPicture(96, 64);
  for (int Orientation = 1; Orientation <= 8; ++Orientation) {
    const std::string Name = "orientation " + std::to_string(Orientation);
    const std::string Path = Scratch + "\\turned" + std::to_string(Orientation) + ".jpg";
    WriteExifJpegFile(Path, Upright, Orientation);
    TImageLoader Loader;
    Loader.Open(Path);
    EXPECT_EQ(Loader.Width(), 96) << Name;
    EXPECT_EQ(Loader.Height(), 64) << Name;
    // At full size, and at half size, where the file is decoded at 1/2 and
    // streamed: both turned the same way.
    const std::unique_ptr<TBitmap> Full = Loader.FullSize();
    ASSERT_EQ(Full->Width(), 96) << Name;
    ExpectQuadrants(Full->Pixels(), Name + ", full size");
    TBitmap Half;
    Half.SetSize(48, 32);
    Loader.DrawInto(Half, 0, 0, 48, 32);
    ExpectQuadrants(Half.Pixels(), Name + ", half size");
    // The whole-picture path that the wallpaper takes.
    const std::unique_ptr<TBitmap> Loaded = LoadImageFile(Path);
    ASSERT_EQ(Loaded->Height(), 64) << Name;
    ExpectQuadrants(Loaded->Pixels(), Name + ", LoadImageFile");
  }
}

TEST_F(TImageLoadTest, AStoredUprightPhotoAndADamagedExifBlockAreShownAsStored) {
  const TPixelBuffer Upright = QuadrantPicture(96, 64);
  // The camera stored the pixels upright and says so: nothing is turned.
  WriteExifJpegFile(Scratch + "\\upright.jpg", Upright, 1);
  ExpectQuadrants(LoadImageFile(Scratch + "\\upright.jpg")->Pixels(), "orientation 1");
  // Orientation 6 whose IFD offset points past the Exif block: the block is
  // ignored, so the stored (sideways) picture shows as stored.
  WriteExifJpegFile(Scratch + "\\damaged.jpg", Upright, 6);
  {
    std::fstream File(Scratch + "\\damaged.jpg", std::ios::in | std::ios::out | std::ios::binary);
    File.seekp(16);
    File.put(static_cast<char>(200));
  }
  const std::unique_ptr<TBitmap> Damaged = LoadImageFile(Scratch + "\\damaged.jpg");
  ASSERT_EQ(Damaged->Width(), 64);
  ASSERT_EQ(Damaged->Height(), 96);
  const TPixelBuffer Stored = StoredFor(Upright, 6);
  for (const int Y : {24, 72})
    for (const int X : {16, 48}) {
      const std::uint32_t Got = Damaged->Pixels().Row(Y)[X], Want = Stored.At(X, Y);
      EXPECT_NEAR(PixelR(Got), PixelR(Want), 24) << "as stored, at " << X << "," << Y;
      EXPECT_NEAR(PixelG(Got), PixelG(Want), 24) << "as stored, at " << X << "," << Y;
      EXPECT_NEAR(PixelB(Got), PixelB(Want), 24) << "as stored, at " << X << "," << Y;
    }
}

TEST_F(TImageLoadTest, MetafilesArePlayedAtTheDrawnSizeOverWhatTheTargetHolds) {
  const std::uint32_t Magenta = MakePixel(200, 0, 200), Teal = MakePixel(0, 150, 150), Green = MakePixel(0, 160, 0);
  WriteEnhancedMetafile(Scratch + "\\chart.EMF", Magenta);
  WritePlaceableMetafile(Scratch + "\\chart.wmf", Teal);
  WritePlaceableMetafile(Scratch + "\\plain.wmf", Teal, false);
  TImageLoader Loader;
  Loader.Open(Scratch + "\\chart.EMF");
  ASSERT_TRUE(Loader.HasPicture());
  EXPECT_NEAR(Loader.Width(), 2 * Loader.Height(), 2);
  TBitmap Target;
  Target.SetSize(300, 120);
  Target.Fill(static_cast<TColor>(0x0000A000));
  Loader.DrawInto(Target, 50, 10, 200, 100);
  EXPECT_EQ(PixelRgb(Target.Pixels().Row(60)[200]), PixelRgb(Magenta)) << "played into the rectangle";
  EXPECT_EQ(PixelRgb(Target.Pixels().Row(60)[60]), PixelRgb(Green)) << "its unpainted quarter keeps the target";
  EXPECT_EQ(PixelRgb(Target.Pixels().Row(5)[200]), PixelRgb(Green)) << "nothing outside the rectangle";

  Loader.Open(Scratch + "\\chart.wmf");
  ASSERT_TRUE(Loader.HasPicture());
  EXPECT_EQ(Loader.Width(), 2 * Loader.Height());
  const std::unique_ptr<TBitmap> Full = LoadImageFile(Scratch + "\\chart.wmf");
  ASSERT_EQ(Full->Width(), Loader.Width());
  EXPECT_EQ(PixelRgb(Full->Pixels().Row(Full->Height() / 2)[Full->Width() / 2]), PixelRgb(Teal));

  for (const char* Refused : {"\\plain.wmf", "\\missing.emf"}) {
    Loader.Open(Scratch + Refused);
    EXPECT_FALSE(Loader.HasPicture()) << Refused;
    EXPECT_EQ(Loader.Width() + Loader.Height(), 0) << Refused << " gives the empty picture";
  }
}

}  // namespace
