#pragma once
// The screen's resolution and the fonts measured by it: the one place that
// asks Windows for the DPI and that names the dialog font.
#include <windows.h>

#include "platform/Gdi.h"

inline constexpr char DialogFontFace[] = "MS Sans Serif";
inline constexpr int DialogFontPoints = 8;

// Pixels per logical inch of the screen; 96 when the screen does not say.
int ScreenDpi();
// Character height in pixels of a point size on the screen, and back.
int PointsToHeight(int Points);
int HeightToPoints(int Height);
// A font by face, character height in pixels and weight.
TGdiObject<HFONT> MakeFont(const char* Face, int Height, bool Bold);
// The font every control of every form starts with, and the one text drawn
// into bitmaps uses: the dialog face at the dialog size. Lives as long as the
// process.
HFONT DialogFont();
