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
  // A W x H picture of Inside centred on the monitor at Left, Top of size
  // MonitorW x MonitorH, the background around it: what a check of it reads
  // of the screen (virtual-screen coordinates).
  static std::vector<TScreenPoint> Centred(int Left, int Top, int MonitorW, int MonitorH, int W, int H,
                                           std::uint32_t Inside) {
    const int X = Left + (MonitorW - W) / 2, Y = Top + (MonitorH - H) / 2;
    std::vector<TScreenPoint> Points{{X, Y, Inside}, {X + W - 1, Y + H - 1, Inside}};
    if (X > Left) Points.push_back({X - 1, Y, BackgroundPixel});
    if (Y > Top) Points.push_back({X, Y - 1, BackgroundPixel});
    if (X + W < Left + MonitorW) Points.push_back({X + W, Y + H - 1, BackgroundPixel});
    if (Y + H < Top + MonitorH) Points.push_back({X + W - 1, Y + H, BackgroundPixel});
    return Points;
  }
  static std::vector<TScreenPoint> Both(std::vector<TScreenPoint> A, const std::vector<TScreenPoint>& B) {
    A.insert(A.end(), B.begin(), B.end());
    return A;
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
  // The first two entries: green on the primary monitor as it is, blue on
  // the second fitted to its 640 x 480 (640 x 320), read from one capture.
  TPixelBuffer Screen;
  EXPECT_EQ(WaitForScreen(Both(Both(Centred(0, 0, 800, 600, 400, 300, Green), Centred(800, 0, 640, 480, 640, 320, Blue)),
                               {{0, 0, BackgroundPixel}, {1439, 0, BackgroundPixel}}),
                          15000, &Screen),
            "");
  SaveScreenshot(Screen, "monitors-first-tick");
  // The next tick: red on the primary, then the new pass's first, green, on
  // the second.
  EXPECT_EQ(WaitForScreen(Both(Centred(0, 0, 800, 600, 300, 300, Red), Centred(800, 0, 640, 480, 400, 300, Green)),
                          5000, &Screen),
            "");
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
  ASSERT_EQ(WaitForScreen({{400, 300, Green}}, 15000), "");
  // The primary takes every entry; the second monitor shows the background.
  TPixelBuffer Screen;
  EXPECT_EQ(WaitForScreen(Both(Centred(0, 0, 800, 600, 800, 400, Blue), {{800, 0, BackgroundPixel},
                                                                         {1120, 240, BackgroundPixel},
                                                                         {1439, 479, BackgroundPixel},
                                                                         {900, 100, BackgroundPixel}}),
                          5000, &Screen),
            "");
  SaveScreenshot(Screen, "monitors-primary-only");
  PressKey(VK_SPACE);
  EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0));
}

}  // namespace
