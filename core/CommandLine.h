#pragma once
// Command-line contract of the screen saver: argument splitting, integer
// reading and the choice of run mode and window handle. Portable.
#include <cstdint>
#include <string>
#include <vector>

#include "core/IntegerText.h"

enum TSaverMode {
  smChangePassword = 0,
  smPreview = 1,
  smConfigure = 2,
  smSaver = 3,
  smWallpaper = 4,
};

// Splits a process command line into words: blanks and tabs separate words, a
// stretch in double quotes may hold blanks and its quotes are dropped. Word 0
// is the program itself.
std::vector<std::string> SplitCommandLine(const std::string& CommandLine);

struct TParsedCommandLine {
  TSaverMode Mode = smConfigure;
  std::int32_t ParentWindow = 0;
};

// Chooses the run mode and window handle from the arguments (program name
// excluded). Only the first two arguments are looked at.
TParsedCommandLine ParseArguments(const std::vector<std::string>& Args);
