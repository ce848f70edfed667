#include "forms/ProductPanel.h"

#include <string>

#include "core/ProductInfo.h"
#include "platform/WideText.h"

namespace {

constexpr char ProductNameFace[] = "Times New Roman";
constexpr int ProductNameHeight = 24;
constexpr int VersionHeight = 13;

}  // namespace

HBITMAP LoadPicture(const char* Name) {
  return static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), Wide(Name).c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

void StyleProductPanel(HWND Form, const TProductPanel& Panel) {
  SetWindowTextUtf8(Form, ProductName);
  Panel.ProductName.SetFontHeight(ProductNameFace, ProductNameHeight, true);
  Panel.Version.SetFontHeight(DialogFontFace, VersionHeight);
  Panel.WebSite.SetFontColor(clBlue);
  Panel.WebSite.SetHandCursor();
  Panel.EMail.SetFontColor(clBlue);
  // Pictures of the design: the logo is stretched to its box, the banner
  // drawn at its size scaled to the window's DPI.
  Panel.Logo.SetPicture(LoadPicture("LOGO"), true);
  Panel.Banner.SetPicture(LoadPicture("BANNER"), true);
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
  // The width is of the 96-DPI design; the text is measured at the label's DPI.
  while (Label.FontPoints() > 1 && Label.TextWidth(ProductName) > Label.Scale(ProductNameWidth))
    Label.SetFontPoints(ProductNameFace, Label.FontPoints() - 1, true);
}
