#pragma once
// The screen's resolution and the fonts measured by it: the one place that
// asks Windows for a DPI, that holds the rule by which the 96-DPI design of
// the program's windows is laid out at another DPI, and that names the dialog
// font.
//
// The windows are designed at 96 DPI: every position, size and font height
// that their code gives is a length at 96 DPI. On a monitor of another DPI it
// becomes Length * DPI / 96, rounded as MulDiv rounds (half away from zero).
#include <windows.h>

#include "platform/Gdi.h"

// Sent to a top-level window of a per-monitor aware program when the DPI of
// its monitor changes (Windows 8.1 and later); older headers lack it.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

inline constexpr char DialogFontFace[] = "MS Sans Serif";
// The face of the controls that show names (of pictures, folders, groups):
// the one Windows maps to its dialog font (Microsoft Sans Serif, the
// TrueType form of MS Sans Serif), whose missing glyphs Windows takes from
// the fonts linked to it, so that names in any script show.
inline constexpr char NamesFontFace[] = "MS Shell Dlg";
inline constexpr int DialogFontPoints = 8;
// The DPI that the windows' positions, sizes and font heights are given at.
inline constexpr int DesignDpi = 96;

// A length of the 96-DPI design at Dpi.
int ScaleToDpi(int DesignLength, int Dpi);

// Pixels per logical inch of the screen (the system DPI); 96 when the screen
// does not say.
int ScreenDpi();
// The DPI of a monitor: its own where Windows keeps one per monitor (8.1 and
// later), else the screen's.
int MonitorDpi(HMONITOR Monitor);
// The DPI of the monitor a window is on, as Windows gives it to the window
// (Windows 10 1607 and later), else as for MonitorDpi.
int WindowDpi(HWND Window);
// Turns a client rectangle into the window rectangle around it, with the
// frame of a window at Dpi where Windows can size frames per DPI (Windows 10
// 1607 and later), else with the frame at the screen's DPI.
void AdjustFrameForDpi(RECT& Rect, DWORD Style, DWORD ExStyle, int Dpi);

// Character height in pixels of a point size in the 96-DPI design, and back.
int PointsToHeight(int Points);
int HeightToPoints(int Height);
// A font by face, character height in pixels and weight.
TGdiObject<HFONT> MakeFont(const char* Face, int Height, bool Bold);
// The dialog face at the dialog size at a DPI: the font every control of a
// form laid out at that DPI starts with. Each lives as long as the process.
HFONT DialogFontForDpi(int Dpi);
// The dialog font at the screen's DPI, which text drawn into bitmaps uses.
HFONT DialogFont();
// The names face at the dialog size at a DPI, for the controls that show
// names. Each lives as long as the process.
HFONT NamesFontForDpi(int Dpi);
// The height of a font's characters in pixels (its tmHeight).
int FontHeight(HFONT Font);
