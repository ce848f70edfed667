#include "forms/About.h"

#include <shellapi.h>

#include <memory>

#include "core/ProductInfo.h"
#include "forms/ControlIds.h"
#include "platform/WideText.h"

TAboutBox::TAboutBox(TApplication& Application, HWND Owner) : TForm(Application) {
  TFormStyle Style;
  Style.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  Style.ClientWidth = 432;
  Style.ClientHeight = 317;
  Style.Centered = true;
  Style.Owner = Owner;
  Style.DialogKeys = true;
  Style.Scaled = true;
  Style.ClassName = "TAboutBox";
  CreateForm(Style);
}

void TAboutBox::CreateControls() {
  const TParent Form{Handle(), 0, 0};
  Panel1.Create(Form, idAboutPanel, 8, 8, 417, 265, TPanel::RaisedInnerLoweredOuter);
  const TParent P = Panel1.Inside();
  ProductName.Create(P, idAboutProductName, 136, 8, "");
  Version.Create(P, idAboutVersion, 136, 40, "");
  Copyright.Create(P, idAboutCopyright, 16, 216, "");
  WebSite.Create(P, idAboutWebSite, 16, 232, "");
  WebSite.SetOnClick(&TAboutBox::WebSiteClick);
  Image2.Create(P, idAboutLogo, 16, 8, 113, 113, true);
  EMail.Create(P, idAboutEMail, 16, 248, "");
  Image1.Create(P, idAboutBanner, 128, 56, 281, 65, false);
  StyleProductPanel(Handle(), Panel());
  BitBtn1.Create(Form, idAboutOk, 240, 280, 75, 25, "&OK", TGlyph::Ok, TButton::bkOk);
}

void TAboutBox::FormCreate() { ShowProductTexts(Panel()); }

TProductPanel TAboutBox::Panel() { return {ProductName, Version, Copyright, WebSite, EMail, Image2, Image1}; }

void TAboutBox::WebSiteClick() {
  ShellExecuteW(Handle(), L"open", Wide(WebAddress).c_str(), nullptr, nullptr, SW_SHOW);
}

void ShowAboutBox(TApplication& Application, HWND Owner) {
  auto Box = std::make_unique<TAboutBox>(Application, Owner);
  Box->ShowModal();
  Box->Destroy();
}
