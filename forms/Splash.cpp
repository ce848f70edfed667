#include "forms/Splash.h"

#include <memory>

#include "forms/ControlIds.h"
#include "forms/ProductInfo.h"
#include "platform/Application.h"
#include "platform/Ticks.h"

namespace {

std::unique_ptr<TSplashForm> Splash;

}  // namespace

HBITMAP LoadPicture(const char* Name) {
  return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), Name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

TSplashForm::TSplashForm(HWND Owner) {
  TFormStyle Style;
  Style.Style = WS_POPUP | WS_CAPTION | WS_BORDER;
  Style.ClientWidth = 434;
  Style.ClientHeight = 333;
  Style.Centered = true;
  Style.Owner = Owner;
  Style.ClassName = "TSplashForm";
  CreateForm(Style);
}

void TSplashForm::CreateControls() {
  const TParent Form{Handle(), 0, 0};
  Panel1.Create(Form, idSplashPanel, 8, 8, 417, 273, TPanel::RaisedInnerLoweredOuter);
  const TParent P = Panel1.Inside();
  Image1.Create(P, idSplashLogo, 8, 8, 116, 113, true);
  Image1.SetPicture(LoadPicture("LOGO"));
  ProductName.Create(P, idSplashProductName, 131, 8, "");
  ProductName.SetFontHeight("Times New Roman", 24, true);
  Version.Create(P, idSplashVersion, 136, 33, "");
  Version.SetFontHeight("MS Sans Serif", 13);
  Image2.Create(P, idSplashBanner, 128, 56, 281, 65, false);
  Image2.SetPicture(LoadPicture("BANNER"));
  Copyright.Create(P, idSplashCopyright, 10, 217, "");
  WebSite.Create(P, idSplashWebSite, 8, 232, "");
  WebSite.SetFontColor(clBlue);
  WebSite.SetHandCursor();
  EMail.Create(P, idSplashEMail, 8, 248, "");
  EMail.SetFontColor(clBlue);
  Gauge1.Create(Form, idSplashGauge, 0, 288, 417, 20);
  Label1.Create(Form, idSplashLoading, 192, 312, "Loading....");
}

void TSplashForm::FormCreate() {
  SetWindowTextA(Handle(), ::ProductName);
  FitProductName();
  ProductName.SetText(::ProductName);
  Version.SetText(VersionText);
  Copyright.SetText(CopyrightText);
  WebSite.SetText(WebAddress);
  EMail.SetText(std::string("E-Mail: ") + EMailAddress);
}

void FitProductNameFont(TLabel& Label) {
  while (Label.FontPoints() > 1 && Label.TextWidth(ProductName) > ProductNameWidth)
    Label.SetFontPoints("Times New Roman", Label.FontPoints() - 1, true);
}

void TSplashForm::FitProductName() { FitProductNameFont(ProductName); }

TSplashForm* CurrentSplash() { return Splash.get(); }

void ShowSplash(HWND Owner, std::int32_t GaugeMax) {
  if (Splash) HideSplash();
  Splash = std::make_unique<TSplashForm>(Owner);
  if (GaugeMax <= 0)
    Splash->Gauge1.SetVisible(false);
  else
    Splash->Gauge1.SetMax(GaugeMax);
  Splash->Show();  // painted at once: Show updates the window
}

void HideSplash() {
  if (!Splash) return;
  ShowWindow(Splash->Handle(), SW_HIDE);
  if (Application)
    Application->Release(std::move(Splash));
  else
    Splash.reset();
}

void WaitTicks(std::uint32_t Milliseconds) {
  const std::uint32_t Start = GetTickCount();
  while (!TicksElapsed(Start, GetTickCount(), Milliseconds)) Sleep(1);
}

void ShowSplashFor(HWND Owner, std::uint32_t Milliseconds) {
  ShowSplash(Owner, 0);
  WaitTicks(Milliseconds);
  HideSplash();
}
