// A stand-in for the companion viewer, built as Vistaloop.exe into a folder
// of its own: it writes the command line it was started with, in UTF-8, into
// "command-line.txt" beside itself and ends, so a test can check how the
// viewer was started.
#include <windows.h>

#include <string>

#include "platform/Files.h"
#include "platform/SystemPaths.h"
#include "platform/WideText.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::string Record = ExecutablePath();
  Record.resize(Record.find_last_of('\\') + 1);
  try {
    ReplaceFile(Record + "command-line.txt", Utf8(GetCommandLineW()));
  } catch (...) {
    return 1;
  }
  return 0;
}
