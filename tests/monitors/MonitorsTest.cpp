// The full-screen saver (/s) on a display of two monitors of different sizes
// (800 x 600 at 0, 0, the primary, and 640 x 480 at 800, 0): a picture of
// its own on each, fitted to that monitor and centred on it; both change on
// the tick; "All Monitors" off leaves the second in the background colour.
#include <windows.h>

#include "e2e/Harness.h"
#include "platform/Monitors.h"
#include "support/SettingsFixture.h"
#include "support/TestPictures.h"

namespace {

constexpr std::uint32_t BackgroundPixel = MakePixel(0x99, 0x66, 0x33);
constexpr std::uint32_t Green = MakePixel(0, 200, 0);
constexpr std::uint32_t Blue = MakePixel(0, 0, 220);
constexpr std::uint32_t Red = MakePixel(220, 0, 0);

class TMonitorsTest : public TSettingsTest {
 protected:
  void SetUp() override {
    TSettingsTest::SetUp();
    const std::vector<RECT> Rects = MonitorRects();
    ASSERT_EQ(Rects.size(), 2u) << "the test display has two monitors";
    EXPECT_EQ(Size(Rects[0]), (std::pair<LONG, LONG>{800, 600}));
    EXPECT_EQ(Size(Rects[1]), (std::pair<LONG, LONG>{640, 480}));
    Second = Rects[1];
    UseScratchGroup("Selected Group", "M");
    TRegistryKey Key = SettingsKey();
    Key.WriteBool("Random", false);
    Key.WriteInteger("Background", 0x00336699);
    Key.WriteInteger("Timer interval", 2000);
    std::string Group;
    for (const auto& [Name, W, H, Pixel] : {std::tuple{"green.bmp", 400, 300, Green}, {"blue.bmp", 1000, 500, Blue},
                                           {"red.bmp", 300, 300, Red}}) {
      TPixelBuffer P = SolidPicture(W, H, Pixel);
      WriteBmpFile(Scratch + "\\" + Name, P);
      Group += Scratch + "\\" + Name + "\r\n";
    }
    WriteGroupFile("M", Group);
  }
  static std::pair<LONG, LONG> Size(const RECT& R) { return {R.right - R.left, R.bottom - R.top}; }
  // Waits until the screen shows Pixel at X, Y (virtual-screen
  // coordinates); the capture that shows it, so that what is checked of it
  // next is of the same moment.
  static std::optional<TPixelBuffer> WaitForPixel(int X, int Y, std::uint32_t Pixel, DWORD TimeoutMs = 15000) {
    TPixelBuffer Screen;
    if (!WaitUntil([&] { return (Screen = CaptureScreen()).At(X, Y) == Pixel; }, TimeoutMs)) return std::nullopt;
    return Screen;
  }
  // A W x H picture of Inside centred on the monitor at Left, Top of size
  // MonitorW x MonitorH, the background around it.
  static void ExpectCentred(const TPixelBuffer& Screen, int Left, int Top, int MonitorW, int MonitorH, int W, int H,
                            std::uint32_t Inside) {
    const int X = Left + (MonitorW - W) / 2, Y = Top + (MonitorH - H) / 2;
    EXPECT_EQ(Screen.At(X, Y), Inside);
    EXPECT_EQ(Screen.At(X + W - 1, Y + H - 1), Inside);
    if (X > Left) {
      EXPECT_EQ(Screen.At(X - 1, Y), BackgroundPixel);
    }
    if (Y > Top) {
      EXPECT_EQ(Screen.At(X, Y - 1), BackgroundPixel);
    }
    if (X + W < Left + MonitorW) {
      EXPECT_EQ(Screen.At(X + W, Y + H - 1), BackgroundPixel);
    }
    if (Y + H < Top + MonitorH) {
      EXPECT_EQ(Screen.At(X + W - 1, Y + H), BackgroundPixel);
    }
  }
  RECT Second{};
  TSamplePicture NoSample{false};
};

TEST_F(TMonitorsTest, EachMonitorShowsItsOwnPictureFittedToItAndTheTickChangesBoth) {
  SettingsKey().WriteBool("Keep As Wallpaper", true);
  SettingsKey().WriteString("Save WallPaper As", Scratch + "\\wall.bmp");
  TSaverProcess Saver("/s", WholeDisplay);
  const auto Window = Saver.WaitForWindow(15000);
  ASSERT_TRUE(Window.has_value());
  RECT Covered{};
  GetWindowRect(Window->Window, &Covered);
  EXPECT_EQ(Size(Covered), (std::pair<LONG, LONG>{1440, 600})) << "the whole virtual screen";
  std::optional<TPixelBuffer> First = WaitForPixel(400, 300, Green);
  ASSERT_TRUE(First);
  // The first two entries: green on the primary monitor as it is, blue on
  // the second fitted to its 640 x 480 (640 x 320).
  TPixelBuffer Screen = *First;
  ExpectCentred(Screen, 0, 0, 800, 600, 400, 300, Green);
  ExpectCentred(Screen, 800, 0, 640, 480, 640, 320, Blue);
  EXPECT_EQ(Screen.At(0, 0), BackgroundPixel);
  EXPECT_EQ(Screen.At(1439, 0), BackgroundPixel);
  SaveScreenshot(Screen, "monitors-first-tick");
  // The next tick: red on the primary, then the new pass's first, green, on
  // the second.
  std::optional<TPixelBuffer> Second = WaitForPixel(400, 300, Red, 5000);
  ASSERT_TRUE(Second);
  Screen = *Second;
  ExpectCentred(Screen, 0, 0, 800, 600, 300, 300, Red);
  ExpectCentred(Screen, 800, 0, 640, 480, 400, 300, Green);
  SaveScreenshot(Screen, "monitors-second-tick");
  PressKey(VK_ESCAPE);
  EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0));
  TPixelBuffer Wallpaper = ReadBmpFilePixels(Scratch + "\\wall.bmp");
  EXPECT_EQ(Wallpaper.Width, 300) << "Keep As Wallpaper keeps the primary monitor's picture";
  EXPECT_EQ(Wallpaper.At(150, 150), Red);
}

TEST_F(TMonitorsTest, AllMonitorsOffShowsPicturesOnThePrimaryAndTheBackgroundOnTheOthers) {
  SettingsKey().WriteBool("All Monitors", false);
  SettingsKey().WriteInteger("Timer interval", 700);
  TSaverProcess Saver("/s", WholeDisplay);
  ASSERT_TRUE(Saver.WaitForWindow(15000).has_value());
  ASSERT_TRUE(WaitForPixel(400, 300, Green));
  const std::optional<TPixelBuffer> Shown = WaitForPixel(400, 300, Blue, 5000);
  ASSERT_TRUE(Shown) << "the primary takes every entry";
  const TPixelBuffer& Screen = *Shown;
  ExpectCentred(Screen, 0, 0, 800, 600, 800, 400, Blue);
  for (const POINT P : {POINT{800, 0}, POINT{1120, 240}, POINT{1439, 479}, POINT{900, 100}})
    EXPECT_EQ(Screen.At(P.x, P.y), BackgroundPixel) << "the second monitor at " << P.x << ", " << P.y;
  SaveScreenshot(Screen, "monitors-primary-only");
  PressKey(VK_SPACE);
  EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0));
}

}  // namespace
