#pragma once
// Drives the built Pictarine.scr from outside, as the screen-saver host or a
// user would: starts it with arguments, finds the windows and message boxes of
// its process, reads and dismisses them, and collects the exit code.
#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "core/Pixels.h"
#include "platform/KernelHandle.h"

// The size of a Wine virtual desktop; 0 x 0 names the display itself, with
// all of its monitors.
struct TScreenSize {
  int Width = 1024;
  int Height = 768;
};
constexpr TScreenSize WholeDisplay{0, 0};

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
  // Starts Pictarine.scr with the given argument text (after the program
  // name) on a Wine virtual desktop of the given screen size, so that the
  // program sees exactly that screen whatever ran before it.
  explicit TSaverProcess(const std::string& Arguments, TScreenSize Screen = {});
  // Starts a program with exactly this command line, its path included, as
  // Windows runs the commands of the Run key.
  struct TCommandLine {
    std::string Text;
  };
  explicit TSaverProcess(const TCommandLine& CommandLine, TScreenSize Screen = {});
  // Ends the process if it still runs.
  ~TSaverProcess();
  TSaverProcess(const TSaverProcess&) = delete;
  TSaverProcess& operator=(const TSaverProcess&) = delete;

  DWORD Id() const { return ProcessId; }
  bool Running() const;
  // The exit code once the process has ended within the time-out.
  std::optional<DWORD> WaitForExit(DWORD TimeoutMs) const;
  // The top-level windows of the process (visible ones only, by default).
  // Under Wine only windows on the caller's own desktop are found.
  std::vector<TTopWindow> Windows(bool VisibleOnly = true) const;
  // Waits for a visible message box of the process.
  std::optional<TMessageBox> WaitForMessageBox(DWORD TimeoutMs) const;
  // Waits for a visible top-level window of the process that is not a message box.
  std::optional<TTopWindow> WaitForWindow(DWORD TimeoutMs) const;
  void Kill();

 private:
  TKernelHandle Process;
  DWORD ProcessId = 0;
  std::string Desktop;  // the virtual desktop the program runs on
};

// Lets the calling thread's message queue and other processes run for a while.
void Pump(DWORD Milliseconds);

// The screen of the tests' own desktop: 1024 x 768, or the size that the
// environment variable PICTARINE_TEST_SCREEN gives as WIDTHxHEIGHT (the
// high-DPI tests at 192 DPI run on a screen of twice that size).
TScreenSize TestScreen();

// The name of the Wine virtual desktop of a screen size; it is created with
// that size when a program first starts on it.
std::string DesktopName(TScreenSize Screen);
// Moves the calling thread, which must own no window yet, to the desktop of
// that size, where the programs started with the same size run.
bool JoinTestDesktop(TScreenSize Screen);

// The screen of the calling thread's desktop as pixels, every monitor: its
// top-left pixel is the virtual screen's top-left corner.
TPixelBuffer CaptureScreen();
// A key press and release, and an absolute pointer movement, as a user's.
void PressKey(WORD VirtualKey);
// Keys held down in order and released in reverse order (Ctrl+Tab).
void PressKeys(std::initializer_list<WORD> VirtualKeys);
void MoveMouse(int X, int Y);

// Dialog controls of another process, found by their numbers and read and
// driven with real messages.
// The first descendant of Root (at any depth) with control number Id.
HWND FindControl(HWND Root, int Id);
// The text of a window through WM_GETTEXT (edit fields answer only that).
std::string ControlText(HWND Control);
void SetControlText(HWND Control, const std::string& Text);
// A button click as the button itself performs it, posted so that a modal
// loop started by the click does not block the caller.
void ClickButton(HWND Button);
bool IsChecked(HWND Button);
// The window that has the keyboard focus in the thread that owns Window.
HWND FocusOf(HWND Window);
// A top-level window of the process of the given class, visible.
std::optional<TTopWindow> WaitForWindowOfClass(const TSaverProcess& Process, const std::string& ClassName,
                                               DWORD TimeoutMs);
// The screen pixels of a window's rectangle.
TPixelBuffer CaptureWindow(HWND Window);
// Saves what the screen shows of a window as build/test-screens/<Name>-<arch>.bmp.
void SaveScreenshot(HWND Window, const std::string& Name);
// The same of a screen captured before.
void SaveScreenshot(TPixelBuffer Shot, const std::string& Name);
