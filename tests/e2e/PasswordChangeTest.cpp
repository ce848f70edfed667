// The /a run mode of the built program: the password change and its error box.
#include <gtest/gtest.h>

#include "app/ScreenSaverUtils.h"
#include "e2e/Harness.h"
#include "platform/Registry.h"
#include "support/TestEnvironment.h"

namespace {

const char Title[] = "Pictarine Screen Saver";

// Runs the program, expects exactly one message box, dismisses it and
// expects exit code 0.
TMessageBox OnlyMessageBox(const std::string& Arguments) {
  TSaverProcess Saver(Arguments);
  const std::optional<TMessageBox> Box = Saver.WaitForMessageBox(15000);
  EXPECT_TRUE(Box.has_value()) << Arguments;
  if (!Box) return {};
  // A second box shown with it is counted here; one shown after it would keep
  // the program from ending below.
  int Boxes = 0;
  for (const TTopWindow& W : Saver.Windows())
    if (W.ClassName == "#32770") ++Boxes;
  EXPECT_EQ(Boxes, 1) << Arguments;
  Box->Dismiss();
  EXPECT_EQ(Saver.WaitForExit(10000), std::optional<DWORD>(0)) << Arguments;
  return *Box;
}

TEST(PasswordChange, ReportsAMissingHandle) {
  const TMessageBox Alone = OnlyMessageBox("/a");
  EXPECT_EQ(Alone.Caption, Title);
  EXPECT_EQ(Alone.Text, "'' is not a valid integer value");
  EXPECT_EQ(Alone.Owner, nullptr);

  const TMessageBox Colon = OnlyMessageBox("/a:1234");
  EXPECT_EQ(Colon.Text, "'' is not a valid integer value");

  const TMessageBox Word = OnlyMessageBox("-A x12z");
  EXPECT_EQ(Word.Text, "'x12z' is not a valid integer value");
}

TEST(PasswordChange, BoxIsOwnedByTheHostWindow) {
  HWND Host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                              nullptr, nullptr, nullptr);
  ASSERT_NE(Host, nullptr);
  const std::string Handle = std::to_string(reinterpret_cast<std::intptr_t>(Host));
  const TMessageBox Box = OnlyMessageBox("/a:" + Handle);
  EXPECT_EQ(Box.Text, "'' is not a valid integer value");
  EXPECT_EQ(Box.Owner, Host);
  DestroyWindow(Host);
}

// Disables a DLL for the screen saver's process only, through Wine's
// per-application overrides, while the object lives.
class TDisabledDll {
 public:
  explicit TDisabledDll(const std::string& Dll) : Name(Dll) {
    TRegistryKey::OpenOrCreate(OverridesKey).WriteString(Name, "");
  }
  ~TDisabledDll() { TRegistryKey::OpenOrCreate(OverridesKey).DeleteValue(Name); }

 private:
  static constexpr const char* OverridesKey = "Software\\Wine\\AppDefaults\\Pictarine.scr\\DllOverrides";
  std::string Name;
};

TEST(PasswordChange, ReportsAnUnloadableProvider) {
  TDisabledDll Disabled("mpr");
  const TMessageBox Box = OnlyMessageBox("/a 1234");
  EXPECT_EQ(Box.Caption, Title);
  EXPECT_EQ(Box.Text, "Could not load library " + SystemDirectory() + "MPR.DLL -  The password cannot be changed");
  EXPECT_EQ(Box.Text.find("\\\\"), std::string::npos);
}

}  // namespace
