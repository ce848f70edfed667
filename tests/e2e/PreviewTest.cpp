// The preview (/p HWND) end to end, judged by its behaviour: Wine does not
// put on screen what one process draws into another's window, so the
// preview's pixels are checked in-process by the Windows tests. From outside
// the preview shows itself by what it holds and when it ends: it holds the
// single-instance guard while the host's box is hidden, gives it up when it
// starts drawing into the box, shows no window of its own at any moment, and
// ends once the box is hidden again or was never there.
#include <set>

#include "e2e/Harness.h"
#include "platform/WindowHandle.h"
#include "support/SettingsFixture.h"
#include "support/TestPictures.h"

namespace {

// The single-instance guard of a running saver: a mutex that only exists.
bool GuardExists() {
  HANDLE Mutex = OpenMutexA(SYNCHRONIZE, FALSE, "Pictarine Screen Saver");
  if (!Mutex) return false;
  CloseHandle(Mutex);
  return true;
}

// What was seen of a process while it was watched.
struct TWatch {
  std::set<std::string> Windows;  // "class \"caption\"" of each window that showed
  bool Ended = false;
  DWORD Took = 0;  // until it ended or the watch gave up
};

// Looks at the process's windows every few milliseconds for up to Ms (or
// until Done says so), handling this thread's messages meanwhile, as the
// host's dialog goes on running.
template <typename TDone>
TWatch Watch(const TSaverProcess& Process, DWORD Ms, TDone Done) {
  TWatch Seen;
  const DWORD Start = GetTickCount();
  for (;;) {
    for (const TTopWindow& W : Process.Windows()) Seen.Windows.insert(W.ClassName + " \"" + W.Caption + "\"");
    Seen.Ended = !Process.Running();
    Seen.Took = GetTickCount() - Start;
    if (Seen.Ended || Seen.Took >= Ms || Done()) return Seen;
    Pump(5);
  }
}
TWatch Watch(const TSaverProcess& Process, DWORD Ms) {
  return Watch(Process, Ms, [] { return false; });
}

class TPreviewTest : public TSettingsTest {
 protected:
  void SetUp() override {
    TSettingsTest::SetUp();
    ASSERT_FALSE(GuardExists()) << "no saver may run before the test";
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
  const TWatch Running = Watch(Preview, 2000);
  ASSERT_FALSE(Running.Ended) << "the preview ended while its box is visible";
  EXPECT_EQ(Running.Windows, std::set<std::string>{}) << "the preview shows no window of its own";
  // Drawing into a visible box, the preview has given up the guard, so that
  // the saver can start while it runs.
  EXPECT_FALSE(GuardExists()) << "the guard is released once the box shows";
  ShowWindow(Monitor, SW_HIDE);
  const TWatch Ending = Watch(Preview, 5000);
  EXPECT_TRUE(Ending.Ended) << "a box hidden after it showed ends the preview";
  EXPECT_LT(Ending.Took, 1500u);
  EXPECT_EQ(Preview.WaitForExit(0), std::optional<DWORD>(0));
  EXPECT_EQ(Ending.Windows, std::set<std::string>{});
}

TEST_F(TPreviewTest, WaitsForAHiddenBoxHoldingTheGuardUntilItShows) {
  // The host creates its box before it shows it.
  ShowWindow(Monitor, SW_HIDE);
  TSaverProcess Preview("/p " + MonitorHandle());
  const TWatch Waiting = Watch(Preview, 2000);
  ASSERT_FALSE(Waiting.Ended) << "a box not shown yet is waited for";
  EXPECT_TRUE(GuardExists()) << "the guard is held until the box shows";
  EXPECT_EQ(Waiting.Windows, std::set<std::string>{});

  ShowWindow(Monitor, SW_SHOW);
  const TWatch Showing = Watch(Preview, 3000, [] { return !GuardExists(); });
  EXPECT_FALSE(GuardExists()) << "the guard is released once the box shows";
  EXPECT_LT(Showing.Took, 1500u);
  EXPECT_FALSE(Showing.Ended);
  EXPECT_EQ(Showing.Windows, std::set<std::string>{});

  ShowWindow(Monitor, SW_HIDE);
  const TWatch Ending = Watch(Preview, 5000);
  EXPECT_TRUE(Ending.Ended) << "a box hidden after it showed ends the preview";
  EXPECT_LT(Ending.Took, 1500u);
  EXPECT_EQ(Preview.WaitForExit(0), std::optional<DWORD>(0));
}

TEST_F(TPreviewTest, ASecondInstancePreviewsAsUsualWhileTheDialogIsOpen) {
  // The host restarts its preview while its configuration dialog, an
  // earlier instance, still holds the guard.
  TSaverProcess Dialog("/c");
  for (const DWORD Start = GetTickCount(); !GuardExists() && GetTickCount() - Start < 10000;) Pump(20);
  ASSERT_TRUE(GuardExists());
  TSaverProcess Preview("/p " + MonitorHandle());
  const TWatch Running = Watch(Preview, 2000);
  EXPECT_FALSE(Running.Ended) << "the second instance's preview runs while its box is visible";
  EXPECT_EQ(Running.Windows, std::set<std::string>{});
  ShowWindow(Monitor, SW_HIDE);
  const TWatch Ending = Watch(Preview, 5000);
  EXPECT_TRUE(Ending.Ended) << "and ends when the box is hidden";
  EXPECT_EQ(Preview.WaitForExit(0), std::optional<DWORD>(0));
  EXPECT_TRUE(Dialog.Running());
  Dialog.Kill();
  EXPECT_TRUE(Dialog.WaitForExit(5000).has_value());
}

TEST_F(TPreviewTest, EndsAtOnceWithoutAWindowToDrawInto) {
  for (const std::string Arguments : {"/p", "/p 12345", "/p:0", "/l nonsense"}) {
    TSaverProcess Preview(Arguments);
    // Watched from its start to its end: a window that shows only for a
    // moment before the process ends is seen too.
    const TWatch Run = Watch(Preview, 5000);
    EXPECT_TRUE(Run.Ended) << Arguments;
    EXPECT_EQ(Preview.WaitForExit(0), std::optional<DWORD>(0)) << Arguments;
    EXPECT_EQ(Run.Windows, std::set<std::string>{}) << Arguments;
  }
}

TEST_F(TPreviewTest, SaverStartsWhileThePreviewRuns) {
  TSaverProcess Preview("/p:" + MonitorHandle());
  // It takes the guard before it makes its (hidden) window, and gives it up
  // at its first tick with the box visible.
  auto HasWindow = [&Preview] {
    for (const TTopWindow& W : Preview.Windows(false))
      if (W.ClassName == "TMainForm") return true;
    return false;
  };
  WaitUntil([&] { return !Preview.Running() || (HasWindow() && !GuardExists()); }, 10000);
  ASSERT_TRUE(Preview.Running());
  ASSERT_FALSE(GuardExists()) << "the preview draws into its box";
  {
    TSaverProcess Saver("/s");
    const std::optional<TTopWindow> Window = Saver.WaitForWindow(8000);
    ASSERT_TRUE(Window.has_value()) << "the preview has released the single-instance guard";
    WaitUntil([&] { return GetForegroundWindow() == Window->Window; }, 5000);
    EXPECT_EQ(GetForegroundWindow(), Window->Window) << "the saver takes the keys";
    PressKey('X');
    EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0));
  }
  DestroyWindow(Monitor);
  EXPECT_EQ(Preview.WaitForExit(5000), std::optional<DWORD>(0)) << "a destroyed window is no longer visible";
}

}  // namespace
