#pragma once
// The configuration dialog driven from outside: a stand-in for the screen-
// saver host's window, and a fixture that starts "/c <host>", waits for the
// dialog after the splash and reads and drives its controls by their numbers.
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "e2e/Harness.h"
#include "forms/ControlIds.h"
#include "platform/WideText.h"
#include "platform/WindowHandle.h"
#include "support/SettingsFixture.h"

inline const char Title[] = "Pictarine Screen Saver";

// Every value of the settings key and of its "Images" subkey: name, type, bytes.
using TRegistrySnapshot = std::map<std::string, std::pair<DWORD, std::string>>;

// The screen-saver host's dialog as the program sees it: a top-level window
// with a child, whose handle goes on the command line.
class THost {
 public:
  THost() {
    Dialog = CreateWindowExA(0, "STATIC", "Display Properties", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 300, 200,
                             nullptr, nullptr, nullptr, nullptr);
    Child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 10, 10, 100, 50, Dialog, nullptr, nullptr,
                            nullptr);
  }
  ~THost() { DestroyWindow(Dialog); }
  std::string Argument() const { return std::to_string(Int32FromWindow(Child)); }
  HWND Dialog = nullptr;
  HWND Child = nullptr;
};

class TConfigureTest : public TSettingsTest {
 protected:
  void SetUp() override {
    TSettingsTest::SetUp();
    UseScratchInstallDir();
    MoveMouse(1000, 700);
  }

  // Starts "/c <host>" and waits for the dialog after the splash, ready for
  // input.
  void Start(const THost& Host) {
    Saver = std::make_unique<TSaverProcess>("/c " + Host.Argument());
    const std::optional<TTopWindow> Found = WaitForWindowOfClass(*Saver, "TConfigureForm", 20000);
    ASSERT_TRUE(Found.has_value()) << "no dialog";
    Dialog = Found->Window;
    ASSERT_TRUE(WaitForReady(Dialog)) << "the dialog answers";
  }
  HWND Control(int Id) const { return FindControl(Dialog, Id); }
  // The common dialog (or box) that the program shows over the dialog, once
  // it shows.
  HWND OwnedDialog(DWORD TimeoutMs = 5000) const {
    HWND Found = nullptr;
    WaitUntil(
        [&] {
          for (const TTopWindow& W : Saver->Windows())
            if (W.ClassName == "#32770" && W.Owner == Dialog) Found = W.Window;
          return Found != nullptr;
        },
        TimeoutMs);
    return Found;
  }
  std::string Text(int Id) const { return ControlText(Control(Id)); }
  bool Checked(int Id) const { return IsChecked(Control(Id)); }
  // Clicks a button and waits until its handler has run to its end, or has
  // opened a modal window over the dialog (a box, a common dialog, About);
  // WaitForSentMessages then waits for the rest, once that window is closed.
  TSentMessage Click(int Id) const {
    EXPECT_TRUE(IsWindowEnabled(Dialog)) << "nothing is open over the dialog before the click on " << Id;
    const TSentMessage Sent = SendClick(Control(Id));
    EXPECT_TRUE(Sent.WaitHandledOrModal(Dialog, 15000)) << "the click on " << Id << " was handled";
    return Sent;
  }
  int Selected(int Id) const {
    DWORD_PTR Index = 0;
    SendMessageTimeoutA(Control(Id), CB_GETCURSEL, 0, 0, SMTO_NORMAL, 5000, &Index);
    return static_cast<int>(static_cast<LRESULT>(Index));
  }
  // The items of a list box or combo box (asked for in UTF-16: Wine hands
  // another process the ANSI form of these texts garbled).
  std::vector<std::string> Items(int Id, bool Combo) const {
    std::vector<std::string> Result;
    HWND List = Control(Id);
    DWORD_PTR Count = 0;
    SendMessageTimeoutW(List, Combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0, SMTO_NORMAL, 5000, &Count);
    for (DWORD_PTR I = 0; I < Count; ++I) {
      wchar_t Item[512] = L"";
      DWORD_PTR Length = 0;
      SendMessageTimeoutW(List, Combo ? CB_GETLBTEXT : LB_GETTEXT, I, reinterpret_cast<LPARAM>(Item), SMTO_NORMAL,
                          5000, &Length);
      Result.push_back(Utf8(Item));
    }
    return Result;
  }
  int ActivePage() const {
    DWORD_PTR Page = 0;
    SendMessageTimeoutA(Control(idPageControl), TCM_GETCURSEL, 0, 0, SMTO_NORMAL, 5000, &Page);
    return static_cast<int>(Page);
  }
  // Brings the dialog to the front, so that the keys pressed next reach it.
  void Foreground() const { EXPECT_TRUE(BringToFront(Dialog)) << "the dialog in front"; }
  // Waits for the program to end and expects exit code 0.
  void ExpectEnds() {
    EXPECT_EQ(Saver->WaitForExit(10000), std::optional<DWORD>(0));
  }

  static TRegistrySnapshot Snapshot() {
    TRegistrySnapshot Values;
    const TRegistryKey Key = TRegistryKey::Open(SettingsKeyPath);
    if (!Key.IsOpen()) return Values;
    DWORD Type = 0;
    for (const std::string& Name : Key.ValueNames()) {
      std::string Bytes = ReadRaw(Key, Name, Type);
      Values[Name] = {Type, Bytes};
    }
    const TRegistryKey Images = Key.OpenSubKey("Images");
    if (Images.IsOpen())
      for (const std::string& Name : Images.ValueNames()) {
        std::string Bytes = ReadRaw(Images, Name, Type);
        Values["Images\\" + Name] = {Type, Bytes};
      }
    return Values;
  }
  static void StoreGroups(const std::vector<std::string>& Names) {
    TRegistryKey Images = SettingsKey().OpenOrCreateSubKey("Images");
    for (std::size_t I = 0; I < Names.size(); ++I) Images.WriteString(std::to_string(I), Names[I]);
  }
  static std::string Dword(std::uint32_t V) { return std::string(reinterpret_cast<const char*>(&V), 4); }
  static std::string Double(double V) { return std::string(reinterpret_cast<const char*>(&V), 8); }
  static std::string Sz(const std::string& S) { return S + '\0'; }

  // Whether a box shows the error icon: a red disc with a white cross.
  static bool ShowsErrorIcon(HWND Box) {
    const TPixelBuffer Shot = CaptureWindow(Box);
    int Red = 0;
    for (std::uint32_t P : Shot.Data)
      if (PixelR(P) > 180 && PixelG(P) < 80 && (P & 0xFF) < 80) ++Red;
    return Red > 40;
  }
  // Presses OK, expects one error box with Message and dismisses it.
  void ExpectOkRefused(const std::string& Message) {
    const TSentMessage Ok = Click(idOk);
    const std::optional<TMessageBox> Box = Saver->WaitForMessageBox(5000);
    ASSERT_TRUE(Box.has_value()) << Message;
    EXPECT_EQ(Box->Caption, Title);
    EXPECT_EQ(Box->Text, Message);
    EXPECT_TRUE(WaitUntil([&] { return ShowsErrorIcon(Box->Window); }, 5000));
    Box->Dismiss();
    EXPECT_TRUE(Ok.WaitHandled(5000)) << "OK's handler ends with the box";
    EXPECT_TRUE(Saver->Running()) << "the dialog stays open";
    EXPECT_TRUE(IsWindowVisible(Dialog));
    EXPECT_TRUE(IsWindowEnabled(Dialog));
  }

  std::unique_ptr<TSaverProcess> Saver;
  HWND Dialog = nullptr;
};

