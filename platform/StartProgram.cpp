#include "platform/StartProgram.h"

#include <windows.h>

#include "platform/KernelHandle.h"
#include "platform/WideText.h"

bool StartProgram(const std::string& CommandLine) {
  std::wstring Line = Wide(CommandLine);  // CreateProcessW may write into it
  STARTUPINFOW Startup{};
  Startup.cb = sizeof Startup;
  Startup.dwFlags = STARTF_USESHOWWINDOW;
  Startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION Started{};
  if (!CreateProcessW(nullptr, Line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Startup, &Started))
    return false;
  const TKernelHandle Process(Started.hProcess), Thread(Started.hThread);
  return true;
}
