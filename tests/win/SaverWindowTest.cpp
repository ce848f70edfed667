// The saver's window in this process with its picture pipeline: the key
// answered at once whatever the worker's read does, and the pictures
// presented in the queue's order, each once per pass.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "forms/MainFrm.h"
#include "platform/Application.h"
#include "support/BlockingSource.h"
#include "support/KeyToGone.h"
#include "support/SettingsFixture.h"
#include "support/TestPictures.h"

namespace {

class TSaverWindowTest : public TSettingsTest {
 protected:
  void SetUp() override {
    TSettingsTest::SetUp();
    UseScratchGroup("Selected Group", "W");
    SettingsKey().WriteBool("Random", false);
  }
  // A saver window with Context, shown; Presented tells of its pictures.
  TMainForm& StartSaver(TApplication& App, TMainFormContext Context) {
    Context.Presented = [this](const std::string& Entry, double) { Shown.push_back(Entry); };
    auto& Saver = static_cast<TMainForm&>(*App.AddForm(std::make_unique<TMainForm>(App, Context)));
    Saver.Show();
    App.ProcessMessages();
    return Saver;
  }
  std::vector<std::string> Shown;
};

TEST_F(TSaverWindowTest, AKeyEndsTheSaverAtOnceWhileTheWorkersReadBlocks) {
  TMainFormContext Context;
  Context.MakeSource = TBlockingSource::Maker();
  std::vector<double> Times;
  for (int Run = 0; Run < 3; ++Run) {
    TApplication App;
    TMainForm& Saver = StartSaver(App, Context);
    const HWND Window = Saver.Handle();
    ASSERT_TRUE(PumpUntil(App, [] { return TBlockingSource::WaitForRead(0); }, 10000)) << "the first read begins";
    EXPECT_TRUE(IsWindowVisible(Window)) << "the window covers the screen while the read blocks";
    Times.push_back(KeyToGoneMs(App, Window));
  }
  std::sort(Times.begin(), Times.end());
  std::printf("key to gone with a read that blocks: %.1f ms (median of 3)\n", Times[1]);
  EXPECT_LT(Times[1], 100.0);
  EXPECT_TRUE(Shown.empty()) << "nothing was ever ready";
  TBlockingSource::Release();
}

TEST_F(TSaverWindowTest, PresentsTheGroupInItsOrderPassAfterPassAndKeepsTheOneOnScreen) {
  std::string Group;
  std::vector<std::string> Paths;
  for (int I = 0; I < 3; ++I) {
    Paths.push_back(Scratch + "\\p" + std::to_string(I) + (I == 1 ? ".jpg" : ".bmp"));
    TPixelBuffer P = SolidPicture(64 + I, 48, MakePixel(40 * I, 90, 200));
    if (I == 1)
      WriteJpegFile(Paths.back(), P, 90);
    else
      WriteBmpFile(Paths.back(), P);
    Group += Paths.back() + "\r\n";
  }
  WriteGroupFile("W", Group);
  SettingsKey().WriteInteger("Timer interval", 1);
  TApplication App;
  TMainForm& Saver = StartSaver(App, TMainFormContext{});
  ASSERT_TRUE(PumpUntil(App, [&] { return Shown.size() >= 7; }, 20000));
  EXPECT_EQ(std::vector<std::string>(Shown.begin(), Shown.begin() + 7),
            (std::vector<std::string>{Paths[0], Paths[1], Paths[2], Paths[0], Paths[1], Paths[2], Paths[0]}));
  EXPECT_EQ(Saver.ImageFile(), Shown.back()) << "the picture on screen, not the one being prepared";
  App.DestroyForms();
}

}  // namespace
