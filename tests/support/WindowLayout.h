#pragma once
// The layout of a window's controls as the tests of DPI awareness read it:
// every descendant window with its rectangle in its parent's client area, and
// the checks that a layout is the 96-DPI design scaled to a DPI, that nothing
// reaches out of its parent and that no text is clipped.
#include <windows.h>

#include <string>
#include <vector>

struct TLaidOutWindow {
  HWND Window = nullptr;
  std::string ClassName;  // lower case
  int Id = 0;
  RECT Bounds{};  // in the parent's client area
  SIZE ParentClient{};
  bool InTabs = false;  // a child of a tab control: one of its pages
  int FontHeight = 0;   // of the font it was given (WM_SETFONT); 0: none, or another process's window
};

// Every descendant of Root, depth first in Z order (for the toolkit's windows,
// the order in which they were created). Works on another process's windows.
std::vector<TLaidOutWindow> LayoutOf(HWND Root);

// How the toolkit sizes a window at a DPI (platform/Control.h).
enum class TSizing {
  Design,      // its design bounds scaled
  Text,        // a label: its position scaled, its size that of its text
  FontHeight,  // a drop-down list: its position and width scaled, its height the font's
  Page,        // a page: the area its tab control leaves below the tabs
};
TSizing SizingOf(const TLaidOutWindow& Window);

// Expects Actual to be Design (the same windows laid out at 96 DPI) scaled to
// Dpi, within a pixel, as far as SizingOf says the toolkit scales them, and
// their fonts' heights too where both layouts know them.
void ExpectScaledLayout(const std::vector<TLaidOutWindow>& Design, const std::vector<TLaidOutWindow>& Actual, int Dpi,
                        const std::string& What);
// Expects the same windows at the same places.
void ExpectSameLayout(const std::vector<TLaidOutWindow>& Expected, const std::vector<TLaidOutWindow>& Actual,
                      const std::string& What);
// Expects every window to lie wholly in its parent's client area.
void ExpectInsideParents(const std::vector<TLaidOutWindow>& Layout, const std::string& What);
// Expects the text of every control of Root, a window of this process laid
// out at Dpi, to fit the control, measured with the control's own font.
void ExpectTextFits(HWND Root, int Dpi, const std::string& What);

// Sends a top-level window of this process WM_DPICHANGED as Windows does when
// it moves to a monitor of NewDpi: the suggested rectangle holds the client
// area scaled from OldDpi. Returns the suggested rectangle.
RECT SendDpiChanged(HWND Window, int OldDpi, int NewDpi);
