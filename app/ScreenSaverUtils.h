#pragma once
// Command line of the process and the screen-saver password.
#include <windows.h>

#include <cstdint>
#include <string>

#include "app/CommandLine.h"
#include "platform/WindowHandle.h"

// Run mode and window handle of this process; written by ParseCommandLine only.
extern TSaverMode SaverMode;
extern std::int32_t ParentWindow;

inline HWND ParentWindowHandle() { return WindowFromInt32(ParentWindow); }

// Sets SaverMode and ParentWindow from the process command line. In
// smChangePassword it changes the password and ends the process.
void ParseCommandLine();

// The system directory with one trailing backslash (none when it is empty).
std::string SystemDirectory();

// Changes the screen-saver password through the system's provider, reports a
// failure in a message box owned by ParentWindow, and ends the process with
// exit code 0 on every path.
[[noreturn]] void ChangeScreenSaverPassword();

// Asks the system's provider for the password when the desktop settings ask
// for one. True means the saver may close.
bool VerifyScreenSaverPassword(HWND Window);
