// The full-screen saver (/s) end to end on a 1024 x 768 screen: what it draws,
// what ends it, the password check and the wallpaper it keeps.
#include <cmath>

#include "e2e/Harness.h"
#include "library/PictureLibrary.h"
#include "platform/Files.h"
#include "platform/KernelHandle.h"
#include "platform/WideText.h"
#include "support/HostileJpeg.h"
#include "support/SettingsFixture.h"
#include "support/TestEnvironment.h"
#include "support/TestPictures.h"

namespace {

constexpr std::uint32_t BackgroundPixel = MakePixel(0x99, 0x66, 0x33);
constexpr std::uint32_t BackgroundColour = 0x00336699;  // the same colour as stored: 0x00BBGGRR
constexpr std::uint32_t Green = MakePixel(0, 200, 0);
constexpr std::uint32_t Blue = MakePixel(0, 0, 220);

class TSaverTest : public TSettingsTest {
 protected:
  void SetUp() override {
    TSettingsTest::SetUp();
    UseScratchGroup("Selected Group", "S");
    TRegistryKey Key = SettingsKey();
    Key.WriteBool("Random", false);
    Key.WriteInteger("Background", BackgroundColour);
    Key.WriteInteger("Timer interval", 800);
    Key.WriteString("Save WallPaper As", Scratch + "\\wall.bmp");
    SetScreenSaveUsePassword(-1);
    MoveMouse(500, 400);
  }

  std::string Picture(const std::string& Name, int W, int H, std::uint32_t Pixel) {
    TPixelBuffer P = SolidPicture(W, H, Pixel);
    WriteBmpFile(Scratch + "\\" + Name, P);
    return Scratch + "\\" + Name;
  }
  void Group(const std::vector<std::string>& Paths) {
    std::string Data;
    for (const std::string& P : Paths) Data += P + "\r\n";
    WriteGroupFile("S", Data);
  }
  // Waits until the screen shows Pixel at X, Y.
  static bool WaitForPixel(int X, int Y, std::uint32_t Pixel, DWORD TimeoutMs = 15000) {
    return WaitForScreen({{X, Y, Pixel}}, TimeoutMs).empty();
  }
  // Waits until the picture in the middle of the screen has changed Changes
  // times, and answers whether the saver still runs then. Its window takes
  // the input sent before the call ahead of the timer's next tick, and only a
  // tick after that can bring the second picture: a saver that the input
  // was to end is gone by then.
  static bool RunsOnForPictures(const TSaverProcess& Saver, int Changes = 2) {
    std::uint32_t Last = CaptureScreen().At(512, 384);
    int Seen = 0;
    WaitUntil(
        [&] {
          const std::uint32_t Now = CaptureScreen().At(512, 384);
          if (Now != Last) ++Seen;
          Last = Now;
          return Seen >= Changes || !Saver.Running();
        },
        15000);
    return Seen >= Changes && Saver.Running();
  }
  // Waits until a window of the saver is the foreground window, which takes
  // the keys pressed next.
  static bool TakesKeys(HWND Window) {
    return WaitUntil([Window] { return GetForegroundWindow() == Window; }, 5000);
  }
  // Waits until the saver's window is up and in front, taking the input that
  // comes next. Until then the screen may still show an earlier test's last
  // picture, and input goes elsewhere.
  static bool Up(const TSaverProcess& Saver) {
    const std::optional<TTopWindow> Window = Saver.WaitForWindow(15000);
    return Window && TakesKeys(Window->Window);
  }

  TSamplePicture NoSample{false};
};

// A Width x Height rectangle of Inside at X, Y with the background all
// around it: what a check of it reads of the screen.
std::vector<TScreenPoint> RectangleOnBackground(int X, int Y, int W, int H, std::uint32_t Inside) {
  return {{X, Y, Inside},
          {X + W - 1, Y + H - 1, Inside},
          {X + W / 2, Y + H / 2, Inside},
          {X - 1, Y, BackgroundPixel},
          {X, Y - 1, BackgroundPixel},
          {X + W, Y + H - 1, BackgroundPixel},
          {X + W - 1, Y + H, BackgroundPixel},
          {0, 0, BackgroundPixel},
          {1023, 767, BackgroundPixel}};
}

TEST_F(TSaverTest, DrawsEachPictureCentredOnTheBackgroundAndPassesFolderEntriesOver) {
  // Folder entries around and between the files, one of a folder that is
  // there and one of a folder that is not: the saver shows the files, pass
  // after pass, and nothing else.
  ForceDirectories(Scratch + "\\folder");
  Group({Scratch + "\\folder\\", Picture("green.bmp", 333, 200, Green), Scratch + "\\gone\\",
         Picture("blue.bmp", 100, 60, Blue), Scratch + "\\folder\\"});
  TSaverProcess Saver("/s");
  ASSERT_TRUE(Up(Saver));
  ASSERT_EQ(WaitForScreen(RectangleOnBackground(345, 284, 333, 200, Green), 15000), "")
      << "333 wide is drawn at X = 345";
  // From then on the middle of the screen shows green or blue only, never
  // the message of a group without pictures or the background alone: blue,
  // then green again as the next pass begins.
  std::vector<std::uint32_t> Seen{Green};
  std::uint32_t Other = 0;
  WaitUntil(
      [&] {
        const std::uint32_t Now = CaptureScreen().At(512, 384);
        if (Now != Green && Now != Blue) Other = Now;
        if (Now != Seen.back()) Seen.push_back(Now);
        return Other != 0 || Seen.size() >= 3;
      },
      15000);
  EXPECT_EQ(Other, 0u) << "only the pictures are shown";
  EXPECT_EQ(Seen, (std::vector<std::uint32_t>{Green, Blue, Green}));
  EXPECT_EQ(WaitForScreen(RectangleOnBackground(462, 354, 100, 60, Blue), 15000), "")
      << "the next picture, centred";
  EXPECT_FALSE(Saver.WaitForMessageBox(0).has_value()) << "no box";
  PressKey('A');
  EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0));
}

TEST_F(TSaverTest, ShowsEveryPhotoUprightWhateverItsExifOrientation) {
  SettingsKey().WriteInteger("Timer interval", 500);
  // A blue picture before each photo shows when the next photo arrives.
  Group(WriteOrientationSeries(Scratch, Picture("blue.bmp", 160, 120, Blue)));
  TSaverProcess Saver("/s");
  ASSERT_TRUE(Up(Saver));
  for (int Orientation = 1; Orientation <= 8; ++Orientation) {
    ASSERT_TRUE(WaitForPixel(512, 384, Blue)) << "before orientation " << Orientation;
    // Read while the photo shows, until blue comes back.
    std::string Mismatch = "the photo never came";
    bool Came = false;
    WaitUntil(
        [&] {
          TPixelBuffer Screen = CaptureScreen();
          if (Screen.At(512, 384) == Blue) return Came;
          Came = true;
          return (Mismatch = QuadrantMismatch(Screen.View(), 432, 324, 160, 120)).empty();
        },
        5000);
    EXPECT_EQ(Mismatch, "") << "orientation " << Orientation;
  }
  PressKey('O');
  EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0));
}

TEST_F(TSaverTest, DrawsMetafilesFittedAndCentredOverTheBackground) {
  const std::uint32_t Magenta = MakePixel(200, 0, 200), Teal = MakePixel(0, 150, 150);
  WriteEnhancedMetafile(Scratch + "\\chart.emf", Magenta);  // 2 x 1 inches: 192 x 96 at 96 DPI
  WritePlaceableMetafile(Scratch + "\\chart.wmf", Teal);    // 1 x 0.5 inches: 96 x 48
  Group({Scratch + "\\chart.emf", Scratch + "\\chart.wmf"});
  TSaverProcess Saver("/s");
  ASSERT_TRUE(Up(Saver));
  // The chart at 416, 336, 192 x 96: near its bottom right corner at the
  // fitted size, the background right of it and in its unpainted quarter.
  ASSERT_EQ(WaitForScreen({{512, 384, Magenta},
                           {416 + 186, 336 + 92, Magenta},
                           {416 + 194, 384, BackgroundPixel},
                           {416 + 20, 384, BackgroundPixel}},
                          15000),
            "")
      << "chart.emf";
  // The placeable Windows metafile follows: 96 x 48 at 464, 360, inside its
  // black outline, the background around it.
  ASSERT_EQ(WaitForScreen({{512, 384, Teal},
                           {464 + 4, 360 + 4, Teal},
                           {464 + 91, 360 + 43, Teal},
                           {464 - 2, 384, BackgroundPixel},
                           {464 + 98, 384, BackgroundPixel},
                           {512, 360 - 2, BackgroundPixel},
                           {512, 360 + 50, BackgroundPixel}},
                          15000),
            "")
      << "chart.wmf";
  PressKey('M');
  EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0));
}

TEST_F(TSaverTest, DrawsEveryKindThatWicReadsFittedAndCentred) {
  const std::vector<std::string> Kinds = WriteWicKinds(Scratch);
  Group(Kinds);
  const std::uint32_t Red = MakePixel(220, 0, 0), Yellow = MakePixel(230, 230, 0), Magenta = MakePixel(200, 0, 200);
  TSaverProcess Saver("/s");
  ASSERT_TRUE(Up(Saver));
  ASSERT_EQ(WaitForScreen(RectangleOnBackground(432, 324, 160, 120, Red), 15000), "") << "opaque.png";
  // Its transparent frame is background.
  ASSERT_EQ(WaitForScreen(RectangleOnBackground(452, 344, 120, 80, Green), 15000), "") << "alpha.png";
  // Its first frame, not its red second.
  ASSERT_EQ(WaitForScreen(RectangleOnBackground(462, 354, 100, 60, Blue), 15000), "") << "first.gif";
  ASSERT_EQ(WaitForScreen(RectangleOnBackground(452, 344, 120, 80, Yellow), 15000), "") << "first.tif";
  // Its largest image.
  ASSERT_EQ(WaitForScreen(RectangleOnBackground(480, 352, 64, 64, Magenta), 15000), "") << "icon.ico";
  PressKey('W');
  EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0));
}

TEST_F(TSaverTest, LimitedScreenSizeIsCentredInTheWholeFrame) {
  SettingsKey().WriteBool("Limit Screen Size", true);
  SettingsKey().WriteInteger("Max Screen X", 640);
  SettingsKey().WriteInteger("Max Screen Y", 480);
  Group({Picture("big.bmp", 1280, 960, Green)});
  TSaverProcess Saver("/s");
  ASSERT_TRUE(Up(Saver));
  ASSERT_EQ(WaitForScreen(RectangleOnBackground(192, 144, 640, 480, Green), 15000), "");
  PressKey(VK_SPACE);
  EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0));
}

TEST_F(TSaverTest, IntervalZeroShowsTheFirstPictureOnly) {
  SettingsKey().WriteInteger("Timer interval", 0);
  Group({Picture("green.bmp", 100, 100, Green), Picture("blue.bmp", 100, 100, Blue)});
  TSaverProcess Saver("/s");
  ASSERT_TRUE(Up(Saver));
  ASSERT_TRUE(WaitForPixel(512, 384, Green));
  // Watched long enough for a timer left at the tool's 1-second or the
  // settings' 5-second default to have drawn the second picture: no tick
  // follows to show that none came.
  EXPECT_TRUE(HoldsFor([] { return CaptureScreen().At(512, 384) == Green; }, 6000));
  PressKey(VK_ESCAPE);
  EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0));
}

TEST_F(TSaverTest, MouseEndsItOnlyByThreePixelsOnBothAxes) {
  // Two pictures taking turns quickly show that the saver goes on.
  SettingsKey().WriteInteger("Timer interval", 400);
  Group({Picture("green.bmp", 100, 100, Green), Picture("blue.bmp", 100, 100, Blue)});
  {
    TSaverProcess Saver("/s");
    ASSERT_TRUE(Up(Saver));
    ASSERT_TRUE(WaitForPixel(512, 384, Green));
    MoveMouse(500, 400);  // stored, nothing else
    MoveMouse(510, 401);
    EXPECT_TRUE(RunsOnForPictures(Saver)) << "one pixel vertically";
    MoveMouse(503, 402);
    EXPECT_TRUE(RunsOnForPictures(Saver)) << "two pixels vertically";
    MoveMouse(504, 404);
    EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0)) << "the distance adds up from (500, 400)";
  }
  SettingsKey().WriteBool("End On Mouse", false);
  MoveMouse(500, 400);
  TSaverProcess Saver("/s");
  ASSERT_TRUE(Up(Saver));
  ASSERT_TRUE(WaitForPixel(512, 384, Green));
  for (int Step = 1; Step <= 4; ++Step) MoveMouse(500 + 50 * Step, 400 + 40 * Step);
  EXPECT_TRUE(RunsOnForPictures(Saver)) << "End On Mouse clear";
  PressKey(VK_RETURN);
  EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0));
}

TEST_F(TSaverTest, RefusedPasswordKeepsItRunning) {
  TPasswordProvider Provider;
  SetScreenSaveUsePassword(1);
  SetPasswordAnswer("refuse");
  Group({Picture("green.bmp", 100, 100, Green), Picture("blue.bmp", 100, 100, Blue)});
  TSaverProcess Saver("/s");
  ASSERT_TRUE(Up(Saver));
  ASSERT_TRUE(WaitForPixel(512, 384, Green));
  PressKey('Q');
  WaitUntil([] { return PasswordCalls() >= 1; }, 5000);
  EXPECT_GE(PasswordCalls(), 1);
  EXPECT_TRUE(RunsOnForPictures(Saver)) << "a refused password keeps it running";
  EXPECT_TRUE(WaitForPixel(512, 384, Blue)) << "pictures keep coming";
  SetPasswordAnswer("accept");
  PressKey('Q');
  EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0));
  EXPECT_EQ(PasswordCalls(), 1);
  SetScreenSaveUsePassword(-1);
}

TEST_F(TSaverTest, AFaultingPasswordProviderLetsTheKeyEndItAndItCleansUp) {
  TPasswordProvider Provider;
  SetScreenSaveUsePassword(1);
  SetPasswordAnswer("fault");
  SettingsKey().WriteBool("Keep As Wallpaper", true);
  Group({Picture("blue.bmp", 120, 90, Blue)});
  TSaverProcess Saver("/s");
  ASSERT_TRUE(Up(Saver));
  // Its own picture, whose name the saver then holds to keep.
  ASSERT_EQ(WaitForScreen(RectangleOnBackground(452, 339, 120, 90, Blue), 15000), "");
  PressKey('F');
  EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0)) << "the fault is absorbed and the key ends the saver";
  EXPECT_EQ(PasswordCalls(), 1);
  // The destroy handler ran: it clears the screen-saver-running flag, then
  // keeps the picture as wallpaper. (Another process cannot read the flag
  // under Wine, which keeps each process's own copy of it.)
  EXPECT_EQ(ReadBmpFileInfo(Scratch + "\\wall.bmp").Width, 120) << "Keep As Wallpaper happened";
  SetScreenSaveUsePassword(-1);
}

TEST_F(TSaverTest, KeepsTheLastPictureAsWallpaperAndASecondInstanceStandsBack) {
  SettingsKey().WriteBool("Keep As Wallpaper", true);
  SettingsKey().WriteInteger("Timer interval", 0);
  Group({Picture("green.bmp", 120, 90, Green)});
  const std::string Wallpaper = Scratch + "\\wall.bmp";
  TSaverProcess Saver("/s");
  // Its own window first: the screen may still show an earlier test's last
  // picture, and a second instance started before this one holds the guard
  // would take it.
  ASSERT_TRUE(Up(Saver));
  ASSERT_EQ(WaitForScreen(RectangleOnBackground(452, 339, 120, 90, Green), 15000), "");
  {
    TSaverProcess Second("/s");
    EXPECT_EQ(Second.WaitForExit(8000), std::optional<DWORD>(0));
    EXPECT_FALSE(FileExists(Wallpaper)) << "the second instance keeps no wallpaper";
  }
  EXPECT_TRUE(Saver.Running());
  PressKey('K');
  EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0));
  const TBmpFileInfo File = ReadBmpFileInfo(Wallpaper);
  EXPECT_EQ(File.Width, 120);
  EXPECT_EQ(File.Height, 90);
  EXPECT_EQ(TRegistryKey::Open("Control Panel\\Desktop").ReadString("Wallpaper"), Wallpaper);
}

TEST_F(TSaverTest, HostilePicturesNeitherHangItNorKeepItFromEnding) {
  const auto WriteJpeg = [this](const std::string& Name, const TJpegBytes& File) {
    ReplaceFile(Scratch + "\\" + Name, std::string(File.begin(), File.end()));
    return Scratch + "\\" + Name;
  };
  // 256 KiB of empty scans claiming 65500 x 2049 is passed over at once:
  // the background alone, then the next picture. (The screen may still show
  // the last test's picture until the saver's window is up.)
  Group({WriteJpeg("scans.jpg", ManyScansJpeg(65500, 2049, 256 * 1024)), Picture("green.bmp", 100, 100, Green)});
  {
    TSaverProcess Saver("/s");
    ASSERT_TRUE(Up(Saver));
    ASSERT_TRUE(WaitForPixel(512, 384, BackgroundPixel));
    ASSERT_TRUE(WaitForPixel(512, 384, Green));
    PressKey(VK_SPACE);
    EXPECT_EQ(Saver.WaitForExit(2000), std::optional<DWORD>(0));
  }

  // The costliest picture the limits let through (128 MiB of coefficients,
  // 100 scans), decoded again on every tick: a key still ends the saver
  // at once, the decode under way being given up.
  std::vector<std::uint8_t> Noise(1000 * 1000 * 3);
  for (std::size_t I = 0; I < Noise.size(); ++I) Noise[I] = static_cast<std::uint8_t>((I * 2654435761u) >> 13);
  TJpegBytes Largest = WithScans(EncodeJpeg(Noise, 1000, 1000, 3, {.Progressive = true, .FullChroma = true}), 100);
  SetJpegSize(Largest, 5400, 4000);
  Group({WriteJpeg("largest.jpg", Largest)});
  SettingsKey().WriteInteger("Timer interval", 1);
  TSaverProcess Saver("/s");
  const auto Window = Saver.WaitForWindow(10000);
  ASSERT_TRUE(Window);
  // The worker decodes from the window's creation on, again and again.
  EXPECT_TRUE(TakesKeys(Window->Window));
  const DWORD Pressed = GetTickCount();
  PressKey(VK_SPACE);
  EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0));
  EXPECT_LT(GetTickCount() - Pressed, 1000u);
}

// The picture pipeline: a pass's first picture prepared ahead of the tick is
// thrown away when the settings or the group change before its tick.
TEST_F(TSaverTest, AFolderEntryIsKeptCurrentWhileItRunsAndTroubleWithItsIndexShowsNoBox) {
  ForceDirectories(Scratch + "\\photos\\2024");
  Picture("photos\\2024\\green.bmp", 100, 100, Green);
  Group({Scratch + "\\photos\\"});
  TSaverProcess Saver("/s");
  ASSERT_TRUE(Up(Saver));
  ASSERT_TRUE(WaitForPixel(512, 384, Green));
  // One picture a pass: the refresh after the next pass's first picture
  // finds the one added, and the pass after shows it.
  Picture("photos\\2024\\blue.bmp", 100, 100, Blue);
  ASSERT_TRUE(WaitForPixel(512, 384, Blue)) << "the picture added while it runs";

  // The index damaged, cut short, removed and held locked while the saver
  // runs: every time, both pictures go on coming and no box shows.
  const std::wstring Database = Wide(TPictureLibrary::DefaultDatabasePath());
  auto Open = [&] {
    return TKernelHandle(CreateFileW(Database.c_str(), GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS, 0,
                                     nullptr));
  };
  auto BothShown = [&] { return WaitForPixel(512, 384, Green) && WaitForPixel(512, 384, Blue); };
  {
    TKernelHandle File = Open();
    ASSERT_TRUE(File.Valid());
    const std::string Garbage(200000, '\x5A');
    DWORD Written = 0;
    ASSERT_TRUE(WriteFile(File.Get(), Garbage.data(), static_cast<DWORD>(Garbage.size()), &Written, nullptr));
  }
  EXPECT_TRUE(BothShown()) << "filled with garbage";
  {
    TKernelHandle File = Open();
    SetFilePointer(File.Get(), 100, nullptr, FILE_BEGIN);
    ASSERT_TRUE(SetEndOfFile(File.Get()));
  }
  EXPECT_TRUE(BothShown()) << "cut short";
  DeleteFileW(Database.c_str());
  EXPECT_TRUE(BothShown()) << "removed";
  {
    TKernelHandle File = Open();
    OVERLAPPED Bytes{};
    Bytes.Offset = 0x40000000;
    // Another process writing to the index holds its pending and reserved
    // bytes (the saver, in WAL mode, keeps a shared lock of its own
    // meanwhile): the saver's refresh cannot write.
    ASSERT_TRUE(WaitUntil(
        [&] {
          return LockFileEx(File.Get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 2, 0,
                            &Bytes) != 0;
        },
        10000)) << GetLastError();
    EXPECT_TRUE(BothShown()) << "held locked";
    EXPECT_TRUE(BothShown()) << "held locked, the next pass";
    UnlockFileEx(File.Get(), 0, 2, 0, &Bytes);
  }
  EXPECT_FALSE(Saver.WaitForMessageBox(0).has_value()) << "no box";
  PressKey('A');
  EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0));
}

TEST_F(TSaverTest, ASettingsChangeBetweenPassesShowsAtThePassBoundaryAndNoOldPicture) {
  constexpr std::uint32_t Red = MakePixel(220, 0, 0), Yellow = MakePixel(230, 230, 0);
  constexpr std::uint32_t NewBackgroundPixel = MakePixel(0x20, 0x40, 0x60);
  SettingsKey().WriteInteger("Timer interval", 2500);
  const std::string RedPicture = Picture("red.bmp", 100, 100, Red);
  const std::string YellowPicture = Picture("yellow.bmp", 100, 100, Yellow);
  Group({Picture("green.bmp", 100, 100, Green), Picture("blue.bmp", 100, 100, Blue)});
  TSaverProcess Saver("/s");
  ASSERT_TRUE(Up(Saver));
  ASSERT_TRUE(WaitForPixel(512, 384, Green));
  ASSERT_TRUE(WaitForPixel(512, 384, Blue)) << "the last picture of the pass";
  // The worker prepares the next pass's first picture (green) from the tick
  // that shows blue on, before the screen can be seen to show blue; the
  // background and the group change at once, a whole interval before the
  // tick that is to show green.
  SettingsKey().WriteInteger("Background", 0x00604020);
  Group({RedPicture, YellowPicture});
  // Every picture shown after blue until the new pass's second one, and
  // whether the first one was seen on the new background.
  std::vector<std::uint32_t> Shown;
  bool FirstOnNewBackground = false;
  WaitUntil(
      [&] {
        const TPixelBuffer Screen = CaptureScreen();
        const std::uint32_t P = Screen.At(512, 384);
        if (P != (Shown.empty() ? Blue : Shown.back())) Shown.push_back(P);
        if (Shown.size() == 1 && Screen.At(0, 0) == NewBackgroundPixel) FirstOnNewBackground = true;
        return P == Yellow;
      },
      15000);
  ASSERT_FALSE(Shown.empty()) << "no picture came after blue";
  EXPECT_EQ(Shown.front(), Red) << "the new pass's first picture, not the one prepared before the change";
  EXPECT_TRUE(FirstOnNewBackground);
  EXPECT_EQ(Shown, (std::vector<std::uint32_t>{Red, Yellow})) << "a pass of the new group, none of the old";
  PressKey(VK_ESCAPE);
  EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0));
}

TEST_F(TSaverTest, AReadThatNeverReturnsKeepsNeitherTheWindowNorTheKeyWaiting) {
  Group({Picture("green.bmp", 100, 100, Green)});
  TSaverProcess Saver(TSaverProcess::TCommandLine{"\"" + ProgramFolder() + "BlockingSaver.scr\" /s"});
  const DWORD Started = GetTickCount();
  const auto Window = Saver.WaitForWindow(15000);
  ASSERT_TRUE(Window.has_value()) << "the window covers the screen while the first read blocks";
  EXPECT_LT(GetTickCount() - Started, 5000u);
  RECT R{};
  GetWindowRect(Window->Window, &R);
  EXPECT_EQ(R.right - R.left, 1024);
  EXPECT_EQ(R.bottom - R.top, 768);
  EXPECT_TRUE(TakesKeys(Window->Window));
  const DWORD Pressed = GetTickCount();
  PressKey(VK_SPACE);
  EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0));
  EXPECT_LT(GetTickCount() - Pressed, 1000u) << "ended within a second of the key";
}

// Whether P is the mix of From and To at Share, to within rounding.
bool MixOf(std::uint32_t P, std::uint32_t From, std::uint32_t To, double Share) {
  for (int Shift = 0; Shift < 24; Shift += 8) {
    const double Want = ((From >> Shift) & 0xFF) * (1 - Share) + ((To >> Shift) & 0xFF) * Share;
    if (std::abs(static_cast<double>((P >> Shift) & 0xFF) - Want) > 6) return false;
  }
  return true;
}

TEST_F(TSaverTest, WithFadeEachPictureFadesInOverTheLastAndWithoutItCuts) {
  SettingsKey().WriteInteger("Timer interval", 1500);
  Group({Picture("green.bmp", 400, 300, Green), Picture("blue.bmp", 400, 300, Blue)});
  {
    TSaverProcess Saver("/s");
    ASSERT_TRUE(Up(Saver));
    ASSERT_TRUE(WaitForPixel(512, 384, Green));
    // Every screen between two pictures is one picture or the other,
    // watched over two changes.
    int Changes = 0, Others = 0;
    std::uint32_t Last = Green;
    const DWORD Start = GetTickCount();
    while (Changes < 2 && GetTickCount() - Start < 10000) {
      const TPixelBuffer Screen = CaptureScreen();
      const std::uint32_t P = Screen.At(512, 384);
      if (P != Green && P != Blue) ++Others;
      if (P != Last && (P == Green || P == Blue)) {
        ++Changes;
        Last = P;
        EXPECT_EQ(Screen.At(313, 235), P) << "the whole picture changes at once";
        if (Changes == 1) SaveScreenshot(Screen, "saver-cut-first-screen-after-the-tick");
      }
    }
    EXPECT_GE(Changes, 2);
    EXPECT_EQ(Others, 0) << "no frame between two pictures without the fade";
    PressKey(VK_ESCAPE);
    EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0));
  }

  // Half way, the green picture and the wider blue one both show: where
  // they overlap, where only the green one was, where only the blue one comes.
  SettingsKey().WriteBool("Fade Between Pictures", true);
  Group({Picture("green.bmp", 400, 300, Green), Picture("blue.bmp", 600, 200, Blue)});
  TSaverProcess Saver("/s");
  ASSERT_TRUE(Up(Saver));
  ASSERT_TRUE(WaitForPixel(512, 384, Green));
  TPixelBuffer HalfWay;
  double HalfWayShare = -1;
  DWORD FadeStart = 0, FadeEnd = 0;
  for (DWORD Start = GetTickCount(); GetTickCount() - Start < 5000 && !FadeEnd;) {
    TPixelBuffer Screen = CaptureScreen();
    const std::uint32_t P = Screen.At(512, 384);
    if (P != Green && !FadeStart) FadeStart = GetTickCount();
    if (P == Blue && FadeStart) FadeEnd = GetTickCount();
    const double Share = 1.0 - PixelG(P) / 200.0;
    if (FadeStart && !FadeEnd && std::abs(Share - 0.5) < std::abs(HalfWayShare - 0.5)) {
      HalfWay = std::move(Screen);
      HalfWayShare = Share;
    }
  }
  ASSERT_NE(FadeEnd, 0u) << "the fade ends on the new picture";
  EXPECT_GE(FadeEnd - FadeStart, 250u);
  EXPECT_LE(FadeEnd - FadeStart, 1200u) << "about half a second";
  ASSERT_GE(HalfWayShare, 0.25) << "a screen near half way";
  ASSERT_LE(HalfWayShare, 0.75);
  SaveScreenshot(HalfWay, "saver-fade-half-way");
  EXPECT_TRUE(MixOf(HalfWay.At(512, 384), Green, Blue, HalfWayShare)) << "both pictures";
  EXPECT_TRUE(MixOf(HalfWay.At(512, 250), Green, BackgroundPixel, HalfWayShare)) << "the old one going";
  EXPECT_TRUE(MixOf(HalfWay.At(250, 384), BackgroundPixel, Blue, HalfWayShare)) << "the new one coming";
  EXPECT_EQ(HalfWay.At(0, 0), BackgroundPixel) << "the background stays as it is";
  ASSERT_TRUE(WaitForPixel(512, 384, Green, 5000));
  // A key during a fade ends the saver at once.
  WaitUntil([] { return CaptureScreen().At(512, 384) != Green; }, 5000);
  const DWORD Pressed = GetTickCount();
  PressKey(VK_ESCAPE);
  EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0));
  EXPECT_LT(GetTickCount() - Pressed, 1000u);
}

}  // namespace
