// The program on a screen of more than 96 DPI, end to end: the splash, the
// configuration dialog's three pages, the About window and the open-picture
// dialog's preview pane are their 96-DPI design scaled to the screen's DPI,
// with no text clipped, and the saver draws a picture at its own pixel size.
// scripts/test runs these in Wine prefixes whose screen reports 144 and 192
// DPI (LogPixels); on a 96-DPI screen they are skipped.
//
// The 96-DPI design of each window is read from the same window made in this
// process with the program's code and laid out at 96 DPI, as a move to a
// 96-DPI monitor would lay it out (WM_DPICHANGED), then again at the screen's
// DPI; its texts are measured there, with the fonts the program uses.
#include <memory>
#include <string>
#include <vector>

#include "core/ProductInfo.h"
#include "e2e/ConfigureFixture.h"
#include "forms/About.h"
#include "forms/ConfigureFrm.h"
#include "forms/Splash.h"
#include "platform/Application.h"
#include "platform/CommonDialogs.h"
#include "platform/Files.h"
#include "platform/ScreenFont.h"
#include "support/TestEnvironment.h"
#include "support/TestPictures.h"
#include "support/WindowLayout.h"

namespace {

// While it lives, windows that this thread creates use the common controls
// that Pictarine.scr's manifest names, as the program's own windows do.
class TProgramControls {
 public:
  TProgramControls() {
    const std::string Program = ScreenSaverPath();
    ACTCTXA Context{};
    Context.cbSize = sizeof Context;
    Context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    Context.lpSource = Program.c_str();
    Context.lpResourceName = MAKEINTRESOURCEA(1);
    Handle = CreateActCtxA(&Context);
    if (Handle != INVALID_HANDLE_VALUE) ActivateActCtx(Handle, &Cookie);
  }
  ~TProgramControls() {
    if (Handle == INVALID_HANDLE_VALUE) return;
    DeactivateActCtx(0, Cookie);
    ReleaseActCtx(Handle);
  }
  TProgramControls(const TProgramControls&) = delete;
  TProgramControls& operator=(const TProgramControls&) = delete;
  bool Active() const { return Handle != INVALID_HANDLE_VALUE; }

 private:
  HANDLE Handle = INVALID_HANDLE_VALUE;
  ULONG_PTR Cookie = 0;
};

// A window of the program made in this process: its layout at 96 DPI (the
// design) and at the screen's DPI after being laid out again.
struct TReference {
  std::vector<TLaidOutWindow> Design, Scaled;
};

class THighDpiTest : public TConfigureTest {
 protected:
  void SetUp() override {
    if (ScreenDpi() == DesignDpi) GTEST_SKIP() << "needs a screen of more than 96 DPI (scripts/test's high-DPI tier)";
    TConfigureTest::SetUp();
  }

  static TReference ReferenceOf(TForm& Form, const std::string& What) {
    const int Made = Form.Dpi();
    SendDpiChanged(Form.Handle(), Made, DesignDpi);
    TReference Reference{LayoutOf(Form.Handle()), {}};
    SendDpiChanged(Form.Handle(), DesignDpi, Made);
    Reference.Scaled = LayoutOf(Form.Handle());
    ExpectScaledLayout(Reference.Design, Reference.Scaled, Made, What + " laid out in this process");
    ExpectTextFits(Form.Handle(), Made, What);
    return Reference;
  }

  // Expects a window of the program to be its design scaled to the screen's
  // DPI (and so, laid out as in this process, its texts unclipped), every
  // control inside its parent and the window wholly on the screen.
  void ExpectScaledWindow(HWND Window, const TReference& Reference, const std::string& What) const {
    const std::vector<TLaidOutWindow> Layout = LayoutOf(Window);
    ExpectScaledLayout(Reference.Design, Layout, Dpi, What);
    ExpectSameLayout(Reference.Scaled, Layout, What + " as laid out in this process");
    ExpectInsideParents(Layout, What);
    RECT R;
    GetWindowRect(Window, &R);
    EXPECT_TRUE(R.left >= 0 && R.top >= 0 && R.right <= Screen.Width && R.bottom <= Screen.Height)
        << What << " is on the screen: " << R.left << "," << R.top << " to " << R.right << "," << R.bottom;
  }

  // The product name is fitted to its design width at the window's DPI.
  void ExpectProductNameFits(HWND Name, const std::string& What) const {
    RECT R;
    GetWindowRect(Name, &R);
    EXPECT_LE(R.right - R.left, ScaleToDpi(ProductNameWidth, Dpi)) << What;
  }

  const int Dpi = ScreenDpi();
  const TScreenSize Screen = TestScreen();
  const std::string Suffix = "-dpi" + std::to_string(Dpi);
};

TEST_F(THighDpiTest, TheSplashDialogPagesAboutAndPreviewPaneAreTheDesignScaledWithNoTextClipped) {
  // The references, made with the program's common controls.
  TApplication App;
  TReference SplashReference, DialogReference, AboutReference;
  {
    TProgramControls Controls;
    ASSERT_TRUE(Controls.Active()) << "the program's manifest";
    TSplashForm Splash(App, App.Handle());
    SplashReference = ReferenceOf(Splash, "splash");
    Splash.Destroy();
    TConfigureForm Dialog(App, nullptr);
    DialogReference = ReferenceOf(Dialog, "dialog");
    Dialog.Destroy();
    TAboutBox About(App, App.Handle());
    AboutReference = ReferenceOf(About, "About");
    About.Destroy();
  }

  THost Host;
  Saver = std::make_unique<TSaverProcess>("/c " + Host.Argument(), Screen);
  // The splash is laid out before it shows, and handles no messages while
  // it shows.
  const std::optional<TTopWindow> Splash = WaitForWindowOfClass(*Saver, "TSplashForm", 10000);
  ASSERT_TRUE(Splash.has_value());
  ExpectScaledWindow(Splash->Window, SplashReference, "splash");
  ExpectProductNameFits(FindControl(Splash->Window, idSplashProductName), "splash");
  SaveScreenshot(Splash->Window, "splash" + Suffix);

  const std::optional<TTopWindow> Found = WaitForWindowOfClass(*Saver, "TConfigureForm", 15000);
  ASSERT_TRUE(Found.has_value());
  Dialog = Found->Window;
  ASSERT_TRUE(WaitForReady(Dialog));
  // Every page's controls exist at once: one look covers the three pages.
  ExpectScaledWindow(Dialog, DialogReference, "dialog");
  Foreground();
  for (const char* Page : {"images", "groups", "options"}) {
    SaveScreenshot(Dialog, std::string("configure-") + Page + Suffix);
    const int Next = (ActivePage() + 1) % 3;
    PressKeys({VK_CONTROL, VK_TAB});
    EXPECT_TRUE(WaitUntil([&] { return ActivePage() == Next; }, 5000)) << "Ctrl+Tab leaves " << Page;
  }

  Click(idAbout);
  const std::optional<TTopWindow> About = WaitForWindowOfClass(*Saver, "TAboutBox", 5000);
  ASSERT_TRUE(About.has_value());
  EXPECT_TRUE(WaitForReady(About->Window));
  ExpectScaledWindow(About->Window, AboutReference, "About");
  ExpectProductNameFits(FindControl(About->Window, idAboutProductName), "About");
  SaveScreenshot(About->Window, "about" + Suffix);
  ClickButton(FindControl(About->Window, idAboutOk));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(About->Window); }, 3000));
  EXPECT_TRUE(WaitForSentMessages(5000)) << "About's click handled once it closed";

  // The open-picture dialog: the preview pane and the part around it, laid
  // out before the dialog shows.
  Click(idInstallDirBtn);
  const std::optional<TTopWindow> Open = WaitForWindowOfClass(*Saver, "#32770", 5000);
  ASSERT_TRUE(Open.has_value());
  EXPECT_TRUE(WaitForReady(Open->Window));
  // The pane is a static control of the added part (the dialog's places bar
  // may carry the same number).
  HWND Pane = nullptr;
  for (const TLaidOutWindow& W : LayoutOf(Open->Window))
    if (W.Id == TOpenPictureDialog::PreviewId && W.ClassName == "static") Pane = W.Window;
  ASSERT_NE(Pane, nullptr);
  HWND Added = GetParent(Pane);
  RECT PaneRect;
  GetWindowRect(Pane, &PaneRect);
  EXPECT_EQ(PaneRect.right - PaneRect.left, ScaleToDpi(TOpenPictureDialog::PreviewPane.Width, Dpi));
  EXPECT_EQ(PaneRect.bottom - PaneRect.top, ScaleToDpi(TOpenPictureDialog::PreviewPane.Height, Dpi));
  std::vector<TLaidOutWindow> Part;
  for (const TLaidOutWindow& W : LayoutOf(Open->Window))
    if (W.Window == Added || W.Window == Pane) Part.push_back(W);
  ASSERT_EQ(Part.size(), 2u);
  ExpectInsideParents(Part, "the open-picture dialog's preview pane");
  RECT OpenRect;
  GetWindowRect(Open->Window, &OpenRect);
  EXPECT_TRUE(OpenRect.left >= 0 && OpenRect.top >= 0 && OpenRect.right <= Screen.Width &&
              OpenRect.bottom <= Screen.Height)
      << "the open-picture dialog is on the screen";
  SaveScreenshot(Open->Window, "open-picture" + Suffix);
  PostMessageA(Open->Window, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(Open->Window); }, 3000));
  EXPECT_TRUE(WaitForSentMessages(5000)) << "the folder button's click handled";

  Foreground();
  PressKey(VK_ESCAPE);
  ExpectEnds();
}

class THighDpiSaverTest : public TSettingsTest {
 protected:
  void SetUp() override {
    if (ScreenDpi() == DesignDpi) GTEST_SKIP() << "needs a screen of more than 96 DPI (scripts/test's high-DPI tier)";
    TSettingsTest::SetUp();
    UseScratchGroup("Selected Group", "S");
    TRegistryKey Key = SettingsKey();
    Key.WriteInteger("Background", 0x00336699);
    Key.WriteInteger("Timer interval", 60000);
    MoveMouse(10, 10);
  }
};

// The saver's pictures are pixels, not lengths of a design: a 100 x 100
// picture shown at its size covers 100 x 100 pixels of the screen, centred.
TEST_F(THighDpiSaverTest, APictureShownAtItsSizeCoversItsOwnPixelsCentredOnTheScreen) {
  const std::uint32_t Green = MakePixel(0, 200, 0), Background = MakePixel(0x99, 0x66, 0x33);
  TPixelBuffer Square = SolidPicture(100, 100, Green);
  WriteBmpFile(Scratch + "\\square.bmp", Square);
  WriteGroupFile("S", Scratch + "\\square.bmp\r\n");
  const TScreenSize Screen = TestScreen();
  TSaverProcess Saver("/s", Screen);
  const int X = (Screen.Width - 100) / 2, Y = (Screen.Height - 100) / 2;
  // The picture's corners, the background around it and at the screen's
  // corners (the saver covers the whole screen), read from one capture.
  TPixelBuffer Shot;
  const std::string Mismatch = WaitForScreen({{X, Y, Green},
                                              {X + 99, Y + 99, Green},
                                              {X - 1, Y, Background},
                                              {X, Y - 1, Background},
                                              {X + 100, Y + 99, Background},
                                              {X + 99, Y + 100, Background},
                                              {0, 0, Background},
                                              {Screen.Width - 1, Screen.Height - 1, Background}},
                                             15000, &Shot);
  SaveScreenshot(Shot, "saver-dpi" + std::to_string(ScreenDpi()));
  EXPECT_EQ(Mismatch, "");
  PressKey('A');
  EXPECT_EQ(Saver.WaitForExit(5000), std::optional<DWORD>(0));
}

}  // namespace
