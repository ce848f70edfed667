// The toolkit's controls, modal forms, dialog keys and the splash, driven by
// real window messages in this process.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/ProductInfo.h"
#include "forms/ConfigureFrm.h"
#include "forms/ProductPanel.h"
#include "forms/Splash.h"
#include "platform/Application.h"
#include "platform/CommonDialogs.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "support/SettingsFixture.h"
#include "support/TestPictures.h"

namespace {

class TControlsForm : public TForm {
 public:
  explicit TControlsForm(TApplication& App, HWND Owner = nullptr) : TForm(App) {
    TFormStyle Style;
    Style.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    Style.ClientWidth = 300;
    Style.ClientHeight = 200;
    Style.Owner = Owner;
    Style.DialogKeys = true;
    Style.ClassName = "TControlsForm";
    CreateForm(Style);
  }
  TPanel Panel{*this};
  TEdit Edit{*this};
  TSpinEdit Width{*this}, Free{*this};
  TCheckBox Check{*this};
  TComboBox Combo{*this};
  TListBox List{*this};
  TButton Ok{*this}, Cancel{*this}, Other{*this};
  std::vector<std::string> Calls;

 private:
  void CreateControls() override {
    const TParent Form{Handle(), 0, 0};
    Edit.Create(Form, 10, 4, 4, 80, 21);
    Width.Create(Form, 11, 4, 30, 65, 22, 100, 9000, 50);
    Free.Create(Form, 12, 100, 30, 65, 22, 0, 0, 1);
    Check.Create(Form, 13, 4, 56, 100, 17, "Check");
    Check.SetOnClick(&TControlsForm::CheckClick);
    Combo.Create(Form, 14, 4, 80, 120, true);
    List.Create(Form, 15, 150, 80, 120, 60, true, false);
    // The buttons sit in a panel: their notifications travel through it.
    Panel.Create(Form, 16, 0, 160, 300, 40, TPanel::NoBevel);
    Ok.Create(Panel.Inside(), 17, 60, 8, 75, 25, "OK", TGlyph::Ok, TButton::bkOk);
    Cancel.Create(Panel.Inside(), 18, 140, 8, 75, 25, "Cancel", TGlyph::Cancel, TButton::bkCancel);
    Other.Create(Panel.Inside(), 19, 220, 8, 75, 25, "Other");
    Ok.SetOnClick(&TControlsForm::OkClick);
    Cancel.SetOnClick(&TControlsForm::CancelClick);
    Other.SetOnClick(&TControlsForm::OtherClick);
  }
  void CheckClick() { Calls.push_back(Check.Checked() ? "check on" : "check off"); }
  void OkClick() { Calls.push_back("ok"); }
  void CancelClick() { Calls.push_back("cancel"); }
  void OtherClick() { Calls.push_back("other"); }
};

TEST(Controls, NotificationsReachTheNamedHandlersThroughContainers) {
  TApplication App;
  TControlsForm Form(App);
  SendMessageA(Form.Other.Handle(), BM_CLICK, 0, 0);
  SendMessageA(Form.Ok.Handle(), BM_CLICK, 0, 0);
  SendMessageA(Form.Check.Handle(), BM_CLICK, 0, 0);
  Form.Check.SetChecked(true);   // no change: no handler
  Form.Check.SetChecked(false);  // set by the program: the handler runs
  EXPECT_EQ(Form.Calls, (std::vector<std::string>{"other", "ok", "check on", "check off"}));
  EXPECT_EQ(SendMessageA(Form.Handle(), DM_GETDEFID, 0, 0), MAKELRESULT(17, DC_HASDEFID));
}

TEST(Controls, SpinEditsClampFilterAndReadTheirNumbers) {
  TApplication App;
  TControlsForm Form(App);
  Form.Show();
  TSpinEdit& W = Form.Width;
  W.SetValue(50);
  EXPECT_EQ(W.Text(), "100") << "an assigned value is pulled into the range";
  W.SetValue(12000);
  EXPECT_EQ(W.Text(), "9000");
  W.SetValue(800);
  SendMessageA(W.Handle(), WM_KEYDOWN, VK_UP, 0);  // the buttons' arrow key
  EXPECT_EQ(W.Text(), "850") << "up adds the step";
  SendMessageA(W.Handle(), WM_KEYDOWN, VK_DOWN, 0);
  SendMessageA(W.Handle(), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(W.Value(), 750);

  W.SetText("");
  for (char C : std::string("1x2a-"))
    SendMessageA(W.Handle(), WM_CHAR, static_cast<unsigned char>(C), 0);
  EXPECT_EQ(W.Text(), "12-") << "only digits, separator and signs are typed";
  EXPECT_EQ(W.Value(), 100) << "no integer: the minimum";

  W.SetText("20000");
  SetFocus(W.Handle());
  SetFocus(Form.Edit.Handle());
  EXPECT_EQ(W.Text(), "9000") << "pulled into the range when it loses the focus";
  W.SetText("1.5");
  SetFocus(W.Handle());
  SetFocus(Form.Edit.Handle());
  EXPECT_EQ(W.Text(), "1.5") << "a text that is no integer is left alone";

  TSpinEdit& F = Form.Free;
  F.SetValue(-5);
  EXPECT_EQ(F.Text(), "-5") << "equal bounds: no bounds";
  SendMessageA(F.Handle(), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(F.Value(), -6);
  F.SetText("abc");
  EXPECT_EQ(F.Value(), 0);
}

TEST(Controls, SortedListBoxesAndComboBoxesHoldOneOrder) {
  TApplication App;
  TControlsForm Form(App);
  for (const char* Name : {"beach", "Alps", "city", "ALPS", "alps", "Beach"}) {
    Form.Combo.Add(Name);
    Form.List.Add(Name);
  }
  std::vector<std::string> Combo, List;
  for (int I = 0; I < Form.Combo.Count(); ++I) Combo.push_back(Form.Combo.Item(I));
  for (int I = 0; I < Form.List.Count(); ++I) List.push_back(Form.List.Item(I));
  EXPECT_EQ(Combo, (std::vector<std::string>{"Alps", "ALPS", "alps", "beach", "Beach", "city"}))
      << "case-insensitive, equal names in the order they came";
  EXPECT_EQ(List, Combo);
  EXPECT_EQ(Form.Combo.IndexOfText("BEACH"), 3);
  EXPECT_EQ(Form.Combo.IndexOfText("Nowhere"), -1);
  Form.Combo.SetItemIndex(5);
  EXPECT_EQ(Form.Combo.Text(), "city");
  Form.Combo.SetItemIndex(-1);
  EXPECT_EQ(Form.Combo.Text(), "") << "no selection: empty text";
}

// What a modal test does once the modal loop reads messages: looks at the
// owner, then sends the key to the focused control as the keyboard would.
struct TModalProbe {
  TControlsForm* Box;
  UINT Message;
  WPARAM Key;
  HWND Owner;
  bool Ran = false;
  bool OwnerEnabled = true;
};
constexpr char ModalProbeProperty[] = "ModalProbe";

// A timer of the box: only the modal loop dispatches it, on this thread,
// while the box and the probe exist.
void CALLBACK RunModalProbe(HWND Window, UINT, UINT_PTR Timer, DWORD) {
  KillTimer(Window, Timer);
  auto* Probe = static_cast<TModalProbe*>(GetPropA(Window, ModalProbeProperty));
  if (!Probe) return;
  Probe->Ran = true;
  Probe->OwnerEnabled = IsWindowEnabled(Probe->Owner) != 0;
  if (Probe->Message == WM_CLOSE)
    PostMessageA(Probe->Box->Handle(), WM_CLOSE, 0, 0);
  else
    PostMessageA(Probe->Box->Edit.Handle(), Probe->Message, Probe->Key, 0);
}

TEST(Controls, ModalFormsDisableTheirOwnerAndAnswerTheDialogKeys) {
  TApplication App;
  TControlsForm Owner(App);
  Owner.Show();
  struct TCase {
    const char* Name;
    UINT Message;
    WPARAM Key;
    int Result;
    const char* Call;
  };
  for (const TCase& C : {TCase{"Enter", WM_KEYDOWN, VK_RETURN, mrOk, "ok"},
                         TCase{"Escape", WM_KEYDOWN, VK_ESCAPE, mrCancel, "cancel"},
                         TCase{"close box", WM_CLOSE, 0, mrCancel, nullptr}}) {
    TControlsForm Box(App, Owner.Handle());
    TModalProbe Probe{&Box, C.Message, C.Key, Owner.Handle()};
    ASSERT_TRUE(SetPropA(Box.Handle(), ModalProbeProperty, &Probe));
    ASSERT_NE(SetTimer(Box.Handle(), 1, 50, RunModalProbe), 0u);
    EXPECT_EQ(Box.ShowModal(), C.Result) << C.Name;
    KillTimer(Box.Handle(), 1);
    RemovePropA(Box.Handle(), ModalProbeProperty);
    EXPECT_TRUE(Probe.Ran) << C.Name << ": the modal loop dispatched the box's messages";
    EXPECT_FALSE(Probe.OwnerEnabled) << C.Name;
    EXPECT_TRUE(IsWindowEnabled(Owner.Handle())) << C.Name;
    EXPECT_FALSE(IsWindowVisible(Box.Handle())) << C.Name;
    if (C.Call)
      EXPECT_EQ(Box.Calls, std::vector<std::string>{C.Call}) << C.Name;
    else
      EXPECT_TRUE(Box.Calls.empty());
    Box.Destroy();
  }
}

TEST(Splash, ShowsWithoutAGaugeFitsTheNameAndIsReleasedByTheLoop) {
  TApplication App;
  ShowSplash(App, App.Handle(), 0);
  TSplashForm* Splash = CurrentSplash();
  ASSERT_NE(Splash, nullptr);
  EXPECT_TRUE(IsWindowVisible(Splash->Handle()));
  EXPECT_FALSE(Splash->Gauge1.Visible());
  EXPECT_TRUE(Splash->Label1.Visible());
  EXPECT_EQ(Splash->Label1.Text(), "Loading....");
  // The largest point size up to 18 at which the name fits 273 pixels.
  TLabel& Name = Splash->ProductName;
  const int Points = Name.FontPoints();
  EXPECT_LE(Points, 18);
  EXPECT_LE(Name.TextWidth(ProductName), ProductNameWidth);
  Name.SetFontPoints("Times New Roman", Points + 1, true);
  EXPECT_TRUE(Points == 18 || Name.TextWidth(ProductName) > ProductNameWidth) << Points + 1 << " points would fit";
  // From a size at which the name surely does not fit, the fitting stops at
  // the largest size that fits; the splash shows that size, at most 18.
  Name.SetFontPoints("Times New Roman", 40, true);
  EXPECT_GT(Name.TextWidth(ProductName), ProductNameWidth) << "40 points";
  FitProductNameFont(Name);
  const int Fitted = Name.FontPoints();
  EXPECT_LE(Name.TextWidth(ProductName), ProductNameWidth) << Fitted << " points";
  Name.SetFontPoints("Times New Roman", Fitted + 1, true);
  EXPECT_GT(Name.TextWidth(ProductName), ProductNameWidth) << Fitted + 1 << " points would fit too";
  EXPECT_EQ(Points, std::min(Fitted, 18));

  ShowSplash(App, App.Handle(), 40);  // replaces the first
  TSplashForm* Second = CurrentSplash();
  EXPECT_NE(Second, Splash);
  EXPECT_TRUE(Second->Gauge1.Visible());
  EXPECT_EQ(SendMessageA(Second->Gauge1.Handle(), PBM_GETRANGE, FALSE, 0), 40);
  const HWND Window = Second->Handle();
  HideSplash();
  EXPECT_EQ(CurrentSplash(), nullptr);
  EXPECT_FALSE(IsWindowVisible(Window));
  EXPECT_TRUE(IsWindow(Window)) << "destroyed by the message loop, not at once";
  App.ProcessMessages();
  EXPECT_FALSE(IsWindow(Window));

  ShowSplashFor(App, App.Handle(), 0);
  EXPECT_EQ(CurrentSplash(), nullptr) << "duration 0: shown and removed at once";
}

TEST(Splash, WaitTicksWaitsItsTimeWithoutSpinningTheProcessor) {
  FILETIME Created, Exited, KernelBefore, UserBefore, KernelAfter, UserAfter;
  GetThreadTimes(GetCurrentThread(), &Created, &Exited, &KernelBefore, &UserBefore);
  const DWORD Start = GetTickCount();
  WaitTicks(600);
  const DWORD Waited = GetTickCount() - Start;
  GetThreadTimes(GetCurrentThread(), &Created, &Exited, &KernelAfter, &UserAfter);
  auto Ms = [](const FILETIME& F) {
    return ((static_cast<ULONGLONG>(F.dwHighDateTime) << 32) | F.dwLowDateTime) / 10000;
  };
  const ULONGLONG Busy = Ms(KernelAfter) - Ms(KernelBefore) + Ms(UserAfter) - Ms(UserBefore);
  EXPECT_GE(Waited, 600u);
  EXPECT_LT(Waited, 1500u);
  EXPECT_LT(Busy, 300u) << "the processor was busy " << Busy << " ms of " << Waited;
}

}  // namespace

namespace {

TEST(OpenPictureDialog, SplitsItsFileListIntoFullPaths) {
  EXPECT_EQ(SplitOpenDialogFiles(L"C:\\pics\\one.bmp\0"), std::vector<std::string>{"C:\\pics\\one.bmp"});
  EXPECT_EQ(SplitOpenDialogFiles(L"C:\\pics\0b.jpg\0a.bmp\0"),
            (std::vector<std::string>{"C:\\pics\\b.jpg", "C:\\pics\\a.bmp"}))
      << "in the order the dialog gives them";
  EXPECT_EQ(SplitOpenDialogFiles(L"C:\\\0x.bmp\0"), std::vector<std::string>{"C:\\x.bmp"}) << "a drive's root";
  // Names in any script come back in UTF-8, several at once included.
  EXPECT_EQ(SplitOpenDialogFiles(L"C:\\\u6771\u4eac\0\u0395\u03bb.jpg\0\U0001F382.bmp\0"),
            (std::vector<std::string>{"C:\\\xE6\x9D\xB1\xE4\xBA\xAC\\\xCE\x95\xCE\xBB.jpg",
                                      "C:\\\xE6\x9D\xB1\xE4\xBA\xAC\\\xF0\x9F\x8E\x82.bmp"}));
}

class TPreviewPictureTest : public TSettingsTest {};

TEST_F(TPreviewPictureTest, ShrinksThePictureIntoThePaneKeepingItsProportions) {
  TPixelBuffer Wide = SolidPicture(400, 200, MakePixel(0, 200, 0));
  WriteBmpFile(Scratch + "\\wide.bmp", Wide);
  HBITMAP Preview = PreviewPicture(Scratch + "\\wide.bmp", 200, 150);
  ASSERT_NE(Preview, nullptr);
  BITMAP Info{};
  GetObjectA(Preview, sizeof Info, &Info);
  EXPECT_EQ(Info.bmWidth, 200);
  EXPECT_EQ(Info.bmHeight, 100);
  HDC DC = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, Preview);
  EXPECT_EQ(GetPixel(DC, 100, 50), RGB(0, 200, 0));
  SelectObject(DC, Old);
  DeleteDC(DC);
  DeleteObject(Preview);
  EXPECT_EQ(PreviewPicture(Scratch + "\\notes.txt", 200, 150), nullptr) << "no picture: no preview";
}

}  // namespace
