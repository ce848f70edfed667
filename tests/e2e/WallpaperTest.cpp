// The /w run mode end to end: a scratch registry and install folder, test
// pictures, and the wallpaper file and setting that the program leaves.
#include <algorithm>
#include <cstdio>
#include <set>

#include "e2e/Harness.h"
#include "platform/Files.h"
#include "platform/WideText.h"
#include "support/HostileJpeg.h"
#include "support/SettingsFixture.h"
#include "support/TestPictures.h"
#include "support/WicPictures.h"

namespace {

constexpr TScreenSize Screen800{800, 600};
constexpr TScreenSize Screen1024{1024, 768};

class TWallpaperTest : public TSettingsTest {
 protected:
  void SetUp() override {
    TSettingsTest::SetUp();
    UseScratchGroup("WallPaper Group", "W");
    TRegistryKey Key = SettingsKey();
    Key.WriteBool("Random", false);
    Wallpaper = Scratch + "\\wall.bmp";
    Key.WriteString("Save WallPaper As", Wallpaper);
    TRegistryKey::OpenOrCreate("Control Panel\\Desktop").WriteString("Wallpaper", "");
  }

  std::string Picture(const std::string& Name, int W, int H, std::uint32_t Pixel = MakePixel(200, 30, 30)) {
    TPixelBuffer P = SolidPicture(W, H, Pixel);
    const std::string Path = Scratch + "\\" + Name;
    if (Name.size() > 4 && Name.substr(Name.size() - 4) == ".bmp")
      WriteBmpFile(Path, P);
    else
      WriteJpegFile(Path, P);
    return Path;
  }
  void Group(const std::vector<std::string>& Paths) {
    std::string Data;
    for (const std::string& P : Paths) Data += P + "\r\n";
    WriteGroupFile("W", Data);
  }
  // Runs /w and returns its exit code; any message box is read and dismissed.
  DWORD RunWallpaperMode(TScreenSize Screen, TMessageBox* Box = nullptr) {
    TSaverProcess Saver("/w", Screen);
    // A box, or the end without one.
    if (const auto Found = Saver.WaitForMessageBox(20000)) {
      if (Box) *Box = *Found;
      Found->Dismiss();
    }
    const std::optional<DWORD> Code = Saver.WaitForExit(20000);
    EXPECT_TRUE(Code.has_value());
    return Code.value_or(999);
  }
  static std::string DesktopWallpaper() {
    return TRegistryKey::Open("Control Panel\\Desktop").ReadString("Wallpaper");
  }

  std::string Wallpaper;
  TSamplePicture NoSample{false};
};

TEST_F(TWallpaperTest, FitsThePictureIntoTheScreenOrTheLimitedArea) {
  const std::string Big = Picture("big.jpg", 1600, 1200);
  Group({Big});
  EXPECT_EQ(RunWallpaperMode(Screen800), 0u);
  TBmpFileInfo File = ReadBmpFileInfo(Wallpaper);
  EXPECT_EQ(File.Width, 800);
  EXPECT_EQ(File.Height, 600);
  EXPECT_EQ(DesktopWallpaper(), Wallpaper);

  SettingsKey().WriteBool("Limit Screen Size", true);
  SettingsKey().WriteInteger("Max Screen X", 1024);
  SettingsKey().WriteInteger("Max Screen Y", 768);
  EXPECT_EQ(RunWallpaperMode(Screen800), 0u);
  File = ReadBmpFileInfo(Wallpaper);
  EXPECT_EQ(File.Width, 800) << "the limit is lowered to the screen";
  EXPECT_EQ(File.Height, 600);
  EXPECT_EQ(TRegistryKey::Open(SettingsKeyPath).ReadInteger("Max Screen X"), 1024u) << "and not saved";

  SettingsKey().WriteInteger("Max Screen X", 640);
  SettingsKey().WriteInteger("Max Screen Y", 480);
  EXPECT_EQ(RunWallpaperMode(Screen800), 0u);
  File = ReadBmpFileInfo(Wallpaper);
  EXPECT_EQ(File.Width, 640);
  EXPECT_EQ(File.Height, 480);
}

TEST_F(TWallpaperTest, KeepsSmallPicturesAndEnlargesByTheFactor) {
  Group({Picture("small.bmp", 100, 50)});
  EXPECT_EQ(RunWallpaperMode(Screen800), 0u);
  TBmpFileInfo File = ReadBmpFileInfo(Wallpaper);
  EXPECT_EQ(File.Width, 100);
  EXPECT_EQ(File.Height, 50);
  EXPECT_EQ(File.BitsPerPixel, 32) << "the display's depth under Wine";

  Group({Picture("odd.jpg", 1113, 742)});
  const double Two = 2.0;
  SettingsKey().WriteBinary("Max Percent", &Two, sizeof Two);
  EXPECT_EQ(RunWallpaperMode(Screen1024), 0u);
  File = ReadBmpFileInfo(Wallpaper);
  EXPECT_EQ(File.Width, 1023);
  EXPECT_EQ(File.Height, 682);
}

TEST_F(TWallpaperTest, KeepsEveryPhotoUprightWhateverItsExifOrientation) {
  const TPixelBuffer Upright = QuadrantPicture(160, 120);
  for (int Orientation = 1; Orientation <= 8; ++Orientation) {
    const std::string Path = Scratch + "\\photo" + std::to_string(Orientation) + ".jpg";
    WriteExifJpegFile(Path, Upright, Orientation);
    Group({Path});
    EXPECT_EQ(RunWallpaperMode(Screen800), 0u);
    const TPixelBuffer File = ReadBmpFilePixels(Wallpaper);
    ASSERT_EQ(File.Width, 160) << "orientation " << Orientation;
    ASSERT_EQ(File.Height, 120) << "orientation " << Orientation;
    TPixelBuffer Copy = File;
    EXPECT_EQ(QuadrantMismatch(Copy.View(), 0, 0, 160, 120), "") << "orientation " << Orientation;
  }
}

TEST_F(TWallpaperTest, MetafilesArePlayedAtTheFittedSizeOnTheBackground) {
  SettingsKey().WriteInteger("Background", 0x00336699);
  WriteEnhancedMetafile(Scratch + "\\chart.emf", MakePixel(200, 0, 200));
  Group({Scratch + "\\chart.emf"});
  EXPECT_EQ(RunWallpaperMode(Screen800), 0u);
  const TPixelBuffer File = ReadBmpFilePixels(Wallpaper);
  ASSERT_EQ(File.Width, 192) << "2 inches at 96 DPI";
  ASSERT_EQ(File.Height, 96);
  EXPECT_EQ(File.At(150, 48), MakePixel(200, 0, 200));
  EXPECT_EQ(File.At(10, 48), MakePixel(0x99, 0x66, 0x33)) << "the unpainted quarter is the background";
}

TEST_F(TWallpaperTest, KeepsEveryKindThatWicReadsAtItsFittedSizeOnTheBackground) {
  SettingsKey().WriteInteger("Background", 0x00336699);
  const struct {
    int W, H;
    std::uint32_t Centre;
  } Expected[] = {{160, 120, MakePixel(220, 0, 0)},
                  {160, 120, MakePixel(0, 200, 0)},
                  {100, 60, MakePixel(0, 0, 220)},
                  {120, 80, MakePixel(230, 230, 0)},
                  {64, 64, MakePixel(200, 0, 200)}};
  const std::vector<std::string> Kinds = WriteWicKinds(Scratch);
  ASSERT_EQ(Kinds.size(), 5u);
  for (std::size_t I = 0; I < Kinds.size(); ++I) {
    Group({Kinds[I]});
    EXPECT_EQ(RunWallpaperMode(Screen800), 0u) << Kinds[I];
    const TPixelBuffer File = ReadBmpFilePixels(Wallpaper);
    ASSERT_EQ(File.Width, Expected[I].W) << Kinds[I];
    ASSERT_EQ(File.Height, Expected[I].H) << Kinds[I];
    EXPECT_EQ(File.At(File.Width / 2, File.Height / 2), Expected[I].Centre) << Kinds[I];
  }
  EXPECT_EQ(ReadBmpFilePixels(Wallpaper).At(0, 0), MakePixel(200, 0, 200)) << "the icon fills its file";
  Group({Kinds[1]});
  EXPECT_EQ(RunWallpaperMode(Screen800), 0u);
  EXPECT_EQ(ReadBmpFilePixels(Wallpaper).At(5, 5), MakePixel(0x99, 0x66, 0x33)) << "alpha.png's clear frame";
}

TEST_F(TWallpaperTest, EmptyGroupGivesTheMessageBitmap) {
  EXPECT_EQ(RunWallpaperMode(Screen800), 0u);
  const TBmpFileInfo File = ReadBmpFileInfo(Wallpaper);
  EXPECT_EQ(File.Width, 200);
  EXPECT_EQ(File.Height, 50);
  EXPECT_EQ(DesktopWallpaper(), Wallpaper);
}

TEST_F(TWallpaperTest, PicksAtRandomWhateverTheStoredOrderAndNeverAFolderEntry) {
  const std::string Red = Picture("red.bmp", 64, 32), Blue = Picture("blue.bmp", 32, 64, MakePixel(0, 0, 255));
  // Folder entries among the files (one of a folder that is there) give no
  // wallpaper of their own: neither the message bitmap nor a box.
  ForceDirectories(Scratch + "\\folder");
  Group({Scratch + "\\folder\\", Red, Scratch + "\\gone\\", Blue});
  std::set<int> Widths;
  for (int Run = 0; Run < 14 && Widths.size() < 2; ++Run) {
    TMessageBox Box;
    ASSERT_EQ(RunWallpaperMode(Screen800, &Box), 0u);
    EXPECT_EQ(Box.Text, "") << "no box";
    Widths.insert(ReadBmpFileInfo(Wallpaper).Width);
  }
  EXPECT_EQ(Widths, (std::set<int>{32, 64}));
}

TEST_F(TWallpaperTest, UnwritableFileIsAnApplicationErrorAndKeepsTheOldWallpaper) {
  Group({Picture("small.bmp", 100, 50)});
  ASSERT_EQ(RunWallpaperMode(Screen800), 0u);
  const std::string Before = FileContent(Wallpaper);

  SettingsKey().WriteString("Save WallPaper As", Scratch + "\\no such folder\\wall.bmp");
  TMessageBox Box;
  EXPECT_EQ(RunWallpaperMode(Screen1024, &Box), 1u);
  EXPECT_EQ(Box.Caption, "Application Error");
  EXPECT_EQ(Box.Text.rfind("Exception EInOutError in module Pictarine.scr at ", 0), 0u) << Box.Text;
  EXPECT_NE(Box.Text.find(".\r\nPath not found.\r\n"), std::string::npos) << Box.Text;
  EXPECT_EQ(Box.Owner, nullptr);
  EXPECT_EQ(FileContent(Wallpaper), Before);
  EXPECT_EQ(DesktopWallpaper(), Wallpaper);
  EXPECT_EQ(FolderListing(Scratch).size(), 3u) << "wall.bmp, small.bmp, Image Data and nothing else";
}

TEST_F(TWallpaperTest, UnreadablePictureLeavesTheWallpaperAlone) {
  Group({Picture("small.bmp", 100, 50)});
  ASSERT_EQ(RunWallpaperMode(Screen800), 0u);
  const std::string Before = FileContent(Wallpaper);
  MakeFile("anim.gif", "GIF89a");
  Group({Scratch + "\\anim.gif"});
  EXPECT_EQ(RunWallpaperMode(Screen800), 0u);
  EXPECT_EQ(FileContent(Wallpaper), Before);
  EXPECT_EQ(DesktopWallpaper(), Wallpaper);

  TRegistryKey::OpenOrCreate("Control Panel\\Desktop").WriteString("Wallpaper", "C:\\mine.bmp");
  MakeFile("broken.jpg", "not a jpeg at all");
  Group({Scratch + "\\broken.jpg"});
  EXPECT_EQ(RunWallpaperMode(Screen800), 0u);
  EXPECT_EQ(DesktopWallpaper(), "C:\\mine.bmp");
  EXPECT_EQ(FileContent(Wallpaper), Before);
}

TEST_F(TWallpaperTest, HostileFilesEndQuickly) {
  // The files reported as costing the readers most for their size: each /w
  // run ends within 2.5 seconds of a run on an ordinary picture, a JPEG file
  // leaving the wallpaper alone, the RLE file giving the message bitmap.
  const auto Write = [this](const std::string& Name, const std::vector<std::uint8_t>& Bytes) {
    ReplaceFile(Scratch + "\\" + Name, std::string(Bytes.begin(), Bytes.end()));
    return Scratch + "\\" + Name;
  };
  const std::vector<std::uint8_t> Rle = {
      0x42, 0x4d, 0x3c, 0, 0, 0, 0, 0, 0, 0, 0x3a, 0, 0, 0, 0x28, 0, 0, 0, 0xff, 0xff, 0, 0, 0, 0x08, 0, 0, 1, 0,
      8,    0,    1,    0, 0, 0, 0, 0, 0, 0, 0,    0, 0, 0, 0,    0, 0, 0, 0,    1, 0, 0, 0,    0,    0, 0, 0, 0,
      0,    0,    0,    1};
  ASSERT_EQ(Rle.size(), 60u);
  // Each run is timed against a run on an ordinary picture made in the same
  // test: what Wine takes to start a program varies with the load of the
  // machine, a hostile file's own cost does not.
  const auto TimedRun = [this](const std::string& Path) {
    Group({Path});
    const DWORD Start = GetTickCount();
    EXPECT_EQ(RunWallpaperMode(Screen800), 0u) << Path;
    return GetTickCount() - Start;
  };
  TPixelBuffer Small = SolidPicture(64, 48, MakePixel(0, 200, 0));
  WriteJpegFile(Scratch + "\\ordinary.jpg", Small);
  const DWORD Reference = TimedRun(Scratch + "\\ordinary.jpg");
  TRegistryKey::OpenOrCreate("Control Panel\\Desktop").WriteString("Wallpaper", "C:\\mine.bmp");
  for (const std::string& Path : {Write("scans-4096.jpg", ManyScansJpeg(4096, 4096, 32 * 1024)),
                                  Write("scans-65500.jpg", ManyScansJpeg(65500, 2049, 256 * 1024)),
                                  Write("padded.jpg", PaddedJpeg(65500, 2049, 256 * 1024))}) {
    EXPECT_LT(TimedRun(Path), Reference + 2500) << Path;
    EXPECT_EQ(DesktopWallpaper(), "C:\\mine.bmp") << Path;
  }
  EXPECT_LT(TimedRun(Write("rle-claim.bmp", Rle)), Reference + 2500);
  const TBmpFileInfo File = ReadBmpFileInfo(Wallpaper);
  EXPECT_EQ(File.Width, 200) << "the message bitmap, centred on the screen's frame";
}

TEST_F(TWallpaperTest, HostileFilesOfTheWicKindsEndQuickly) {
  // Each refused (the wallpaper left alone) or drawn, within 2.5 seconds of
  // a run on an ordinary picture.
  const auto Write = [this](const std::string& Name, const std::string& Bytes) {
    ReplaceFile(Scratch + "\\" + Name, Bytes);
    return Scratch + "\\" + Name;
  };
  const std::string Zeros = ZerosPngFile(11000, 11000, 2);
  std::vector<std::vector<std::uint8_t>> Frames(10000, std::vector<std::uint8_t>(64 * 64, 1));
  const TPixelBuffer Page(64, 64, 0x00E6E600);
  const std::vector<std::string> Files{
      Write("claims-60000.png", WithPngSize(ZerosPngFile(16, 16, 2), 60000, 60000)),
      Write("zeros-11000.png", Zeros),
      Write("truncated.png", Zeros.substr(0, Zeros.size() / 2)),
      Write("frames-10000.gif", GifFile(64, 64, Frames, {0x0000DC, 0xDC0000})),
      Write("pages-10000.tif", TiffFile(Page, 10000)),
  };
  TRegistryKey::OpenOrCreate("Control Panel\\Desktop").WriteString("Wallpaper", "C:\\mine.bmp");
  // The time of a run is compared with that of a run on an ordinary picture
  // of the same kind made in the same test: what Wine takes to start a
  // program varies with the load of the machine, a hostile file's own cost
  // does not.
  const std::string Ordinary = Write("ordinary.png", ZerosPngFile(16, 16, 2));
  const auto TimedRun = [this](const std::string& Path) {
    Group({Path});
    const DWORD Start = GetTickCount();
    EXPECT_EQ(RunWallpaperMode(Screen800), 0u) << Path;
    const DWORD Took = GetTickCount() - Start;
    std::printf("/w on %s: %lu ms\n", Path.c_str(), static_cast<unsigned long>(Took));
    return Took;
  };
  const DWORD Reference = TimedRun(Ordinary);
  for (const std::string& Path : Files) EXPECT_LT(TimedRun(Path), Reference + 2500) << Path;
}

TEST_F(TWallpaperTest, NamesInTheAnsiCodePageOrOfAnyLengthAreRead) {
  // A group file written before names could be in any script holds them in
  // the ANSI code page: "\u00C9t\u00E9.bmp" still shows.
  const std::string Ete = Picture("\u00C9t\u00E9.bmp", 96, 64);
  const std::wstring WideEte = Wide(Ete);
  BOOL Replaced = FALSE;
  char Ansi[512] = "";
  const int Length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, WideEte.c_str(), -1, Ansi, sizeof Ansi,
                                         nullptr, &Replaced);
  if (Length <= 1 || Replaced) GTEST_SKIP() << "the ANSI code page " << GetACP() << " has no \u00C9";
  WriteGroupFile("W", std::string(Ansi) + "\r\n");
  EXPECT_EQ(RunWallpaperMode(Screen800), 0u);
  EXPECT_EQ(ReadBmpFileInfo(Wallpaper).Width, 96) << "the picture, not the message of a file that cannot be read";

  // A picture whose path is 300 characters long.
  std::string Folder = Scratch;
  while (Folder.size() < 280) Folder += "\\" + std::string(std::min<std::size_t>(60, 280 - Folder.size()), 'd');
  ASSERT_TRUE(ForceDirectories(Folder));
  std::string Name = "long";
  Name += std::string(300 - Folder.size() - 1 - Name.size() - 4, 'n') + ".bmp";
  TPixelBuffer Long = SolidPicture(80, 48, MakePixel(0, 0, 220));
  const std::string Path = Folder + "\\" + Name;
  WriteBmpFile(Path, Long);
  ASSERT_EQ(Path.size(), 300u);
  ASSERT_TRUE(FileExists(Path));
  Group({Path});
  EXPECT_EQ(RunWallpaperMode(Screen800), 0u);
  EXPECT_EQ(ReadBmpFileInfo(Wallpaper).Width, 80) << "the picture of the 300-character path";
}

}  // namespace
