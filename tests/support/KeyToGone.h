#pragma once
// The time a user waits for the saver to go: a key press posted to the
// saver's window, and the milliseconds until the window is no longer on the
// screen, watched from another thread while the application runs to its end
// (its forms destroyed).
#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/Application.h"

inline double KeyToGoneMs(TApplication& App, HWND Saver) {
  using TClock = std::chrono::steady_clock;
  TClock::time_point GoneAt;
  std::atomic<bool> Pressed{false};
  std::thread Watcher([&] {
    while (!Pressed) Sleep(0);
    while (IsWindow(Saver) && IsWindowVisible(Saver)) Sleep(1);
    GoneAt = TClock::now();
  });
  const TClock::time_point Start = TClock::now();
  Pressed = true;
  PostMessageA(Saver, WM_KEYDOWN, VK_SPACE, 0);
  App.Run();
  App.DestroyForms();
  Watcher.join();
  return std::chrono::duration<double, std::milli>(GoneAt - Start).count();
}

// Runs the application's messages until Done answers true or TimeoutMs have
// passed; whether it did.
template <typename F>
bool PumpUntil(TApplication& App, F&& Done, DWORD TimeoutMs) {
  const DWORD Start = GetTickCount();
  while (!Done()) {
    if (GetTickCount() - Start > TimeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    App.ProcessMessages();
  }
  return true;
}
