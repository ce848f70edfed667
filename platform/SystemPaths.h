#pragma once
// Where Windows and this program live, as UTF-8 paths.
#include <string>

// The system folder (System32), without a trailing backslash.
std::string SystemFolder();
// The full path of the running program, whatever its length.
std::string ExecutablePath();
