#include "platform/ScreenFont.h"

int ScreenDpi() {
  TWindowDC Screen(nullptr);
  const int Dpi = GetDeviceCaps(Screen.Get(), LOGPIXELSY);
  return Dpi > 0 ? Dpi : 96;
}

int PointsToHeight(int Points) { return MulDiv(Points, ScreenDpi(), 72); }
int HeightToPoints(int Height) { return MulDiv(Height, 72, ScreenDpi()); }

TGdiObject<HFONT> MakeFont(const char* Face, int Height, bool Bold) {
  return TGdiObject<HFONT>(CreateFontA(-Height, 0, 0, 0, Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                       ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                       DEFAULT_PITCH | FF_DONTCARE, Face));
}

HFONT DialogFont() {
  static TGdiObject<HFONT> Font = MakeFont(DialogFontFace, PointsToHeight(DialogFontPoints), false);
  return Font.Get();
}
