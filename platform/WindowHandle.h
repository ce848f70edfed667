#pragma once
// Window handles as 32-bit integers, the form in which the screen-saver host
// passes them on a command line. Windows shares window handles between 32-
// and 64-bit processes and keeps only their low 32 bits significant (a 64-bit
// handle is the sign extension of its 32-bit value), so a window handle fits
// a signed 32-bit integer on both architectures. No other pointer or handle
// may be kept in 32 bits.
#include <windows.h>

#include <cstdint>

inline HWND WindowFromInt32(std::int32_t Value) {
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(Value));
}

inline std::int32_t Int32FromWindow(HWND Window) {
  return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(Window));
}
