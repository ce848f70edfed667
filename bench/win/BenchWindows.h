#pragma once
// What the Windows benchmarks share: a virtual desktop of a given size and a
// clock.
#include <windows.h>

#include <cstring>

namespace Bench {

// Moves the calling thread, which must own no window yet, to a Wine virtual
// desktop of the given size ("1920x1080"), created on first use, so that a
// benchmark sees exactly that screen.
inline bool JoinDesktop(const char* Name, const char* Size) {
  HKEY Key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Explorer\\Desktops", 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, &Key, nullptr) == ERROR_SUCCESS) {
    RegSetValueExA(Key, Name, 0, REG_SZ, reinterpret_cast<const BYTE*>(Size),
                   static_cast<DWORD>(std::strlen(Size) + 1));
    RegCloseKey(Key);
  }
  HDESK Desktop = CreateDesktopA(Name, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  return Desktop && SetThreadDesktop(Desktop);
}

// A plain window over the whole primary screen, on top: what a draw cycle
// copies its frame to.
inline HWND ScreenWindow() {
  return CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                         GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
}

// Seconds on the performance counter.
inline double Seconds() {
  static const LARGE_INTEGER Frequency = [] {
    LARGE_INTEGER F;
    QueryPerformanceFrequency(&F);
    return F;
  }();
  LARGE_INTEGER Now;
  QueryPerformanceCounter(&Now);
  return static_cast<double>(Now.QuadPart) / static_cast<double>(Frequency.QuadPart);
}

}  // namespace Bench
