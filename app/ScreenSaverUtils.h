#pragma once
// Command line of the process and the screen-saver password.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/CommandLine.h"

// The arguments of this process's command line, the program name excluded.
std::vector<std::string> ProcessArguments();

// The system directory with one trailing backslash (none when it is empty).
std::string SystemDirectory();

// Changes the screen-saver password through the system's provider for the
// window that the second argument names, and reports a failure in a message
// box owned by Owner (none when Owner names no window).
void ChangeScreenSaverPassword(const std::vector<std::string>& Args, HWND Owner);

// Asks the system's provider for the password when the desktop settings ask
// for one. True means the saver may close: also when no provider is
// installed, and when the provider faults.
bool VerifyScreenSaverPassword(HWND Window);
