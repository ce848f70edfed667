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

// What KeyToGoneMs answers when the window is still there after its time
// limit: the watcher then ends the application's loop itself, so that a
// saver that does not answer its key fails the test instead of hanging it.
constexpr double NeverGoneMs = 1e9;

inline double KeyToGoneMs(TApplication& App, HWND Saver, DWORD LimitMs = 10000) {
  using TClock = std::chrono::steady_clock;
  TClock::time_point GoneAt;
  bool Gone = false;
  std::atomic<bool> Pressed{false};
  const DWORD Loop = GetCurrentThreadId();
  std::thread Watcher([&] {
    while (!Pressed) Sleep(0);
    const TClock::time_point Limit = TClock::now() + std::chrono::milliseconds(LimitMs);
    while (IsWindow(Saver) && IsWindowVisible(Saver) && TClock::now() < Limit) Sleep(1);
    GoneAt = TClock::now();
    Gone = GoneAt < Limit;
    if (!Gone) PostThreadMessageA(Loop, WM_QUIT, 0, 0);
  });
  const TClock::time_point Start = TClock::now();
  Pressed = true;
  PostMessageA(Saver, WM_KEYDOWN, VK_SPACE, 0);
  App.Run();
  App.DestroyForms();
  Watcher.join();
  return Gone ? std::chrono::duration<double, std::milli>(GoneAt - Start).count() : NeverGoneMs;
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
