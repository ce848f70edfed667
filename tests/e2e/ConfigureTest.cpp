// The configure run mode (/c) end to end: the splash, the dialog over the
// disabled host, the Options page's display and storage rules, OK, Cancel,
// Escape and the close box, the About window and the dialog keys. Each test
// starts the program once (the splash alone takes 5 seconds) and makes as
// many checks as one dialog allows.
#include "e2e/ConfigureFixture.h"

#include <commctrl.h>

#include "forms/ControlIds.h"
#include "platform/Bitmap.h"

namespace {

TEST_F(TConfigureTest, SplashThenTheDialogOverTheDisabledHostWithItsPagesKeysAndAboutWindow) {
  const TRegistrySnapshot Before = Snapshot();
  THost Host;
  Saver = std::make_unique<TSaverProcess>("/c " + Host.Argument());

  // The splash comes first, for about 5 seconds, with "Loading...." and no gauge.
  const std::optional<TTopWindow> Splash = WaitForWindowOfClass(*Saver, "TSplashForm", 10000);
  ASSERT_TRUE(Splash.has_value());
  const DWORD SplashSeen = GetTickCount();
  EXPECT_EQ(Splash->Caption, Title);
  // The splash handles no messages while it waits: its texts are read as
  // the system keeps them.
  auto Caption = [](HWND Window) {
    char Text[256] = "";
    GetWindowTextA(Window, Text, sizeof Text);
    return std::string(Text);
  };
  HWND Loading = FindControl(Splash->Window, idSplashLoading);
  ASSERT_NE(Loading, nullptr);
  EXPECT_EQ(Caption(Loading), "Loading....");
  EXPECT_TRUE(IsWindowVisible(Loading));
  HWND Gauge = FindControl(Splash->Window, idSplashGauge);
  ASSERT_NE(Gauge, nullptr);
  EXPECT_FALSE(IsWindowVisible(Gauge));
  EXPECT_EQ(Caption(FindControl(Splash->Window, idSplashProductName)), Title);
  EXPECT_EQ(Caption(FindControl(Splash->Window, idSplashVersion)), "Version 1.1");
  SaveScreenshot(Splash->Window, "splash");

  const std::optional<TTopWindow> Found = WaitForWindowOfClass(*Saver, "TConfigureForm", 15000);
  ASSERT_TRUE(Found.has_value());
  const DWORD Shown = GetTickCount() - SplashSeen;
  EXPECT_GE(Shown, 4000u) << "the splash shows for 5 seconds";
  EXPECT_LE(Shown, 9000u);
  Dialog = Found->Window;
  ASSERT_TRUE(WaitForReady(Dialog));
  EXPECT_FALSE(IsWindowVisible(Splash->Window)) << "the splash is gone";
  EXPECT_EQ(Found->Caption, "Configure Pictarine Screen Saver");
  EXPECT_EQ(ActivePage(), 0) << "Images";
  EXPECT_FALSE(IsWindowEnabled(Host.Dialog)) << "the host's dialog is disabled";
  EXPECT_TRUE(IsWindowEnabled(Host.Child));
  SaveScreenshot(Dialog, "configure-images");
  // Add Folder, added after the others, sits clear of every control of the
  // Images page.
  {
    HWND AddFolder = Control(idAddFolder);
    ASSERT_NE(AddFolder, nullptr);
    EXPECT_EQ(ControlText(AddFolder), "Add Folder");
    EXPECT_TRUE(IsWindowVisible(AddFolder));
    RECT Own, Other, Common;
    GetWindowRect(AddFolder, &Own);
    for (HWND Sibling = GetWindow(GetParent(AddFolder), GW_CHILD); Sibling; Sibling = GetWindow(Sibling, GW_HWNDNEXT)) {
      if (Sibling == AddFolder) continue;
      GetWindowRect(Sibling, &Other);
      EXPECT_FALSE(IntersectRect(&Common, &Own, &Other)) << "Add Folder overlaps " << GetDlgCtrlID(Sibling);
    }
  }

  // Ctrl+Tab walks the pages.
  Foreground();
  PressKeys({VK_CONTROL, VK_TAB});
  WaitUntil([this] { return ActivePage() == 1; }, 5000);
  EXPECT_EQ(ActivePage(), 1) << "Groups";
  SaveScreenshot(Dialog, "configure-groups");
  PressKeys({VK_CONTROL, VK_TAB});
  WaitUntil([this] { return ActivePage() == 2; }, 5000);
  ASSERT_EQ(ActivePage(), 2) << "Options";
  SaveScreenshot(Dialog, "configure-options");

  // The newer boxes: check boxes in the Options group box, clear of every
  // other control of the page, as the absent values say.
  const struct {
    int Id;
    const char* Caption;
    bool Ticked;
  } Newer[] = {{idFadeBetweenPictures, "Fade Between Pictures", false},
               {idAllMonitors, "Show On All Monitors", true},
               {idMixFoldersEvenly, "Mix Folders Evenly", false}};
  for (const auto& N : Newer) {
    HWND Box = Control(N.Id);
    ASSERT_NE(Box, nullptr);
    EXPECT_EQ(ControlText(Box), N.Caption);
    EXPECT_TRUE(IsWindowVisible(Box));
    EXPECT_EQ(GetWindowLongA(Box, GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_EQ(Checked(N.Id), N.Ticked) << N.Caption << " while the value is absent";
    RECT BoxRect, GroupRect, Common;
    GetWindowRect(Box, &BoxRect);
    GetWindowRect(Control(idOptionsBox), &GroupRect);
    EXPECT_TRUE(IntersectRect(&Common, &BoxRect, &GroupRect) && EqualRect(&Common, &BoxRect))
        << N.Caption << " inside the Options group box";
    for (HWND Other = GetWindow(GetParent(Box), GW_CHILD); Other; Other = GetWindow(Other, GW_HWNDNEXT)) {
      if (Other == Box || GetDlgCtrlID(Other) == idOptionsBox) continue;
      RECT OtherRect;
      GetWindowRect(Other, &OtherRect);
      EXPECT_FALSE(IntersectRect(&Common, &BoxRect, &OtherRect)) << N.Caption << " overlaps " << GetDlgCtrlID(Other);
    }
  }

  // Tab walks the Options page in its order, then the buttons below, then
  // round again. The size fields are disabled (LimitScreen unticked) and the
  // unit pair takes one stop.
  EXPECT_EQ(FocusOf(Dialog), Control(idMakeRandom)) << "a new page starts at its first control";
  const int Order[] = {idEndOnMouse,       idMaintainAspect,  idKeepAsWallpaper, idViewerOnTop,
                       idViewerStartup,    idViewerHidden,    idResetViewer,     idSetWallPaper,
                       idChangeWallpaper,  idFadeBetweenPictures, idLimitScreen, idAllMonitors,
                       idMixFoldersEvenly, idMaxEnlargment,   idTimerInterval,   idSeconds,
                       idGroupSelect,      idSlideShowGroup,  idWallPaperGroup,  idSaveWallPaperAs,
                       idInstallDir,       idInstallDirBtn,   idAbout,           idOk,
                       idCancel,           idMakeRandom};
  auto FocusReaches = [this](int Id) {
    return WaitUntil([this, Id] { return GetDlgCtrlID(FocusOf(Dialog)) == Id; }, 5000);
  };
  for (int Id : Order) {
    PressKey(VK_TAB);
    FocusReaches(Id);
    EXPECT_EQ(GetDlgCtrlID(FocusOf(Dialog)), Id);
  }
  PressKeys({VK_SHIFT, VK_TAB});
  FocusReaches(idCancel);
  EXPECT_EQ(GetDlgCtrlID(FocusOf(Dialog)), idCancel) << "Shift+Tab goes back";

  // LimitScreen enables the size fields in the window colour and disables
  // them in the button-face colour. The fields are drawn after the click's
  // handler: their colours are waited for, both read from one capture.
  struct TFieldColours {
    std::uint32_t X, Y;
  };
  auto FieldColours = [this] {
    const TPixelBuffer Screen = CaptureScreen();
    auto At = [&Screen](HWND Field) {
      RECT R;
      GetWindowRect(Field, &R);
      return Screen.At(R.left + 40, R.bottom - 5);
    };
    return TFieldColours{At(Control(idScreenMaxX)), At(Control(idScreenMaxY))};
  };
  auto WaitForFields = [&](std::uint32_t X, std::uint32_t Y) {
    TFieldColours Seen{};
    WaitUntil([&] { Seen = FieldColours(); return Seen.X == X && Seen.Y == Y; }, 5000);
    return Seen;
  };
  const std::uint32_t Window = ColorToPixel(0xFF000005), Face = ColorToPixel(0xFF00000F);
  EXPECT_FALSE(IsWindowEnabled(Control(idScreenMaxX)));
  EXPECT_EQ(WaitForFields(Face, Face).Y, Face);
  Click(idLimitScreen);
  EXPECT_TRUE(IsWindowEnabled(Control(idScreenMaxX)));
  EXPECT_TRUE(IsWindowEnabled(Control(idScreenMaxY)));
  const TFieldColours Enabled = WaitForFields(Window, Window);
  EXPECT_EQ(Enabled.X, Window);
  EXPECT_EQ(Enabled.Y, Window);
  Click(idLimitScreen);
  EXPECT_FALSE(IsWindowEnabled(Control(idScreenMaxX)));
  EXPECT_EQ(WaitForFields(Face, Face).X, Face);

  // About opens a new modal window each time, with the same texts.
  HWND FirstAbout = nullptr;
  for (int Round = 0; Round < 2; ++Round) {
    Click(idAbout);
    const std::optional<TTopWindow> About = WaitForWindowOfClass(*Saver, "TAboutBox", 5000);
    ASSERT_TRUE(About.has_value()) << Round;
    EXPECT_TRUE(WaitForReady(About->Window));
    EXPECT_EQ(About->Caption, Title);
    EXPECT_EQ(ControlText(FindControl(About->Window, idAboutProductName)), Title);
    EXPECT_EQ(ControlText(FindControl(About->Window, idAboutVersion)), "Version 1.1");
    EXPECT_NE(ControlText(FindControl(About->Window, idAboutCopyright)), "");
    EXPECT_NE(ControlText(FindControl(About->Window, idAboutWebSite)).find(".example"), std::string::npos);
    EXPECT_EQ(ControlText(FindControl(About->Window, idAboutEMail)).rfind("E-Mail: ", 0), 0u);
    EXPECT_EQ(ControlText(FindControl(About->Window, idAboutOk)), "&OK");
    EXPECT_FALSE(IsWindowEnabled(Dialog)) << "the dialog waits for the About window";
    if (Round == 0) {
      FirstAbout = About->Window;
      SaveScreenshot(About->Window, "about");
      ClickButton(FindControl(About->Window, idAboutOk));
    } else {
      EXPECT_NE(About->Window, FirstAbout) << "a new window";
      EXPECT_FALSE(IsWindow(FirstAbout)) << "the first one was freed";
      EXPECT_TRUE(BringToFront(About->Window));
      PressKey(VK_RETURN);  // its OK button is the default button
    }
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(About->Window); }, 3000)) << Round;
    EXPECT_TRUE(IsWindowEnabled(Dialog));
    EXPECT_TRUE(WaitForSentMessages(5000)) << "About's click handled once it closed";
  }

  // Escape is Cancel: changes are dropped, nothing is written, and the host
  // is enabled and in front again.
  Foreground();
  Click(idMakeRandom);
  Click(idFadeBetweenPictures);
  SetControlText(Control(idSaveWallPaperAs), "C:\\elsewhere.bmp");
  Foreground();
  PressKey(VK_ESCAPE);
  ExpectEnds();
  EXPECT_EQ(Snapshot(), Before);
  EXPECT_TRUE(IsWindowEnabled(Host.Dialog));
  WaitUntil([&] { return GetForegroundWindow() == Host.Dialog; }, 5000);
  EXPECT_EQ(GetForegroundWindow(), Host.Dialog);
}

TEST_F(TConfigureTest, OkStoresEveryValueByItsNameAndTypeWithTheDisplayRulesApplied) {
  StoreGroups({"Beach", "holiday", "Alps"});
  TRegistryKey Key = SettingsKey();
  Key.WriteInteger("Timer interval", 500);
  Key.WriteFloat("Max Percent", 0.5);
  Key.WriteInteger("Max Screen X", 50);
  Key.WriteInteger("Max Screen Y", 480);
  Key.WriteString("Selected Group", "HOLIDAY");
  Key.WriteString("WallPaper Group", "Nowhere");
  Key.WriteString("SlideShow Group", "alps");
  Key.WriteInteger("Background", 0x00336699);
  Key.WriteInteger("Change WallPaper", 12);
  THost Host;
  Start(Host);

  // 500 ms shows 500 with neither unit; 0.5 shows 100; 50 pixels shows 100.
  EXPECT_EQ(Text(idTimerInterval), "500");
  EXPECT_FALSE(Checked(idSeconds));
  EXPECT_FALSE(Checked(idMinutes));
  EXPECT_EQ(Text(idMaxEnlargment), "100");
  EXPECT_EQ(Text(idScreenMaxX), "100");
  EXPECT_EQ(Text(idScreenMaxY), "480");
  EXPECT_EQ(Text(idChangeWallpaper), "12");
  // One order in all five lists; stored names are found without regard to case.
  const std::vector<std::string> Sorted{"Alps", "Beach", "holiday"};
  EXPECT_EQ(Items(idGroupsList, false), Sorted);
  for (int Id : {idGroupSelect, idEditGroup, idSlideShowGroup, idWallPaperGroup}) EXPECT_EQ(Items(Id, true), Sorted);
  EXPECT_EQ(Text(idGroupSelect), "holiday");
  EXPECT_EQ(Text(idEditGroup), "holiday");
  EXPECT_EQ(Text(idSlideShowGroup), "Alps");
  EXPECT_EQ(Selected(idWallPaperGroup), -1) << "a name that is no group selects nothing";
  EXPECT_EQ(Text(idWallPaperGroup), "");
  EXPECT_EQ(Text(idInstallDir), Scratch);

  Click(idEndOnMouse);      // true -> false
  Click(idKeepAsWallpaper);  // false -> true
  EXPECT_FALSE(Checked(idFadeBetweenPictures));
  Click(idFadeBetweenPictures);  // false -> true
  EXPECT_TRUE(Checked(idAllMonitors)) << "every monitor unless told otherwise";
  Click(idAllMonitors);  // true -> false
  Click(idMixFoldersEvenly);  // false -> true
  SetControlText(Control(idSaveWallPaperAs), "C:\\walls\\pic.bmp");
  Click(idOk);
  ExpectEnds();

  const TRegistrySnapshot After = Snapshot();
  const TRegistrySnapshot Expected{
      {"Change WallPaper", {REG_DWORD, Dword(12)}},
      {"WallPaper Group", {REG_SZ, Sz("")}},
      {"SlideShow Group", {REG_SZ, Sz("Alps")}},
      {"Selected Group", {REG_SZ, Sz("holiday")}},
      {"Save WallPaper As", {REG_SZ, Sz("C:\\walls\\pic.bmp")}},
      {"Install Dir", {REG_SZ, Sz(Scratch)}},
      {"Random", {REG_DWORD, Dword(1)}},
      {"End On Mouse", {REG_DWORD, Dword(0)}},
      {"Maintain Aspect", {REG_DWORD, Dword(1)}},
      {"Keep As Wallpaper", {REG_DWORD, Dword(1)}},
      {"Limit Screen Size", {REG_DWORD, Dword(0)}},
      {"Set Wallpaper", {REG_DWORD, Dword(0)}},
      {"Slide Show OnTop", {REG_DWORD, Dword(0)}},
      {"Slide Show Hidden", {REG_DWORD, Dword(0)}},
      {"Slide Show Startup", {REG_DWORD, Dword(0)}},
      {"Fade Between Pictures", {REG_DWORD, Dword(1)}},
      {"All Monitors", {REG_DWORD, Dword(0)}},
      {"Mix Folders Evenly", {REG_DWORD, Dword(1)}},
      {"Max Screen X", {REG_DWORD, Dword(100)}},
      {"Max Screen Y", {REG_DWORD, Dword(480)}},
      {"Background", {REG_DWORD, Dword(0x00336699)}},
      {"Max Percent", {REG_BINARY, Double(1.0)}},
      {"Timer interval", {REG_DWORD, Dword(30000000)}},
      {"Images\\0", {REG_SZ, Sz("Alps")}},
      {"Images\\1", {REG_SZ, Sz("Beach")}},
      {"Images\\2", {REG_SZ, Sz("holiday")}},
  };
  EXPECT_EQ(After.size(), Expected.size());
  for (const auto& [Name, Value] : Expected) {
    const auto Got = After.find(Name);
    ASSERT_NE(Got, After.end()) << Name;
    EXPECT_EQ(Got->second.first, Value.first) << Name;
    EXPECT_EQ(Got->second.second, Value.second) << Name;
  }
  EXPECT_TRUE(IsWindowEnabled(Host.Dialog));
}

TEST_F(TConfigureTest, OkRefusesABadOrTooLongIntervalUntilCorrectedAndResetsTheViewerPlacement) {
  TRegistryKey Key = SettingsKey();
  Key.WriteInteger("Timer interval", 1000);
  Key.WriteFloat("Max Percent", 12.0);
  Key.WriteBool("Slide Show OnTop", true);
  Key.WriteInteger("Slide Show Pos X", 10);
  Key.WriteInteger("Slide Show Pos Y", 20);
  Key.WriteInteger("Slide Show Size X", 300);
  Key.WriteInteger("Slide Show Size Y", 400);
  Key.WriteBool("Fade Between Pictures", true);
  THost Host;
  Start(Host);
  EXPECT_EQ(Text(idTimerInterval), "1");
  EXPECT_TRUE(Checked(idSeconds));
  EXPECT_FALSE(Checked(idMinutes));
  EXPECT_EQ(Text(idMaxEnlargment), "1000");
  EXPECT_TRUE(Checked(idViewerOnTop));
  EXPECT_FALSE(Checked(idResetViewer)) << "starts unticked";
  EXPECT_TRUE(Checked(idFadeBetweenPictures)) << "as stored";
  const TRegistrySnapshot Before = Snapshot();

  SetControlText(Control(idTimerInterval), "abc");
  ExpectOkRefused("'abc' is not a valid integer value.");
  EXPECT_EQ(Snapshot(), Before);

  SetControlText(Control(idTimerInterval), "36000");
  Click(idMinutes);
  ExpectOkRefused("An interval of 36000 minutes is too long; the longest interval is 35791 minutes.");
  EXPECT_EQ(Snapshot(), Before) << "nothing wrapped into the registry";

  // Corrected: 7 seconds. Enter is OK.
  SetControlText(Control(idTimerInterval), "7");
  Click(idSeconds);
  Click(idResetViewer);
  Click(idViewerHidden);
  Click(idFadeBetweenPictures);  // true -> false
  Foreground();
  PressKey(VK_RETURN);
  ExpectEnds();
  const TRegistryKey After = TRegistryKey::Open(SettingsKeyPath);
  EXPECT_EQ(After.ReadInteger("Timer interval"), 7000u);
  EXPECT_EQ(After.ReadFloat("Max Percent"), 10.0);
  EXPECT_EQ(After.ReadInteger("Slide Show Pos X"), 0u);
  EXPECT_EQ(After.ReadInteger("Slide Show Pos Y"), 0u);
  EXPECT_EQ(After.ReadInteger("Slide Show Size X"), 267u);
  EXPECT_EQ(After.ReadInteger("Slide Show Size Y"), 200u);
  EXPECT_TRUE(After.ReadBool("Slide Show OnTop")) << "the viewer boxes are kept as shown";
  EXPECT_TRUE(After.ReadBool("Slide Show Hidden"));
  EXPECT_FALSE(After.ReadBool("Slide Show Startup"));
  EXPECT_EQ(After.ReadInteger("Fade Between Pictures"), 0u) << "unticked is written as 0, not removed";
}

TEST_F(TConfigureTest, SixtySecondsShowInSecondsAndTheCloseBoxWritesNothing) {
  SettingsKey().WriteInteger("Timer interval", 60000);
  SettingsKey().WriteBool("Mix Folders Evenly", true);
  THost Host;
  Start(Host);
  EXPECT_TRUE(Checked(idMixFoldersEvenly)) << "as stored";
  EXPECT_EQ(Text(idTimerInterval), "60");
  EXPECT_TRUE(Checked(idSeconds));
  EXPECT_FALSE(Checked(idMinutes));
  const TRegistrySnapshot Before = Snapshot();
  Click(idMinutes);
  Click(idViewerStartup);
  PostMessageA(Dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  ExpectEnds();
  EXPECT_EQ(Snapshot(), Before);
  EXPECT_TRUE(IsWindowEnabled(Host.Dialog));
}

TEST_F(TConfigureTest, NinetySecondsShowAsOneMinuteAndAreStoredAsSixtyAndTheSwatchTakesAChosenColour) {
  SettingsKey().WriteInteger("Timer interval", 90000);
  THost Host;
  Start(Host);
  EXPECT_EQ(Text(idTimerInterval), "1");
  EXPECT_FALSE(Checked(idSeconds));
  EXPECT_TRUE(Checked(idMinutes));

  // A press on the swatch opens the colour dialog preset to its colour; the
  // colour confirmed there reaches the registry on OK.
  const TSentMessage Press(Control(idBackground), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  const TSentMessage Release(Control(idBackground), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(Press.WaitHandledOrModal(Dialog, 5000));
  const HWND Colours = OwnedDialog();
  ASSERT_NE(Colours, nullptr) << "no colour dialog";
  EXPECT_TRUE(WaitForReady(Colours));
  EXPECT_EQ(ControlText(GetDlgItem(Colours, 706)), "0") << "preset to the stored black";
  SetControlText(GetDlgItem(Colours, 706), "10");  // red, green, blue fields
  SetControlText(GetDlgItem(Colours, 707), "20");
  SetControlText(GetDlgItem(Colours, 708), "30");
  ClickButton(GetDlgItem(Colours, IDOK));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(Colours); }, 5000));
  EXPECT_TRUE(WaitForSentMessages(5000)) << "the press on the swatch handled";

  Click(idOk);
  ExpectEnds();
  const TRegistryKey After = TRegistryKey::Open(SettingsKeyPath);
  EXPECT_EQ(After.ReadInteger("Timer interval"), 60000u);
  EXPECT_EQ(After.ReadInteger("Background"), 0x001E140Au);
}

TEST_F(TConfigureTest, TheInstallFolderIsChosenWithTheOpenPictureDialogAndCancelWritesNothing) {
  const std::string Picture = MakeFile("pics\\a.bmp");
  THost Host;
  Start(Host);
  const TRegistrySnapshot Before = Snapshot();
  Click(idMaintainAspect);
  Click(idFadeBetweenPictures);
  SetControlText(Control(idTimerInterval), "9");

  Click(idInstallDirBtn);
  const HWND Open = OwnedDialog();
  ASSERT_NE(Open, nullptr) << "no open dialog";
  EXPECT_TRUE(WaitForReady(Open));
  EXPECT_EQ(ControlText(Open), "Select some images");
  EXPECT_NE(FindControl(Open, 0x4A0), nullptr) << "the preview pane";
  SaveScreenshot(Open, "open-picture");
  HWND Name = FindControl(Open, 0x47C);  // the file name box (a combo box or an edit field)
  if (!Name) Name = FindControl(Open, 0x480);
  ASSERT_NE(Name, nullptr);
  SetControlText(Name, Picture);
  ClickButton(GetDlgItem(Open, IDOK));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(Open); }, 5000));
  EXPECT_TRUE(WaitForSentMessages(5000)) << "the folder button's click handled";
  EXPECT_EQ(Text(idInstallDir), Scratch + "\\pics\\") << "the chosen file's folder with its backslash";

  Click(idCancel);
  ExpectEnds();
  EXPECT_EQ(Snapshot(), Before);
  EXPECT_TRUE(IsWindowEnabled(Host.Dialog));
}

TEST_F(TConfigureTest, SettingsThatCannotBeReadAreReportedAndNeverSaved) {
  WriteRaw("Random", REG_SZ, std::string("yes", 4));
  const TRegistrySnapshot Before = Snapshot();
  THost Host;
  Saver = std::make_unique<TSaverProcess>("/c " + Host.Argument());
  const std::optional<TMessageBox> Box = Saver->WaitForMessageBox(15000);
  ASSERT_TRUE(Box.has_value());
  EXPECT_EQ(Box->Caption, Title);
  EXPECT_EQ(Box->Text, "Invalid data type for 'Random'");
  Box->Dismiss();
  const std::optional<TTopWindow> Found = WaitForWindowOfClass(*Saver, "TConfigureForm", 10000);
  ASSERT_TRUE(Found.has_value()) << "the dialog opens all the same";
  Dialog = Found->Window;
  ASSERT_TRUE(WaitForReady(Dialog));
  const TSentMessage Ok = Click(idOk);
  const std::optional<TMessageBox> Again = Saver->WaitForMessageBox(5000);
  ASSERT_TRUE(Again.has_value()) << "OK reads the settings again and fails again";
  EXPECT_EQ(Again->Text, "Invalid data type for 'Random'");
  Again->Dismiss();
  EXPECT_TRUE(Ok.WaitHandled(5000)) << "OK's handler ends with the box";
  ASSERT_TRUE(Saver->Running());
  Click(idCancel);
  ExpectEnds();
  EXPECT_EQ(Snapshot(), Before);
  EXPECT_TRUE(IsWindowEnabled(Host.Dialog));
}

}  // namespace
