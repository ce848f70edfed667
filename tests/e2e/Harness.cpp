#include "e2e/Harness.h"

#include <cstdio>
#include <map>

#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/WideText.h"
#include "support/TestEnvironment.h"
#include "support/TestPictures.h"

namespace {

std::string ClassOf(HWND Window) {
  char Name[256] = "";
  GetClassNameA(Window, Name, sizeof Name);
  return Name;
}

std::string TextOf(HWND Window) { return WindowText(Window); }

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
  try {
    State->Found->push_back({Window, ClassOf(Window), TextOf(Window), GetWindow(Window, GW_OWNER), Visible});
  } catch (...) {
    return FALSE;  // out of memory: no exception may cross the system's frames
  }
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

namespace {

// Handles every message waiting for this thread (answers to sent messages
// included), then waits up to Ms for the next one to come.
void HandleMessagesAndWait(DWORD Ms) {
  MSG Message;
  while (PeekMessageA(&Message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&Message);
    DispatchMessageA(&Message);
  }
  if (Ms) MsgWaitForMultipleObjects(0, nullptr, FALSE, Ms, QS_ALLINPUT);
}

}  // namespace

void Pump(DWORD Milliseconds) {
  const DWORD Start = GetTickCount();
  do HandleMessagesAndWait(10);
  while (GetTickCount() - Start < Milliseconds);
}

bool WaitUntil(const std::function<bool()>& Done, DWORD TimeoutMs) {
  const DWORD Start = GetTickCount();
  for (;;) {
    HandleMessagesAndWait(0);
    if (Done()) return true;
    if (GetTickCount() - Start >= TimeoutMs) return false;
    HandleMessagesAndWait(10);
  }
}

bool HoldsFor(const std::function<bool()>& Holds, DWORD Ms) {
  const DWORD Start = GetTickCount();
  do {
    if (!Holds()) return false;
    Pump(50);
  } while (GetTickCount() - Start < Ms);
  return Holds();
}

namespace {

// The messages sent as TSentMessage and not answered yet, by their number,
// with their window. Only this thread uses it: the answers come as callbacks
// while it handles its messages.
std::map<ULONG_PTR, HWND>& Unanswered() {
  static std::map<ULONG_PTR, HWND> Messages;
  return Messages;
}

void CALLBACK Answered(HWND, UINT, ULONG_PTR Id, LRESULT) { Unanswered().erase(Id); }

}  // namespace

TSentMessage::TSentMessage(HWND Target, UINT Message, WPARAM WParam, LPARAM LParam) : Window(Target) {
  static ULONG_PTR Last = 0;
  Id = ++Last;
  Unanswered()[Id] = Target;
  if (!SendMessageCallbackA(Target, Message, WParam, LParam, Answered, Id)) Unanswered().erase(Id);
}

bool TSentMessage::Handled() const { return !Unanswered().count(Id) || !IsWindow(Window); }

bool TSentMessage::WaitHandled(DWORD TimeoutMs) const {
  return WaitUntil([this] { return Handled(); }, TimeoutMs);
}

bool TSentMessage::WaitHandledOrModal(HWND Owner, DWORD TimeoutMs) const {
  return WaitUntil([this, Owner] { return Handled() || !IsWindowEnabled(Owner); }, TimeoutMs);
}

bool WaitForSentMessages(DWORD TimeoutMs) {
  return WaitUntil(
      [] {
        // A window gone (its process ended, say) answers no more.
        std::map<ULONG_PTR, HWND>& Messages = Unanswered();
        for (auto M = Messages.begin(); M != Messages.end();)
          M = IsWindow(M->second) ? std::next(M) : Messages.erase(M);
        return Messages.empty();
      },
      TimeoutMs);
}

TSaverProcess::TSaverProcess(const std::string& Arguments, TScreenSize Screen)
    : TSaverProcess(TCommandLine{"\"" + ScreenSaverPath() + "\" " + Arguments}, Screen) {}

TSaverProcess::TSaverProcess(const TCommandLine& Command, TScreenSize Screen) {
  std::wstring CommandLine = Wide(Command.Text);
  Desktop = DesktopName(Screen);
  std::wstring WideDesktop = Wide(Desktop);
  STARTUPINFOW Startup{};
  Startup.cb = sizeof Startup;
  Startup.lpDesktop = WideDesktop.data();
  PROCESS_INFORMATION Info{};
  if (CreateProcessW(nullptr, CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Startup, &Info)) {
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
  if (!WaitUntil([this] { return !Running(); }, TimeoutMs)) return std::nullopt;
  DWORD Code = 0;
  GetExitCodeProcess(Process.Get(), &Code);
  return Code;
}

std::vector<TTopWindow> TSaverProcess::Windows(bool VisibleOnly) const {
  std::vector<TTopWindow> Found;
  TEnumState State{ProcessId, VisibleOnly, &Found};
  HDESK Handle = OpenDesktopA(Desktop.c_str(), 0, FALSE, DESKTOP_ENUMERATE | DESKTOP_READOBJECTS);
  if (Handle) {
    EnumDesktopWindows(Handle, CollectWindow, reinterpret_cast<LPARAM>(&State));
    CloseDesktop(Handle);
  }
  return Found;
}

std::optional<TMessageBox> TSaverProcess::WaitForMessageBox(DWORD TimeoutMs) const {
  std::optional<TMessageBox> Box;
  WaitUntil(
      [&] {
        for (const TTopWindow& W : Windows())
          if (IsMessageBox(W)) {
            wchar_t Text[4096] = L"";
            GetDlgItemTextW(W.Window, 0xFFFF, Text, 4096);
            Box = TMessageBox{W.Window, W.Caption, Utf8(Text), W.Owner};
            return true;
          }
        return !Running();
      },
      TimeoutMs);
  return Box;
}

std::optional<TTopWindow> TSaverProcess::WaitForWindow(DWORD TimeoutMs) const {
  return WaitForWindowOfClass(*this, "", TimeoutMs);
}

void TSaverProcess::Kill() {
  if (Running()) {
    TerminateProcess(Process.Get(), 99);
    WaitForSingleObject(Process.Get(), 5000);
  }
}

TScreenSize TestScreen() {
  char Text[64] = "";
  TScreenSize Screen;
  const DWORD Length = GetEnvironmentVariableA("PICTARINE_TEST_SCREEN", Text, sizeof Text);
  int Width = 0, Height = 0;
  if (Length > 0 && Length < sizeof Text && std::sscanf(Text, "%dx%d", &Width, &Height) == 2 && Width > 0 &&
      Height > 0)
    Screen = TScreenSize{Width, Height};
  return Screen;
}

std::string DesktopName(TScreenSize Screen) {
  if (Screen.Width == 0) return "Default";
  const std::string Size = std::to_string(Screen.Width) + "x" + std::to_string(Screen.Height);
  TRegistryKey::OpenOrCreate("Software\\Wine\\Explorer\\Desktops").WriteString("Pictarine" + Size, Size);
  return "Pictarine" + Size;
}

bool JoinTestDesktop(TScreenSize Screen) {
  HDESK Desktop = CreateDesktopA(DesktopName(Screen).c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  return Desktop && SetThreadDesktop(Desktop);
}

TPixelBuffer CaptureScreen() {
  const int X = GetSystemMetrics(SM_XVIRTUALSCREEN), Y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int W = GetSystemMetrics(SM_CXVIRTUALSCREEN), H = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  TPixelBuffer Shot(W, H);
  HDC Screen = GetDC(nullptr);
  HDC Memory = CreateCompatibleDC(Screen);
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof Info.bmiHeader;
  Info.bmiHeader.biWidth = W;
  Info.bmiHeader.biHeight = -H;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  void* Bits = nullptr;
  HBITMAP Section = CreateDIBSection(Screen, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
  HGDIOBJ Old = SelectObject(Memory, Section);
  BitBlt(Memory, 0, 0, W, H, Screen, X, Y, SRCCOPY);
  GdiFlush();
  const auto* Pixels = static_cast<const std::uint32_t*>(Bits);
  for (std::size_t I = 0; I < Shot.Data.size(); ++I) Shot.Data[I] = Pixels[I] & 0xFFFFFF;
  SelectObject(Memory, Old);
  DeleteObject(Section);
  DeleteDC(Memory);
  ReleaseDC(nullptr, Screen);
  return Shot;
}

std::string ScreenMismatch(const TPixelBuffer& Screen, const std::vector<TScreenPoint>& Points) {
  std::string Mismatch;
  for (const TScreenPoint& P : Points) {
    const std::uint32_t Seen = Screen.At(P.X, P.Y);
    if (Seen == P.Pixel) continue;
    char Text[80];
    std::snprintf(Text, sizeof Text, "at %d,%d %06X, not %06X; ", P.X, P.Y, static_cast<unsigned>(Seen),
                  static_cast<unsigned>(P.Pixel));
    Mismatch += Text;
  }
  return Mismatch;
}

std::string WaitForScreen(const std::vector<TScreenPoint>& Points, DWORD TimeoutMs, TPixelBuffer* Shot) {
  std::string Mismatch;
  TPixelBuffer Screen;
  WaitUntil([&] { return (Mismatch = ScreenMismatch(Screen = CaptureScreen(), Points)).empty(); }, TimeoutMs);
  if (Shot) *Shot = std::move(Screen);
  return Mismatch;
}

void PressKey(WORD VirtualKey) {
  INPUT Input[2]{};
  Input[0].type = INPUT_KEYBOARD;
  Input[0].ki.wVk = VirtualKey;
  Input[1] = Input[0];
  Input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, Input, sizeof(INPUT));
}

void MoveMouse(int X, int Y) {
  INPUT Input{};
  Input.type = INPUT_MOUSE;
  Input.mi.dx = (X * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN);
  Input.mi.dy = (Y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN);
  Input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &Input, sizeof(INPUT));
}

void PressKeys(std::initializer_list<WORD> VirtualKeys) {
  std::vector<INPUT> Input;
  for (WORD Key : VirtualKeys) {
    INPUT Down{};
    Down.type = INPUT_KEYBOARD;
    Down.ki.wVk = Key;
    Input.push_back(Down);
  }
  for (auto Key = std::rbegin(VirtualKeys); Key != std::rend(VirtualKeys); ++Key) {
    INPUT Up{};
    Up.type = INPUT_KEYBOARD;
    Up.ki.wVk = *Key;
    Up.ki.dwFlags = KEYEVENTF_KEYUP;
    Input.push_back(Up);
  }
  SendInput(static_cast<UINT>(Input.size()), Input.data(), sizeof(INPUT));
}

namespace {

struct TFindState {
  int Id;
  HWND Found;
};

BOOL CALLBACK MatchControl(HWND Window, LPARAM Param) {
  auto* State = reinterpret_cast<TFindState*>(Param);
  if (GetDlgCtrlID(Window) != State->Id) return TRUE;
  State->Found = Window;
  return FALSE;
}

}  // namespace

HWND FindControl(HWND Root, int Id) {
  TFindState State{Id, nullptr};
  EnumChildWindows(Root, MatchControl, reinterpret_cast<LPARAM>(&State));
  return State.Found;
}

std::string ControlText(HWND Control) {
  wchar_t Text[4096] = L"";
  DWORD_PTR Length = 0;
  if (!SendMessageTimeoutW(Control, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(Text), SMTO_NORMAL, 5000, &Length))
    return "<no answer>";
  return Utf8(std::wstring_view(Text, Length));
}

void SetControlText(HWND Control, const std::string& Text) {
  DWORD_PTR Result = 0;
  SendMessageTimeoutW(Control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(Text).c_str()), SMTO_NORMAL, 5000,
                      &Result);
}

void ClickButton(HWND Button) { PostMessageA(Button, BM_CLICK, 0, 0); }

TSentMessage SendClick(HWND Button) { return TSentMessage(Button, BM_CLICK); }

bool WaitForReady(HWND Window, DWORD TimeoutMs) {
  const DWORD Start = GetTickCount();
  if (!WaitUntil([Window] { return IsWindowVisible(Window) && IsWindowEnabled(Window); }, TimeoutMs)) return false;
  const DWORD Spent = GetTickCount() - Start;
  DWORD_PTR Ignored = 0;
  return SendMessageTimeoutA(Window, WM_NULL, 0, 0, SMTO_NORMAL, TimeoutMs > Spent ? TimeoutMs - Spent : 1, &Ignored) != 0;
}

bool BringToFront(HWND Window, DWORD TimeoutMs) {
  SetForegroundWindow(Window);
  return WaitUntil(
      [Window] {
        const HWND Focus = FocusOf(Window);
        return GetForegroundWindow() == Window && (Focus == Window || IsChild(Window, Focus));
      },
      TimeoutMs);
}

bool IsChecked(HWND Button) {
  DWORD_PTR State = 0;
  SendMessageTimeoutA(Button, BM_GETCHECK, 0, 0, SMTO_NORMAL, 5000, &State);
  return State == BST_CHECKED;
}

HWND FocusOf(HWND Window) {
  GUITHREADINFO Info{};
  Info.cbSize = sizeof Info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(Window, nullptr), &Info)) return nullptr;
  return Info.hwndFocus;
}

std::optional<TTopWindow> WaitForWindowOfClass(const TSaverProcess& Process, const std::string& ClassName,
                                               DWORD TimeoutMs) {
  std::optional<TTopWindow> Found;
  WaitUntil(
      [&] {
        for (const TTopWindow& W : Process.Windows())
          if (ClassName.empty() ? !IsMessageBox(W) : W.ClassName == ClassName) {
            Found = W;
            return true;
          }
        return !Process.Running();
      },
      TimeoutMs);
  return Found;
}

TPixelBuffer CaptureWindow(HWND Window) {
  const TPixelBuffer Screen = CaptureScreen();
  RECT R;
  GetWindowRect(Window, &R);
  const int Left = std::max<int>(R.left, 0), Top = std::max<int>(R.top, 0);
  const int Right = std::min<int>(R.right, Screen.Width), Bottom = std::min<int>(R.bottom, Screen.Height);
  TPixelBuffer Shot(std::max(Right - Left, 1), std::max(Bottom - Top, 1));
  for (int Y = Top; Y < Bottom; ++Y)
    for (int X = Left; X < Right; ++X) Shot.Data[static_cast<std::size_t>(Y - Top) * Shot.Width + (X - Left)] = Screen.At(X, Y);
  return Shot;
}

void SaveScreenshot(TPixelBuffer Shot, const std::string& Name) {
  // The test programs live in build/win32/bin or build/win64/bin.
  const std::string Bin = ProgramFolder();
  const std::string Build = ExtractFileDir(ExtractFileDir(ExtractFileDir(Bin)));
  const std::string Folder = Build + "\\test-screens";
  ForceDirectories(Folder);
  WriteBmpFile(Folder + "\\" + Name + (sizeof(void*) == 8 ? "-win64" : "-win32") + ".bmp", Shot);
}

void SaveScreenshot(HWND Window, const std::string& Name) {
  // Taken once two captures in a row agree, so that it shows no half-drawn
  // window; a window that never settles is saved as it was last seen.
  TPixelBuffer Shot = CaptureWindow(Window);
  WaitUntil(
      [&] {
        TPixelBuffer Next = CaptureWindow(Window);
        const bool Same = Next.Width == Shot.Width && Next.Data == Shot.Data;
        Shot = std::move(Next);
        return Same;
      },
      2000);
  SaveScreenshot(std::move(Shot), Name);
}
