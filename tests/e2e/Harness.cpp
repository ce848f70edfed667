#include "e2e/Harness.h"

#include "support/TestEnvironment.h"

namespace {

std::string ClassOf(HWND Window) {
  char Name[256] = "";
  GetClassNameA(Window, Name, sizeof Name);
  return Name;
}

std::string TextOf(HWND Window) {
  char Text[4096] = "";
  GetWindowTextA(Window, Text, sizeof Text);
  return Text;
}

struct TEnumState {
  DWORD ProcessId;
  bool VisibleOnly;
  std::vector<TTopWindow>* Found;
};

BOOL CALLBACK CollectWindow(HWND Window, LPARAM Param) {
  auto* State = reinterpret_cast<TEnumState*>(Param);
  DWORD Owner = 0;
  GetWindowThreadProcessId(Window, &Owner);
  if (Owner != State->ProcessId) return TRUE;
  const bool Visible = IsWindowVisible(Window) != 0;
  if (State->VisibleOnly && !Visible) return TRUE;
  State->Found->push_back({Window, ClassOf(Window), TextOf(Window), GetWindow(Window, GW_OWNER), Visible});
  return TRUE;
}

bool IsMessageBox(const TTopWindow& W) { return W.ClassName == "#32770"; }

}  // namespace

void TMessageBox::Dismiss() const {
  HWND Button = GetDlgItem(Window, IDOK);
  if (!Button) Button = GetDlgItem(Window, IDCANCEL);
  PostMessageA(Window, WM_COMMAND, MAKEWPARAM(Button ? GetDlgCtrlID(Button) : IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(Button));
}

std::string ScreenSaverPath() { return ProgramFolder() + "Pictarine.scr"; }

void Pump(DWORD Milliseconds) {
  const DWORD Start = GetTickCount();
  do {
    MSG Message;
    while (PeekMessageA(&Message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&Message);
      DispatchMessageA(&Message);
    }
    Sleep(10);
  } while (GetTickCount() - Start < Milliseconds);
}

TSaverProcess::TSaverProcess(const std::string& Arguments) {
  std::string CommandLine = "\"" + ScreenSaverPath() + "\" " + Arguments;
  STARTUPINFOA Startup{};
  Startup.cb = sizeof Startup;
  PROCESS_INFORMATION Info{};
  if (CreateProcessA(nullptr, CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Startup, &Info)) {
    CloseHandle(Info.hThread);
    Process = TKernelHandle(Info.hProcess);
    ProcessId = Info.dwProcessId;
  }
}

TSaverProcess::~TSaverProcess() { Kill(); }

bool TSaverProcess::Running() const {
  return Process.Valid() && WaitForSingleObject(Process.Get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> TSaverProcess::WaitForExit(DWORD TimeoutMs) const {
  if (!Process.Valid()) return std::nullopt;
  const DWORD Start = GetTickCount();
  while (WaitForSingleObject(Process.Get(), 0) == WAIT_TIMEOUT) {
    if (GetTickCount() - Start >= TimeoutMs) return std::nullopt;
    Pump(20);
  }
  DWORD Code = 0;
  GetExitCodeProcess(Process.Get(), &Code);
  return Code;
}

std::vector<TTopWindow> TSaverProcess::Windows(bool VisibleOnly) const {
  std::vector<TTopWindow> Found;
  TEnumState State{ProcessId, VisibleOnly, &Found};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&State));
  return Found;
}

std::optional<TMessageBox> TSaverProcess::WaitForMessageBox(DWORD TimeoutMs) const {
  const DWORD Start = GetTickCount();
  for (;;) {
    for (const TTopWindow& W : Windows())
      if (IsMessageBox(W)) {
        char Text[4096] = "";
        GetDlgItemTextA(W.Window, 0xFFFF, Text, sizeof Text);
        return TMessageBox{W.Window, W.Caption, Text, W.Owner};
      }
    if (GetTickCount() - Start >= TimeoutMs || !Running()) return std::nullopt;
    Pump(20);
  }
}

std::optional<TTopWindow> TSaverProcess::WaitForWindow(DWORD TimeoutMs) const {
  const DWORD Start = GetTickCount();
  for (;;) {
    for (const TTopWindow& W : Windows())
      if (!IsMessageBox(W)) return W;
    if (GetTickCount() - Start >= TimeoutMs || !Running()) return std::nullopt;
    Pump(20);
  }
}

void TSaverProcess::Kill() {
  if (Running()) {
    TerminateProcess(Process.Get(), 99);
    WaitForSingleObject(Process.Get(), 5000);
  }
}
