// The preview (/p HWND) end to end, judged by its behaviour: Wine does not
// put on screen what one process draws into another's window, so the
// preview's pixels are checked in-process by the Windows tests.
#include "e2e/Harness.h"
#include "platform/WindowHandle.h"
#include "support/SettingsFixture.h"
#include "support/TestPictures.h"

namespace {

class TPreviewTest : public TSettingsTest {
 protected:
  void SetUp() override {
    TSettingsTest::SetUp();
    UseScratchGroup("Selected Group", "P");
    TPixelBuffer Green = SolidPicture(200, 100, MakePixel(0, 200, 0));
    WriteBmpFile(Scratch + "\\green.bmp", Green);
    WriteGroupFile("P", Scratch + "\\green.bmp\r\n");
    Host = CreateWindowExA(0, "STATIC", "Display Properties", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 600, 100, 300,
                           250, nullptr, nullptr, nullptr, nullptr);
    Monitor = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 70, 40, 152, 112, Host, nullptr, nullptr, nullptr);
    ASSERT_NE(Monitor, nullptr);
  }
  void TearDown() override {
    DestroyWindow(Host);
    TSettingsTest::TearDown();
  }
  std::string MonitorHandle() const { return std::to_string(Int32FromWindow(Monitor)); }

  HWND Host = nullptr;
  HWND Monitor = nullptr;
};

TEST_F(TPreviewTest, RunsWhileThePreviewWindowIsVisible) {
  TSaverProcess Preview("/p " + MonitorHandle());
  Pump(2000);
  ASSERT_TRUE(Preview.Running());
  EXPECT_TRUE(Preview.Windows().empty()) << "the preview shows no window of its own";
  ShowWindow(Monitor, SW_HIDE);
  const DWORD Hidden = GetTickCount();
  EXPECT_EQ(Preview.WaitForExit(5000), std::optional<DWORD>(0));
  EXPECT_LT(GetTickCount() - Hidden, 1500u);
}

TEST_F(TPreviewTest, EndsAtOnceWithoutAWindowToDrawInto) {
  for (const std::string Arguments : {"/p", "/p 12345", "/p:0", "/l nonsense"}) {
    TSaverProcess Preview(Arguments);
    EXPECT_EQ(Preview.WaitForExit(5000), std::optional<DWORD>(0)) << Arguments;
    EXPECT_TRUE(Preview.Windows().empty()) << Arguments;
  }
}

TEST_F(TPreviewTest, SaverStartsWhileThePreviewRuns) {
  TSaverProcess Preview("/p:" + MonitorHandle());
  Pump(1500);
  ASSERT_TRUE(Preview.Running());
  {
    TSaverProcess Saver("/s");
    const std::optional<TTopWindow> Window = Saver.WaitForWindow(8000);
    ASSERT_TRUE(Window.has_value()) << "the preview has released the single-instance guard";
    Pump(500);
    PressKey('X');
    EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0));
  }
  DestroyWindow(Monitor);
  EXPECT_EQ(Preview.WaitForExit(5000), std::optional<DWORD>(0)) << "a destroyed window is no longer visible";
}

}  // namespace
