// The companion viewer Vistaloop.exe end to end: its slide show window,
// placement and flags, the pictures and groups it survives, the wallpaper
// changer, and the Run values that start it at logon.
#include <fstream>

#include "e2e/Harness.h"
#include "platform/Files.h"
#include "support/SettingsFixture.h"
#include "support/TestEnvironment.h"
#include "support/TestPictures.h"

namespace {

constexpr std::uint32_t BackgroundPixel = MakePixel(0x99, 0x66, 0x33);
constexpr std::uint32_t BackgroundColour = 0x00336699;  // 0x00BBGGRR
constexpr std::uint32_t Green = MakePixel(0, 200, 0);
constexpr std::uint32_t Blue = MakePixel(0, 0, 220);
constexpr std::uint32_t White = MakePixel(255, 255, 255);

std::string ViewerPath() { return ProgramFolder() + "Vistaloop.exe"; }

TSaverProcess::TCommandLine Viewer(const std::string& Arguments) {
  return {"\"" + ViewerPath() + "\"" + Arguments};
}

class TViewerTest : public TSettingsTest {
 protected:
  void SetUp() override {
    TSettingsTest::SetUp();
    UseScratchGroup("SlideShow Group", "V");
    TRegistryKey Key = SettingsKey();
    Key.WriteBool("Random", false);
    Key.WriteInteger("Background", BackgroundColour);
    Key.WriteInteger("Timer interval", 400);
    Key.WriteString("Save WallPaper As", Scratch + "\\wall.bmp");
    Key.WriteInteger("Slide Show Pos X", 100);
    Key.WriteInteger("Slide Show Pos Y", 80);
    Key.WriteInteger("Slide Show Size X", 400);
    Key.WriteInteger("Slide Show Size Y", 300);
    TRegistryKey::OpenOrCreate("Control Panel\\Desktop").WriteString("Wallpaper", "");
  }

  std::string Picture(const std::string& Name, int W, int H, std::uint32_t Pixel) const {
    TPixelBuffer P = SolidPicture(W, H, Pixel);
    const std::string Path = Scratch + "\\" + Name;
    if (Name.substr(Name.size() - 4) == ".bmp")
      WriteBmpFile(Path, P);
    else
      WriteJpegFile(Path, P);
    return Path;
  }
  void Group(const std::string& Name, const std::vector<std::string>& Paths) const {
    std::string Data;
    for (const std::string& P : Paths) Data += P + "\r\n";
    WriteGroupFile(Name, Data);
  }
  static RECT WindowBounds(HWND Window) {
    RECT R{};
    GetWindowRect(Window, &R);
    return R;
  }
  // The pixel of the screen at X, Y of the window's client area.
  static std::uint32_t ClientPixel(HWND Window, int X, int Y) {
    POINT P{X, Y};
    ClientToScreen(Window, &P);
    return CaptureScreen().At(P.x, P.y);
  }
  static SIZE ClientSize(HWND Window) {
    RECT R{};
    GetClientRect(Window, &R);
    return SIZE{R.right, R.bottom};
  }
  // Waits until the client area's centre shows Pixel.
  static bool WaitForCentre(HWND Window, std::uint32_t Pixel, DWORD TimeoutMs = 15000) {
    return WaitUntil(
        [&] {
          const SIZE C = ClientSize(Window);
          return ClientPixel(Window, C.cx / 2, C.cy / 2) == Pixel;
        },
        TimeoutMs);
  }
  // What the client area shows of a picture W x H centred on the
  // background, read from one capture of the screen: "" when it shows it.
  static std::string CentredPictureMismatch(HWND Window, int W, int H, std::uint32_t Inside) {
    const SIZE C = ClientSize(Window);
    POINT Origin{0, 0};
    ClientToScreen(Window, &Origin);
    const TPixelBuffer Screen = CaptureScreen();
    const int X = (C.cx - W) / 2, Y = (C.cy - H) / 2;
    const struct {
      int X, Y;
      std::uint32_t Expected;
    } Points[] = {{X, Y, Inside},
                  {X + W - 1, Y + H - 1, Inside},
                  {X - 1, Y, BackgroundPixel},
                  {X + W, Y + H - 1, BackgroundPixel},
                  {0, 0, BackgroundPixel},
                  {C.cx - 1, C.cy - 1, BackgroundPixel}};
    std::string Mismatch;
    for (const auto& P : Points) {
      const std::uint32_t Seen = Screen.At(Origin.x + P.X, Origin.y + P.Y);
      if (Seen != P.Expected)
        Mismatch += "at " + std::to_string(P.X) + "," + std::to_string(P.Y) + ": " + std::to_string(Seen) + " ";
    }
    return Mismatch;
  }
  // Waits until it shows, up to TimeoutMs; the last mismatch when it never does.
  static std::string WaitForCentredPicture(HWND Window, int W, int H, std::uint32_t Inside, DWORD TimeoutMs = 15000) {
    std::string Mismatch;
    WaitUntil([&] { return (Mismatch = CentredPictureMismatch(Window, W, H, Inside)).empty(); }, TimeoutMs);
    return Mismatch;
  }
  static std::int32_t Stored(const char* Name) {
    return static_cast<std::int32_t>(TRegistryKey::Open(SettingsKeyPath).ReadInteger(Name));
  }
  static void ExpectStoredPlacement(int X, int Y, int W, int H) {
    EXPECT_EQ(Stored("Slide Show Pos X"), X);
    EXPECT_EQ(Stored("Slide Show Pos Y"), Y);
    EXPECT_EQ(Stored("Slide Show Size X"), W);
    EXPECT_EQ(Stored("Slide Show Size Y"), H);
  }
  static void CloseViewer(const TSaverProcess& Process, HWND Window) {
    PostMessageA(Window, WM_CLOSE, 0, 0);
    EXPECT_EQ(Process.WaitForExit(10000), std::optional<DWORD>(0));
  }
};

TEST_F(TViewerTest, ShowsTheGroupAtTheStoredPlacementAndStoresTheNewOne) {
  Group("V", {Picture("green.bmp", 100, 60, Green), Picture("blue.jpg", 120, 80, Blue)});
  Group("Other", {Picture("other.bmp", 50, 50, White)});
  TSaverProcess Process(Viewer(" /s \"V\""));
  const auto Window = Process.WaitForWindow(15000);
  ASSERT_TRUE(Window.has_value());
  const HWND W = Window->Window;
  EXPECT_EQ(Window->Caption, "Pictarine Screen Saver - V");
  const RECT R = WindowBounds(W);
  EXPECT_EQ(R.left, 100);
  EXPECT_EQ(R.top, 80);
  EXPECT_EQ(R.right - R.left, 400);
  EXPECT_EQ(R.bottom - R.top, 300);
  EXPECT_FALSE(GetWindowLongA(W, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(GetWindowLongA(W, GWL_STYLE) & WS_THICKFRAME) << "resizable";

  ASSERT_EQ(WaitForCentredPicture(W, 100, 60, Green), "");
  ASSERT_TRUE(WaitForCentre(W, Blue)) << "the next picture follows";
  ASSERT_TRUE(WaitForCentre(W, Green)) << "and the pass starts again";

  // The worker redoes the picture on screen at the new size (until then it
  // is shown stretched), and the slide show goes on at that size.
  SetWindowPos(W, nullptr, 150, 120, 500, 350, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(WaitForCentredPicture(W, 100, 60, Green, 5000), "");
  EXPECT_EQ(WaitForCentredPicture(W, 120, 80, Blue, 5000), "");
  SendMessageA(W, WM_ENDSESSION, TRUE, 0);
  ExpectStoredPlacement(150, 120, 500, 350);  // the end of the session destroys no window
  SetWindowPos(W, nullptr, 60, 40, 300, 250, SWP_NOZORDER | SWP_NOACTIVATE);
  CloseViewer(Process, W);
  ExpectStoredPlacement(60, 40, 300, 250);
}

TEST_F(TViewerTest, ShowsItsFirstPictureAtOnceWhateverTheIntervalAndItsPlacement) {
  // A minute between pictures: the first one must not wait for the first
  // tick, at the default size as at a stored one.
  SettingsKey().WriteInteger("Timer interval", 60000);
  SettingsKey().WriteString("SlideShow Group", "acc");
  Group("acc", {Picture("green.bmp", 100, 60, Green)});
  for (const bool Stored : {false, true}) {
    TRegistryKey Key = SettingsKey();
    for (const char* Name : {"Slide Show Pos X", "Slide Show Pos Y", "Slide Show Size X", "Slide Show Size Y"})
      Key.DeleteValue(Name);
    if (Stored) {
      Key.WriteInteger("Slide Show Pos X", 100);
      Key.WriteInteger("Slide Show Pos Y", 100);
      Key.WriteInteger("Slide Show Size X", 600);
      Key.WriteInteger("Slide Show Size Y", 400);
    }
    TSaverProcess Process(Viewer(" /s acc"));
    const auto Window = Process.WaitForWindow(15000);
    ASSERT_TRUE(Window.has_value());
    EXPECT_EQ(Window->Caption, "Pictarine Screen Saver - acc");
    EXPECT_EQ(WaitForCentredPicture(Window->Window, 100, 60, Green, 10000), "")
        << (Stored ? "600 x 400" : "the default size");
    CloseViewer(Process, Window->Window);
  }
}

TEST_F(TViewerTest, WithFadeEachPictureFadesInOverTheLast) {
  SettingsKey().WriteInteger("Timer interval", 1000);
  SettingsKey().WriteBool("Fade Between Pictures", true);
  Group("V", {Picture("green.bmp", 100, 60, Green), Picture("blue.bmp", 100, 60, Blue)});
  TSaverProcess Process(Viewer(" /s V"));
  const auto Window = Process.WaitForWindow(15000);
  ASSERT_TRUE(Window.has_value());
  const HWND W = Window->Window;
  ASSERT_TRUE(WaitForCentre(W, Green));
  bool Mixed = false;
  for (DWORD Start = GetTickCount(); GetTickCount() - Start < 4000 && !Mixed;) {
    const SIZE C = ClientSize(W);
    const std::uint32_t P = ClientPixel(W, C.cx / 2, C.cy / 2);
    Mixed = PixelR(P) == 0 && PixelG(P) > 20 && PixelB(P) > 20;
  }
  EXPECT_TRUE(Mixed) << "a screen with both pictures";
  EXPECT_TRUE(WaitForCentre(W, Blue, 3000)) << "the fade ends on the new picture";
  CloseViewer(Process, W);
}

TEST_F(TViewerTest, ShowsEveryPhotoUprightWhateverItsExifOrientation) {
  SettingsKey().WriteInteger("Timer interval", 500);
  // A blue picture before each photo shows when the next photo arrives.
  Group("V", WriteOrientationSeries(Scratch, Picture("blue.bmp", 160, 120, Blue)));
  TSaverProcess Process(Viewer(" /s \"V\""));
  const auto Window = Process.WaitForWindow(15000);
  ASSERT_TRUE(Window.has_value());
  const HWND W = Window->Window;
  for (int Orientation = 1; Orientation <= 8; ++Orientation) {
    ASSERT_TRUE(WaitForCentre(W, Blue)) << "before orientation " << Orientation;
    std::string Mismatch = "the photo never came";
    WaitUntil(
        [&] {
          const SIZE C = ClientSize(W);
          POINT Origin{(C.cx - 160) / 2, (C.cy - 120) / 2};
          ClientToScreen(W, &Origin);
          TPixelBuffer Screen = CaptureScreen();
          if (Screen.At(Origin.x + 80, Origin.y + 60) == Blue) return false;
          Mismatch = QuadrantMismatch(Screen.View(), Origin.x, Origin.y, 160, 120);
          return true;
        },
        5000);
    EXPECT_EQ(Mismatch, "") << "orientation " << Orientation;
  }
  CloseViewer(Process, W);
}

TEST_F(TViewerTest, HiddenAndOnTopStartMinimisedAndKeepTheNormalPlacement) {
  SettingsKey().WriteBool("Slide Show OnTop", true);
  SettingsKey().WriteBool("Slide Show Hidden", true);
  Group("V", {Picture("green.bmp", 100, 60, Green)});
  TSaverProcess Process(Viewer(""));
  const auto Window = Process.WaitForWindow(15000);
  ASSERT_TRUE(Window.has_value());
  EXPECT_EQ(Window->Caption, "Pictarine Screen Saver - V") << "the stored slide show group";
  EXPECT_TRUE(IsIconic(Window->Window));
  EXPECT_TRUE(GetWindowLongA(Window->Window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  // Closed once it runs its message loop, its start over.
  EXPECT_TRUE(WaitForReady(Window->Window));
  CloseViewer(Process, Window->Window);
  ExpectStoredPlacement(100, 80, 400, 300);
}

TEST_F(TViewerTest, SurvivesBadPicturesAHugeGroupAndAnEmptyOne) {
  const std::string Gone = Picture("gone.bmp", 40, 40, White);
  std::vector<std::string> Entries{MakeFile("corrupt.bmp", "BM not a bitmap"), MakeFile("corrupt.jpg", "no jpeg"),
                                   Gone, Picture("big.jpg", 4000, 3000, Blue)};
  const std::string GreenPicture = Picture("green.bmp", 100, 60, Green);
  Entries.resize(100000, GreenPicture);
  Group("V", Entries);
  {
    TSaverProcess Process(Viewer(" /s V"));
    const auto Window = Process.WaitForWindow(60000);
    ASSERT_TRUE(Window.has_value());
    DeleteFileA(Gone.c_str());  // listed, then missing when its turn comes
    ASSERT_TRUE(WaitForCentre(Window->Window, Blue)) << "the 12-megapixel picture, fitted";
    ASSERT_EQ(WaitForCentredPicture(Window->Window, 100, 60, Green), "");
    // An error box for an entry before the pictures on screen would show now.
    EXPECT_FALSE(Process.WaitForMessageBox(0).has_value());
    CloseViewer(Process, Window->Window);
  }
  TSamplePicture NoSample(false);
  Group("V", {});
  TSaverProcess Process(Viewer(" /s \"V\""));
  const auto Window = Process.WaitForWindow(15000);
  ASSERT_TRUE(Window.has_value());
  // The 200 x 50 message bitmap, white around its text, on the background.
  ASSERT_EQ(WaitForCentredPicture(Window->Window, 200, 50, White, 5000), "");
  EXPECT_TRUE(Process.Running());
  CloseViewer(Process, Window->Window);
}

TEST_F(TViewerTest, RunValuesStartTheWallpaperChangerAndTheSlideShow) {
  // An install folder with a blank in its path, where an unquoted command
  // line would go wrong.
  const std::string Install = Scratch + "\\Program Files\\Pictarine";
  ASSERT_TRUE(ForceDirectories(Install));
  ASSERT_TRUE(CopyFileA(ViewerPath().c_str(), (Install + "\\Vistaloop.exe").c_str(), FALSE));
  {
    TSettings Settings;
    Settings.InstallDir = Install;
    Settings.SetWallpaper = true;
    Settings.SlideShowStartup = true;
    Settings.WallPaperGroup = "W";
    Settings.SlideShowGroup = "V";
    Settings.GroupNames = {"V", "W"};
    Settings.ChangeWallPaper = 0;
    Settings.SaveSettings();
  }
  const std::string Wallpaper = Scratch + "\\wall.bmp";
  ForceDirectories(Install + "\\Image Data");
  std::ofstream(Install + "\\Image Data\\W.dat", std::ios::binary) << Picture("red.bmp", 64, 32, MakePixel(200, 0, 0))
                                                                   << "\r\n";
  std::ofstream(Install + "\\Image Data\\V.dat", std::ios::binary) << Picture("green.bmp", 100, 60, Green) << "\r\n";

  const TRegistryKey Run = TRegistryKey::Open(RunKeyPath);
  {
    TSaverProcess Changer(TSaverProcess::TCommandLine{Run.ReadString("WallPaper Changer")});
    EXPECT_EQ(Changer.WaitForExit(20000), std::optional<DWORD>(0)) << "Change WallPaper 0: one change, then the end";
    const TBmpFileInfo File = ReadBmpFileInfo(Wallpaper);
    EXPECT_EQ(File.Width, 64) << "a picture of the wallpaper group";
    EXPECT_EQ(File.Height, 32);
    EXPECT_EQ(TRegistryKey::Open("Control Panel\\Desktop").ReadString("Wallpaper"), Wallpaper);
  }
  TSaverProcess SlideShow(TSaverProcess::TCommandLine{Run.ReadString("Slide Show")});
  const auto Window = SlideShow.WaitForWindow(15000);
  ASSERT_TRUE(Window.has_value());
  EXPECT_EQ(Window->Caption, "Pictarine Screen Saver - V");
  EXPECT_TRUE(WaitForCentre(Window->Window, Green));
  CloseViewer(SlideShow, Window->Window);
}

TEST_F(TViewerTest, WallpaperChangerRunsWithoutAWindowUntilTheSessionEnds) {
  UseScratchGroup("WallPaper Group", "W");
  SettingsKey().WriteInteger("Change WallPaper", 5);
  Group("W", {Picture("red.bmp", 64, 32, MakePixel(200, 0, 0))});
  const std::string Wallpaper = Scratch + "\\wall.bmp";
  TSaverProcess Changer(Viewer(" /w"));
  // The change is over once the desktop names the file, written before.
  WaitUntil([] { return TRegistryKey::Open("Control Panel\\Desktop").ReadString("Wallpaper") != ""; }, 20000);
  EXPECT_EQ(TRegistryKey::Open("Control Panel\\Desktop").ReadString("Wallpaper"), Wallpaper);
  EXPECT_EQ(ReadBmpFileInfo(Wallpaper).Width, 64) << "the first change comes at once";
  // Nothing comes for 5 minutes to show that it waits.
  ASSERT_TRUE(HoldsFor([&] { return Changer.Running(); }, 1000)) << "waiting for its next change in 5 minutes";
  EXPECT_TRUE(Changer.Windows().empty()) << "nothing on screen";
  HWND Hidden = nullptr;
  for (const TTopWindow& W : Changer.Windows(false))
    if (W.ClassName == "TWallpaperChanger") Hidden = W.Window;
  ASSERT_NE(Hidden, nullptr);
  EXPECT_TRUE(SendMessageA(Hidden, WM_QUERYENDSESSION, 0, 0));
  SendMessageA(Hidden, WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(Changer.WaitForExit(10000), std::optional<DWORD>(0));
}

TEST_F(TViewerTest, ErrorsAreShownInABoxCaptionedVistaloop) {
  UseScratchGroup("WallPaper Group", "W");
  SettingsKey().WriteString("Save WallPaper As", Scratch + "\\no such folder\\wall.bmp");
  Group("W", {Picture("red.bmp", 64, 32, MakePixel(200, 0, 0))});
  TSaverProcess Changer(Viewer(" /w"));
  const auto Box = Changer.WaitForMessageBox(20000);
  ASSERT_TRUE(Box.has_value());
  EXPECT_EQ(Box->Caption, "Vistaloop");
  EXPECT_EQ(Box->Text, "Path not found.");
  Box->Dismiss();
  EXPECT_EQ(Changer.WaitForExit(10000), std::optional<DWORD>(1));

  SettingsKey().WriteString("Timer interval", "fast");
  TSaverProcess SlideShow(Viewer(" /s V"));
  const auto Bad = SlideShow.WaitForMessageBox(20000);
  ASSERT_TRUE(Bad.has_value());
  EXPECT_EQ(Bad->Caption, "Vistaloop");
  EXPECT_EQ(Bad->Text, "Invalid data type for 'Timer interval'");
  Bad->Dismiss();
  EXPECT_EQ(SlideShow.WaitForExit(10000), std::optional<DWORD>(1));
}

TEST_F(TViewerTest, ARepeatingErrorIsShownOnceAndTheSlideShowGoesOn) {
  // The next pass is prepared when blue shows, a second after green: the
  // settings change while green shows, so that the next pass fails to begin.
  // (Changed after that, the pass begins and fails its check at the tick;
  // blue then follows, and the error that comes after it is shown anew.)
  SettingsKey().WriteInteger("Timer interval", 1000);
  Group("V", {Picture("green.bmp", 100, 60, Green), Picture("blue.bmp", 100, 60, Blue)});
  TSaverProcess Process(Viewer(" /s V"));
  const auto Window = Process.WaitForWindow(15000);
  ASSERT_TRUE(Window.has_value());
  ASSERT_TRUE(WaitForCentre(Window->Window, Green));
  // Every new pass reads the settings again, and now fails to.
  SettingsKey().WriteString("Random", "no");
  const auto Box = Process.WaitForMessageBox(10000);
  ASSERT_TRUE(Box.has_value());
  EXPECT_EQ(Box->Caption, "Vistaloop");
  EXPECT_EQ(Box->Text, "Invalid data type for 'Random'");
  // Nothing shows while the settings stay unreadable: watched for a second
  // box while the first one is up, and for two seconds (a tick a second)
  // after it is gone.
  EXPECT_TRUE(HoldsFor([&] { return Process.Windows().size() == 2u; }, 1500)) << "no second box behind the first";
  Box->Dismiss();
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(Box->Window); }, 3000));
  EXPECT_FALSE(Process.WaitForMessageBox(2000).has_value()) << "the same error is not shown again";
  SettingsKey().WriteBool("Random", false);
  EXPECT_TRUE(WaitForCentre(Window->Window, Blue)) << "the slide show goes on once the settings read again";
  // A box shown before that picture would still be up.
  EXPECT_FALSE(Process.WaitForMessageBox(0).has_value()) << "no box came on the way";
  CloseViewer(Process, Window->Window);
}

}  // namespace
