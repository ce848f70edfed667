#pragma once
// Drives the built Pictarine.scr from outside, as the screen-saver host or a
// user would: starts it with arguments, finds the windows and message boxes of
// its process, reads and dismisses them, and collects the exit code.
#include <windows.h>

#include <functional>
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
  // Waits for a visible message box of the process (0: whether one shows now).
  std::optional<TMessageBox> WaitForMessageBox(DWORD TimeoutMs) const;
  // Waits for a visible top-level window of the process that is not a message box.
  std::optional<TTopWindow> WaitForWindow(DWORD TimeoutMs) const;
  void Kill();

 private:
  TKernelHandle Process;
  DWORD ProcessId = 0;
  std::string Desktop;  // the virtual desktop the program runs on
};

// Handles the calling thread's messages for a while, and at least once: one
// step of a wait on a condition, never a wait of its own.
void Pump(DWORD Milliseconds);

// Waits until Done answers true, handling this thread's messages meanwhile
// and asking again every 10 ms (at once when a message comes); whether it did
// within TimeoutMs (Done is asked once more when the time is up).
bool WaitUntil(const std::function<bool()>& Done, DWORD TimeoutMs);
// Whether Holds stays true for Ms, asked every 50 ms: the bounded
// observation of something that must not happen, where no later event shows
// that it did not.
bool HoldsFor(const std::function<bool()>& Holds, DWORD Ms);

// A message sent to a window of another thread without waiting for its
// answer: the window's thread answers through a callback, which this thread
// receives while it handles its messages (WaitUntil, Pump).
class TSentMessage {
 public:
  TSentMessage(HWND Window, UINT Message, WPARAM WParam = 0, LPARAM LParam = 0);
  // Whether the window's procedure has returned from it (or the window is gone).
  bool Handled() const;
  bool WaitHandled(DWORD TimeoutMs) const;
  // Waits until it has been handled or Owner is disabled: a handler that
  // opens a modal window over Owner (a message box, a common dialog, a modal
  // form) goes on until that window closes, so a disabled Owner means that
  // the handler has come as far as it can for now.
  bool WaitHandledOrModal(HWND Owner, DWORD TimeoutMs) const;

 private:
  ULONG_PTR Id = 0;
  HWND Window = nullptr;
};
// Waits until every message sent so far as a TSentMessage has been handled,
// except those whose window is gone.
bool WaitForSentMessages(DWORD TimeoutMs);

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
// A pixel that a check expects on the screen, at X, Y of the virtual screen.
struct TScreenPoint {
  int X, Y;
  std::uint32_t Pixel;
};
// What a capture shows other than Points expect: "" when it shows them all.
std::string ScreenMismatch(const TPixelBuffer& Screen, const std::vector<TScreenPoint>& Points);
// Waits until one capture shows every point as expected (a picture is put
// on the screen in more than one piece at times); the last mismatch when
// none does. The last capture goes to Shot.
std::string WaitForScreen(const std::vector<TScreenPoint>& Points, DWORD TimeoutMs, TPixelBuffer* Shot = nullptr);
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
// The same click sent: the handler's end, or the modal window it opened over
// Owner, can be waited for (TSentMessage::WaitHandledOrModal).
TSentMessage SendClick(HWND Button);
// Whether a window of another process is ready for input: visible, enabled,
// and its thread back in its message loop (it answers a message), within
// TimeoutMs.
bool WaitForReady(HWND Window, DWORD TimeoutMs = 10000);
// Makes a window the foreground window and waits until it is and the
// keyboard focus is in it, so that keys sent now reach it.
bool BringToFront(HWND Window, DWORD TimeoutMs = 5000);
bool IsChecked(HWND Button);
// The window that has the keyboard focus in the thread that owns Window.
HWND FocusOf(HWND Window);
// A top-level window of the process of the given class, visible (an empty
// class: any that is not a message box).
std::optional<TTopWindow> WaitForWindowOfClass(const TSaverProcess& Process, const std::string& ClassName,
                                               DWORD TimeoutMs);
// The screen pixels of a window's rectangle.
TPixelBuffer CaptureWindow(HWND Window);
// Saves what the screen shows of a window as build/test-screens/<Name>-<arch>.bmp,
// once it shows the same in two captures in a row.
void SaveScreenshot(HWND Window, const std::string& Name);
// The same of a screen captured before.
void SaveScreenshot(TPixelBuffer Shot, const std::string& Name);
