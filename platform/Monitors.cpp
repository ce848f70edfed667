#include "platform/Monitors.h"

RECT VirtualScreen() {
  const int X = GetSystemMetrics(SM_XVIRTUALSCREEN), Y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  RECT R{X, Y, X + GetSystemMetrics(SM_CXVIRTUALSCREEN), Y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  // A system that reports no virtual screen has the primary screen alone.
  if (R.right <= R.left || R.bottom <= R.top) R = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return R;
}

namespace {

BOOL CALLBACK AddMonitor(HMONITOR Monitor, HDC, LPRECT, LPARAM Data) {
  auto& Rects = *reinterpret_cast<std::vector<RECT>*>(Data);
  MONITORINFO Info{};
  Info.cbSize = sizeof Info;
  if (!GetMonitorInfoW(Monitor, &Info)) return TRUE;
  if (Info.dwFlags & MONITORINFOF_PRIMARY)
    Rects.insert(Rects.begin(), Info.rcMonitor);
  else
    Rects.push_back(Info.rcMonitor);
  return TRUE;
}

}  // namespace

std::vector<RECT> MonitorRects() {
  std::vector<RECT> Rects;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&Rects));
  if (Rects.empty()) Rects.push_back(VirtualScreen());
  return Rects;
}
