#pragma once
// Drives the built Pictarine.scr from outside, as the screen-saver host or a
// user would: starts it with arguments, finds the windows and message boxes of
// its process, reads and dismisses them, and collects the exit code.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/KernelHandle.h"

struct TTopWindow {
  HWND Window = nullptr;
  std::string ClassName;
  std::string Caption;
  HWND Owner = nullptr;
  bool Visible = false;
};

struct TMessageBox {
  HWND Window = nullptr;
  std::string Caption;
  std::string Text;
  HWND Owner = nullptr;
  // Presses the box's OK (or its only) button.
  void Dismiss() const;
};

std::string ScreenSaverPath();

class TSaverProcess {
 public:
  // Starts Pictarine.scr with the given argument text (after the program name).
  explicit TSaverProcess(const std::string& Arguments);
  // Ends the process if it still runs.
  ~TSaverProcess();
  TSaverProcess(const TSaverProcess&) = delete;
  TSaverProcess& operator=(const TSaverProcess&) = delete;

  DWORD Id() const { return ProcessId; }
  bool Running() const;
  // The exit code once the process has ended within the time-out.
  std::optional<DWORD> WaitForExit(DWORD TimeoutMs) const;
  // The top-level windows of the process (visible ones only, by default).
  std::vector<TTopWindow> Windows(bool VisibleOnly = true) const;
  // Waits for a visible message box of the process.
  std::optional<TMessageBox> WaitForMessageBox(DWORD TimeoutMs) const;
  // Waits for a visible top-level window of the process that is not a message box.
  std::optional<TTopWindow> WaitForWindow(DWORD TimeoutMs) const;
  void Kill();

 private:
  TKernelHandle Process;
  DWORD ProcessId = 0;
};

// Lets the calling thread's message queue and other processes run for a while.
void Pump(DWORD Milliseconds);
