#include "forms/ProductPanel.h"

#include <string>

#include "core/ProductInfo.h"

namespace {

constexpr char ProductNameFace[] = "Times New Roman";
constexpr int ProductNameHeight = 24;
constexpr int VersionHeight = 13;

}  // namespace

HBITMAP LoadPicture(const char* Name) {
  return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), Name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

void StyleProductPanel(HWND Form, const TProductPanel& Panel) {
  SetWindowTextA(Form, ProductName);
  Panel.ProductName.SetFontHeight(ProductNameFace, ProductNameHeight, true);
  Panel.Version.SetFontHeight(DialogFontFace, VersionHeight);
  Panel.WebSite.SetFontColor(clBlue);
  Panel.WebSite.SetHandCursor();
  Panel.EMail.SetFontColor(clBlue);
  Panel.Logo.SetPicture(LoadPicture("LOGO"));
  Panel.Banner.SetPicture(LoadPicture("BANNER"));
}

void ShowProductTexts(const TProductPanel& Panel) {
  FitProductNameFont(Panel.ProductName);
  Panel.ProductName.SetText(ProductName);
  Panel.Version.SetText(VersionText);
  Panel.Copyright.SetText(CopyrightText);
  Panel.WebSite.SetText(WebAddress);
  Panel.EMail.SetText(std::string("E-Mail: ") + EMailAddress);
}

void FitProductNameFont(TLabel& Label) {
  while (Label.FontPoints() > 1 && Label.TextWidth(ProductName) > ProductNameWidth)
    Label.SetFontPoints(ProductNameFace, Label.FontPoints() - 1, true);
}
