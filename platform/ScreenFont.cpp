#include "platform/ScreenFont.h"

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/Library.h"
#include "platform/SharedCaches.h"
#include "platform/SystemPaths.h"
#include "platform/WideText.h"

namespace {

// The per-monitor DPI functions are looked up at run time: Windows 7 has
// none of them, Windows 8.1 only GetDpiForMonitor, and older Wine versions
// may lack some.
using TGetDpiForWindow = UINT(WINAPI*)(HWND);
using TAdjustWindowRectExForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using TGetDpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int EffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

template <typename F>
F User32Function(const char* Name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), Name)));
}

// Shell scaling (shcore.dll) from the system folder only, loaded once for the
// life of the process.
TGetDpiForMonitor GetDpiForMonitorFunction() {
  static const TLibrary ShellScaling([] {
    return SystemFolder() + "\\shcore.dll";
  }());
  return ShellScaling.Function<TGetDpiForMonitor>("GetDpiForMonitor");
}

}  // namespace

int ScaleToDpi(int DesignLength, int Dpi) { return MulDiv(DesignLength, Dpi, DesignDpi); }

int ScreenDpi() {
  TWindowDC Screen(nullptr);
  const int Dpi = GetDeviceCaps(Screen.Get(), LOGPIXELSY);
  return Dpi > 0 ? Dpi : DesignDpi;
}

int MonitorDpi(HMONITOR Monitor) {
  static const TGetDpiForMonitor GetDpiForMonitor = GetDpiForMonitorFunction();
  UINT X = 0, Y = 0;
  if (Monitor && GetDpiForMonitor && SUCCEEDED(GetDpiForMonitor(Monitor, EffectiveDpi, &X, &Y)) && Y > 0)
    return static_cast<int>(Y);
  return ScreenDpi();
}

int WindowDpi(HWND Window) {
  static const auto GetDpiForWindow = User32Function<TGetDpiForWindow>("GetDpiForWindow");
  if (GetDpiForWindow)
    if (const UINT Dpi = GetDpiForWindow(Window); Dpi > 0) return static_cast<int>(Dpi);
  return MonitorDpi(MonitorFromWindow(Window, MONITOR_DEFAULTTONEAREST));
}

void AdjustFrameForDpi(RECT& Rect, DWORD Style, DWORD ExStyle, int Dpi) {
  static const auto AdjustForDpi = User32Function<TAdjustWindowRectExForDpi>("AdjustWindowRectExForDpi");
  if (!AdjustForDpi || !AdjustForDpi(&Rect, Style, FALSE, ExStyle, static_cast<UINT>(Dpi)))
    AdjustWindowRectEx(&Rect, Style, FALSE, ExStyle);
}

int PointsToHeight(int Points) { return MulDiv(Points, DesignDpi, 72); }
int HeightToPoints(int Height) { return MulDiv(Height, 72, DesignDpi); }

TGdiObject<HFONT> MakeFont(const char* Face, int Height, bool Bold) {
  return TGdiObject<HFONT>(CreateFontW(-Height, 0, 0, 0, Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                       ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                       DEFAULT_PITCH | FF_DONTCARE, Wide(Face).c_str()));
}

namespace {

HFONT FontForDpi(TSharedCaches& Caches, const char* Face, int Dpi) {
  for (const TSharedCaches::TFont& Font : Caches.Fonts)
    if (Font.Face == Face && Font.Dpi == Dpi) return Font.Handle.Get();
  Caches.Fonts.push_back({Face, Dpi, MakeFont(Face, ScaleToDpi(PointsToHeight(DialogFontPoints), Dpi), false)});
  return Caches.Fonts.back().Handle.Get();
}

}  // namespace

HFONT DialogFontForDpi(int Dpi) {
  // Under a lock, because text is also drawn into bitmaps on worker threads.
  TSharedCaches& Caches = TSharedCaches::Current();
  const std::lock_guard<std::mutex> Held(Caches.FontLock);
  return FontForDpi(Caches, DialogFontFace, Dpi);
}

HFONT NamesFontForDpi(int Dpi) {
  TSharedCaches& Caches = TSharedCaches::Current();
  const std::lock_guard<std::mutex> Held(Caches.FontLock);
  return FontForDpi(Caches, NamesFontFace, Dpi);
}

int FontHeight(HFONT Font) {
  TWindowDC Screen(nullptr);
  TSelection Selected(Screen.Get(), Font);
  TEXTMETRICW Metrics{};
  GetTextMetricsW(Screen.Get(), &Metrics);
  return Metrics.tmHeight;
}

HFONT DialogFont() {
  TSharedCaches& Caches = TSharedCaches::Current();
  const std::lock_guard<std::mutex> Held(Caches.FontLock);
  if (!Caches.ScreenDpiFont) Caches.ScreenDpiFont = FontForDpi(Caches, DialogFontFace, ScreenDpi());
  return Caches.ScreenDpiFont;
}
