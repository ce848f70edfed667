// The previews' picture loader on real files of every kind it knows, and the
// errors it raises for what it cannot show.
#include <fstream>

#include "picture/PictureFile.h"
#include "platform/Bitmap.h"
#include "platform/Gdi.h"
#include "support/SettingsFixture.h"
#include "support/TestPictures.h"

namespace {

using TPictureFileTest = TSettingsTest;

// The pixels of a rendered preview bitmap.
TPixelBuffer Pixels(HBITMAP Rendered) {
  const TGdiObject<HBITMAP> Owned(Rendered);
  BITMAP Info{};
  GetObjectA(Rendered, sizeof Info, &Info);
  TBitmap Copy;
  Copy.SetSize(Info.bmWidth, Info.bmHeight);
  TMemoryDC Source;
  TSelection Selected(Source.Get(), Rendered);
  Copy.CopyFrom(Source.Get(), 0, 0);
  TPixelBuffer Result(Info.bmWidth, Info.bmHeight);
  for (int Y = 0; Y < Info.bmHeight; ++Y)
    for (int X = 0; X < Info.bmWidth; ++X) Result.View().Row(Y)[X] = PixelRgb(Copy.Pixels().Row(Y)[X]);
  return Result;
}

std::string Refusal(const std::string& Path) {
  try {
    TPictureFile Picture(Path);
  } catch (const EError& E) {
    return std::string(E.KindName()) + ": " + E.what();
  }
  return "<loaded>";
}

// A 16 x 16 icon of one opaque colour, 32 bits per pixel.
void WriteIcon(const std::string& Path, std::uint32_t Pixel) {
  std::string Data;
  auto Put = [&Data](std::uint32_t Value, int Bytes) {
    for (int I = 0; I < Bytes; ++I) Data += static_cast<char>((Value >> (8 * I)) & 0xFF);
  };
  const int Size = 16, PixelBytes = Size * Size * 4, MaskBytes = Size * 4;  // mask rows padded to 32 bits
  Put(0, 2), Put(1, 2), Put(1, 2);                                          // ICONDIR: icon, one image
  Put(Size, 1), Put(Size, 1), Put(0, 1), Put(0, 1), Put(1, 2), Put(32, 2);  // ICONDIRENTRY
  Put(40 + PixelBytes + MaskBytes, 4), Put(22, 4);
  Put(40, 4), Put(Size, 4), Put(2 * Size, 4), Put(1, 2), Put(32, 2);  // BITMAPINFOHEADER, XOR and AND
  for (int I = 0; I < 6; ++I) Put(0, 4);
  for (int I = 0; I < Size * Size; ++I) Put(Pixel | 0xFF000000u, 4);
  for (int I = 0; I < MaskBytes; ++I) Put(0, 1);
  std::ofstream(Path, std::ios::binary) << Data;
}

TEST_F(TPictureFileTest, EveryKnownKindGivesItsSizeAndIsDrawnAtTheSizeAsked) {
  TPixelBuffer Green = SolidPicture(100, 50, MakePixel(20, 200, 20));
  WriteBmpFile(Scratch + "\\green.bmp", Green);
  TPixelBuffer Blue = SolidPicture(64, 48, MakePixel(20, 20, 200));
  WriteJpegFile(Scratch + "\\blue.JPEG", Blue);
  WriteIcon(Scratch + "\\red.ico", MakePixel(220, 10, 10));

  const TPictureFile Bmp(Scratch + "\\green.bmp");
  EXPECT_EQ(Bmp.Width(), 100);
  EXPECT_EQ(Bmp.Height(), 50);
  TPixelBuffer P = Pixels(Bmp.Render(40, 20));
  ASSERT_EQ(P.Width, 40);
  ASSERT_EQ(P.Height, 20);
  EXPECT_EQ(P.At(20, 10), PixelRgb(MakePixel(20, 200, 20)));

  const TPictureFile Jpeg(Scratch + "\\blue.JPEG");
  EXPECT_EQ(Jpeg.Width(), 64);
  EXPECT_EQ(Jpeg.Height(), 48);
  P = Pixels(Jpeg.Render(32, 24));
  EXPECT_NEAR(PixelB(P.At(16, 12)), 200, 6);

  const TPictureFile Icon(Scratch + "\\red.ico");
  EXPECT_EQ(Icon.Width(), 16);
  EXPECT_EQ(Icon.Height(), 16);
  P = Pixels(Icon.Render(32, 32));
  EXPECT_EQ(P.Width, 32);
  EXPECT_NEAR(PixelR(P.At(16, 16)), 220, 4);
  EXPECT_LT(PixelG(P.At(16, 16)), 30);

  // An enhanced metafile of 2 x 1 inches with a filled rectangle.
  WriteEnhancedMetafile(Scratch + "\\shape.emf", MakePixel(200, 0, 200));
  const TPictureFile Emf(Scratch + "\\shape.emf");
  EXPECT_NEAR(Emf.Width(), 2 * Emf.Height(), 2);
  EXPECT_GT(Emf.Width(), 100);
  P = Pixels(Emf.Render(60, 30));
  EXPECT_EQ(P.At(40, 15), PixelRgb(MakePixel(200, 0, 200)));

  // A placeable Windows metafile: 1440 units per inch, 1 x 0.5 inches.
  WritePlaceableMetafile(Scratch + "\\shape.wmf", MakePixel(0, 150, 150));
  WritePlaceableMetafile(Scratch + "\\plain.wmf", MakePixel(0, 150, 150), false);
  const TPictureFile Wmf(Scratch + "\\shape.wmf");
  TWindowDC Screen(nullptr);
  EXPECT_EQ(Wmf.Width(), GetDeviceCaps(Screen.Get(), LOGPIXELSX));
  EXPECT_EQ(Wmf.Height(), GetDeviceCaps(Screen.Get(), LOGPIXELSX) / 2);
  P = Pixels(Wmf.Render(Wmf.Width(), Wmf.Height()));
  EXPECT_EQ(P.At(Wmf.Width() / 2, Wmf.Height() / 2), PixelRgb(MakePixel(0, 150, 150)));
  EXPECT_EQ(Refusal(Scratch + "\\plain.wmf"), "EInvalidGraphic: Metafile is not valid")
      << "no placeable header, no size";
}

TEST_F(TPictureFileTest, WhatCannotBeShownIsRefusedWithItsReason) {
  std::ofstream(Scratch + "\\a.gif", std::ios::binary) << "GIF89a";
  std::ofstream(Scratch + "\\bad.bmp", std::ios::binary) << "BM not really";
  std::ofstream(Scratch + "\\bad.jpg", std::ios::binary) << "\xFF\xD8 not really";
  std::ofstream(Scratch + "\\bad.ico", std::ios::binary) << "not an icon";
  std::ofstream(Scratch + "\\bad.emf", std::ios::binary) << "not a metafile";
  std::ofstream(Scratch + "\\none", std::ios::binary) << "x";
  EXPECT_EQ(Refusal(Scratch + "\\a.gif"), "EInvalidGraphic: GIF image is not valid");
  EXPECT_EQ(Refusal(Scratch + "\\photo.XyZ"), "EInvalidGraphic: Unknown picture file extension (.XyZ)")
      << "named as the file writes it";
  EXPECT_EQ(Refusal(Scratch + "\\none"), "EInvalidGraphic: Unknown picture file extension (.)");
  EXPECT_EQ(Refusal(Scratch + "\\my.pics\\none"), "EInvalidGraphic: Unknown picture file extension (.)");
  EXPECT_EQ(Refusal(Scratch + "\\bad.bmp"), "EInvalidGraphic: Bitmap image is not valid");
  EXPECT_EQ(Refusal(Scratch + "\\bad.jpg"), "EInvalidGraphic: JPEG image is not valid");
  EXPECT_EQ(Refusal(Scratch + "\\bad.ico"), "EInvalidGraphic: Icon image is not valid");
  EXPECT_EQ(Refusal(Scratch + "\\bad.emf"), "EInvalidGraphic: Metafile is not valid");
  for (const char* Missing : {"\\gone.bmp", "\\gone.jpeg", "\\gone.ico", "\\gone.emf", "\\gone.wmf"})
    EXPECT_EQ(Refusal(Scratch + Missing), "EInOutError: File not found") << Missing;
}

}  // namespace
