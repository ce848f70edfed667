// The viewer's slide show window in this process: its memory over a long
// run of different pictures, and where it opens when the stored placement is
// unusable.
#include <windows.h>
// (after windows.h)
#include <psapi.h>

#include <atomic>
#include <cstdio>
#include <vector>

#include "picture/GroupFrameSource.h"
#include "platform/Application.h"
#include "support/KeyToGone.h"
#include "support/SettingsFixture.h"
#include "support/TestPictures.h"
#include "viewer/SlideShowFrm.h"

namespace {

class TSlideShowTest : public TSettingsTest {};


std::size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS Counters{};
  Counters.cb = sizeof Counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &Counters, sizeof Counters);
  return Counters.PagefileUsage;
}

TEST_F(TSlideShowTest, MemoryStaysFlatOverAThousandPictures) {
  UseScratchGroup("Selected Group", "M");
  SettingsKey().WriteBool("Random", false);
  std::string Group;
  for (int I = 0; I < 1000; ++I) {
    // Every picture of another size and colour, half BMP and half JPEG, so
    // that no picture's memory can simply be reused for the next.
    TPixelBuffer P = SolidPicture(160 + I % 97, 120 + I % 53, MakePixel(I % 256, (I * 7) % 256, 90));
    const std::string Path = Scratch + "\\p" + std::to_string(I) + (I % 2 ? ".jpg" : ".bmp");
    if (I % 2)
      WriteJpegFile(Path, P, 80);
    else
      WriteBmpFile(Path, P);
    Group += Path + "\r\n";
  }
  WriteGroupFile("M", Group);

  SettingsKey().WriteInteger("Timer interval", 1);
  TApplication App;
  TSlideShowForm Form(App, "M");
  ASSERT_TRUE(PumpUntil(App, [&] { return Form.PicturesShown() >= 50; }, 30000));
  const std::size_t Before = PrivateBytes();
  ASSERT_TRUE(PumpUntil(App, [&] { return Form.PicturesShown() >= 1050; }, 120000));
  const std::size_t After = PrivateBytes();
  const long long Growth = static_cast<long long>(After) - static_cast<long long>(Before);
  std::printf("slide show private bytes: %zu KiB after 50 pictures, %zu KiB after 1,050 (growth %lld KiB)\n",
              Before / 1024, After / 1024, Growth / 1024);
  EXPECT_LT(Growth, 2 << 20);
  // The measure itself sees memory that is kept.
  std::vector<char> Kept(16 << 20, 1);
  EXPECT_GE(PrivateBytes(), After + (12 << 20)) << static_cast<int>(Kept[4096]);
}

TEST_F(TSlideShowTest, WithoutASettingsKeyTheSamplePictureKeepsComing) {
  TRegistryKey::Open("Software\\Quellbrook").DeleteSubKey("Pictarine Screen Saver");
  TSamplePicture Sample(true);
  TGroupSourceOptions Options;
  Options.Group = "Never Configured";
  Options.Fit = TGroupSourceOptions::WholeFrame;
  Options.ReloadGroupWithoutKey = true;
  const std::atomic<bool> Running{false};
  TGroupFrameSource Source(Options, Running);
  for (int Pass = 1; Pass <= 3; ++Pass) {
    TFrame Frame;
    Frame.Width = 64;
    Frame.Height = 48;
    Source.Prepare(Frame);
    EXPECT_EQ(Frame.Entry, TSettings::SamplePicturePath()) << "pass " << Pass;
  }
}

TEST_F(TSlideShowTest, UnusablePlacementFallsBackOnTheScreen) {
  TSettings Settings;
  RECT R = SlideShowBounds(Settings);
  EXPECT_EQ((std::vector<LONG>{R.left, R.top, R.right, R.bottom}), (std::vector<LONG>{0, 0, 267, 200}));
  Settings.SlideShowPosX = -100;
  Settings.SlideShowPosY = 50;
  Settings.SlideShowSizeX = 400;
  Settings.SlideShowSizeY = 300;
  R = SlideShowBounds(Settings);
  EXPECT_EQ((std::vector<LONG>{R.left, R.top, R.right, R.bottom}), (std::vector<LONG>{-100, 50, 300, 350}))
      << "partly on the screen: kept";
  Settings.SlideShowPosX = -32000;
  Settings.SlideShowPosY = -32000;
  R = SlideShowBounds(Settings);
  EXPECT_EQ((std::vector<LONG>{R.left, R.top, R.right, R.bottom}), (std::vector<LONG>{0, 0, 400, 300}))
      << "on no monitor: moved to the top-left corner";
  Settings.SlideShowSizeX = 0;
  Settings.SlideShowSizeY = -7;
  R = SlideShowBounds(Settings);
  EXPECT_EQ((std::vector<LONG>{R.left, R.top, R.right, R.bottom}), (std::vector<LONG>{0, 0, 267, 200}));
}

}  // namespace
