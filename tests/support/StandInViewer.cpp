// A stand-in for the companion viewer, built as Vistaloop.exe into a folder
// of its own: it writes the command line it was started with into
// "command-line.txt" beside itself and ends, so a test can check how the
// viewer was started.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char Path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, Path, MAX_PATH);
  std::string Record(Path);
  Record.resize(Record.find_last_of('\\') + 1);
  Record += "command-line.txt";
  const char* CommandLine = GetCommandLineA();
  HANDLE File = CreateFileA(Record.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (File == INVALID_HANDLE_VALUE) return 1;
  DWORD Written = 0;
  WriteFile(File, CommandLine, static_cast<DWORD>(lstrlenA(CommandLine)), &Written, nullptr);
  CloseHandle(File);
  return 0;
}
