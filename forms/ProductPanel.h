#pragma once
// The panel with which the program presents itself, on the splash and in the
// About window: the product name, version, copyright, web and mail address,
// the logo and the banner. Each window places the controls at its own
// positions; this gives them their fonts, colours, pictures and texts.
#include <windows.h>

#include "platform/Controls.h"

struct TProductPanel {
  TLabel& ProductName;
  TLabel& Version;
  TLabel& Copyright;
  TLabel& WebSite;
  TLabel& EMail;
  TImage& Logo;
  TImage& Banner;
};

// Gives the panel's controls, already created, their fonts, colours and
// pictures, and its window (Form) the product name as caption.
void StyleProductPanel(HWND Form, const TProductPanel& Panel);
// Sets the panel's texts, the product name's font first shrunk to fit.
void ShowProductTexts(const TProductPanel& Panel);

// Shrinks the product label's font a point at a time until the product name
// fits its width (of the design, at the label's DPI); never enlarges it.
void FitProductNameFont(TLabel& Label);

// Loads one of the program's bitmap resources ("LOGO", "BANNER"); nullptr
// when the program has none of that name.
HBITMAP LoadPicture(const char* Name);
