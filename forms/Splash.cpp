#include "forms/Splash.h"

#include <memory>

#include "core/Ticks.h"
#include "forms/ControlIds.h"
#include "platform/Application.h"

namespace {

std::unique_ptr<TSplashForm> Splash;

}  // namespace

TSplashForm::TSplashForm(TApplication& Application, HWND Owner) : TForm(Application) {
  TFormStyle Style;
  Style.Style = WS_POPUP | WS_CAPTION | WS_BORDER;
  Style.ClientWidth = 434;
  Style.ClientHeight = 333;
  Style.Centered = true;
  Style.Owner = Owner;
  Style.Scaled = true;
  Style.ClassName = "TSplashForm";
  CreateForm(Style);
}

void TSplashForm::CreateControls() {
  const TParent Form{Handle(), 0, 0};
  Panel1.Create(Form, idSplashPanel, 8, 8, 417, 273, TPanel::RaisedInnerLoweredOuter);
  const TParent P = Panel1.Inside();
  Image1.Create(P, idSplashLogo, 8, 8, 116, 113, true);
  ProductName.Create(P, idSplashProductName, 131, 8, "");
  Version.Create(P, idSplashVersion, 136, 33, "");
  Image2.Create(P, idSplashBanner, 128, 56, 281, 65, false);
  Copyright.Create(P, idSplashCopyright, 10, 217, "");
  WebSite.Create(P, idSplashWebSite, 8, 232, "");
  EMail.Create(P, idSplashEMail, 8, 248, "");
  StyleProductPanel(Handle(), Panel());
  Gauge1.Create(Form, idSplashGauge, 0, 288, 417, 20);
  Label1.Create(Form, idSplashLoading, 192, 312, "Loading....");
}

void TSplashForm::FormCreate() { ShowProductTexts(Panel()); }

TProductPanel TSplashForm::Panel() { return {ProductName, Version, Copyright, WebSite, EMail, Image1, Image2}; }

TSplashForm* CurrentSplash() { return Splash.get(); }

void ShowSplash(TApplication& Application, HWND Owner, std::int32_t GaugeMax) {
  if (Splash) HideSplash();
  Splash = std::make_unique<TSplashForm>(Application, Owner);
  if (GaugeMax <= 0)
    Splash->Gauge1.SetVisible(false);
  else
    Splash->Gauge1.SetMax(GaugeMax);
  Splash->Show();  // painted at once: Show updates the window
}

void HideSplash() {
  if (!Splash) return;
  ShowWindow(Splash->Handle(), SW_HIDE);
  TApplication& Application = Splash->Application();
  Application.Release(std::move(Splash));
}

void WaitTicks(std::uint32_t Milliseconds) {
  const std::uint32_t Start = GetTickCount();
  while (!TicksElapsed(Start, GetTickCount(), Milliseconds)) Sleep(1);
}

void ShowSplashFor(TApplication& Application, HWND Owner, std::uint32_t Milliseconds) {
  ShowSplash(Application, Owner, 0);
  WaitTicks(Milliseconds);
  HideSplash();
}
