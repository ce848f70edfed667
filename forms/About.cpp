#include "forms/About.h"

#include <shellapi.h>

#include <memory>

#include "forms/ControlIds.h"
#include "forms/ProductInfo.h"
#include "forms/Splash.h"

TAboutBox::TAboutBox(HWND Owner) {
  TFormStyle Style;
  Style.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  Style.ClientWidth = 432;
  Style.ClientHeight = 317;
  Style.Centered = true;
  Style.Owner = Owner;
  Style.DialogKeys = true;
  Style.ClassName = "TAboutBox";
  CreateForm(Style);
}

void TAboutBox::CreateControls() {
  const TParent Form{Handle(), 0, 0};
  Panel1.Create(Form, idAboutPanel, 8, 8, 417, 265, TPanel::RaisedInnerLoweredOuter);
  const TParent P = Panel1.Inside();
  ProductName.Create(P, idAboutProductName, 136, 8, "");
  ProductName.SetFontHeight("Times New Roman", 24, true);
  Version.Create(P, idAboutVersion, 136, 40, "");
  Version.SetFontHeight("MS Sans Serif", 13);
  Copyright.Create(P, idAboutCopyright, 16, 216, "");
  WebSite.Create(P, idAboutWebSite, 16, 232, "");
  WebSite.SetFontColor(clBlue);
  WebSite.SetHandCursor();
  WebSite.SetOnClick(&TAboutBox::WebSiteClick);
  Image2.Create(P, idAboutLogo, 16, 8, 113, 113, true);
  Image2.SetPicture(LoadPicture("LOGO"));
  EMail.Create(P, idAboutEMail, 16, 248, "");
  EMail.SetFontColor(clBlue);
  Image1.Create(P, idAboutBanner, 128, 56, 281, 65, false);
  Image1.SetPicture(LoadPicture("BANNER"));
  BitBtn1.Create(Form, idAboutOk, 240, 280, 75, 25, "&OK", TGlyph::Ok, TButton::bkOk);
}

void TAboutBox::FormCreate() {
  SetWindowTextA(Handle(), ::ProductName);
  FitProductName();
  ProductName.SetText(::ProductName);
  Version.SetText(VersionText);
  Copyright.SetText(CopyrightText);
  WebSite.SetText(WebAddress);
  EMail.SetText(std::string("E-Mail: ") + EMailAddress);
}

void TAboutBox::FitProductName() { FitProductNameFont(ProductName); }

void TAboutBox::WebSiteClick() { ShellExecuteA(Handle(), "open", WebAddress, nullptr, nullptr, SW_SHOW); }

void ShowAboutBox(HWND Owner) {
  auto Box = std::make_unique<TAboutBox>(Owner);
  Box->ShowModal();
  Box->Destroy();
}
