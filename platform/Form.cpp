#include "platform/Form.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/Application.h"

namespace {

TShiftState ShiftFromKeyboard() {
  TShiftState S;
  S.Shift = GetKeyState(VK_SHIFT) < 0;
  S.Ctrl = GetKeyState(VK_CONTROL) < 0;
  S.Alt = GetKeyState(VK_MENU) < 0;
  return S;
}

TShiftState ShiftFromMouse(WPARAM Keys) {
  TShiftState S = ShiftFromKeyboard();
  S.Left = (Keys & MK_LBUTTON) != 0;
  S.Right = (Keys & MK_RBUTTON) != 0;
  S.Middle = (Keys & MK_MBUTTON) != 0;
  return S;
}

// Runs a handler; an error it raises is shown by the application, or passed
// on to the window procedure's barrier when there is no application.
template <typename F>
void Guarded(F&& Handler) {
  if (Application)
    Application->Guard(Handler);
  else
    Handler();
}

}  // namespace

TForm::~TForm() {
  if (Window && IsWindow(Window)) {
    SetWindowLongPtrA(Window, GWLP_USERDATA, 0);
    DestroyWindow(Window);
  }
}

void TForm::CreateForm(const TFormStyle& Style) {
  HINSTANCE Instance = GetModuleHandleA(nullptr);
  WNDCLASSA Class{};
  if (!GetClassInfoA(Instance, Style.ClassName, &Class)) {
    Class.lpfnWndProc = StaticWindowProc;
    Class.hInstance = Instance;
    Class.hCursor = LoadCursor(nullptr, IDC_ARROW);
    Class.hIcon = LoadIconA(Instance, "MAINICON");
    Class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(Style.BackgroundSysColor + 1));
    Class.lpszClassName = Style.ClassName;
    RegisterClassA(&Class);
  }
  CreateWindowExA(Style.ExStyle, Style.ClassName, Style.Caption, Style.Style, Style.Left, Style.Top, Style.Width,
                  Style.Height, Application ? Application->Handle() : nullptr, nullptr, Instance, this);
  for (TTimer* Timer : Timers) Timer->Update();
  Guarded([this] { FormCreate(); });
}

LRESULT CALLBACK TForm::StaticWindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == WM_NCCREATE) {
    auto* Form = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTA*>(LParam)->lpCreateParams);
    Form->Window = Window;
    SetWindowLongPtrA(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Form));
  }
  auto* Form = reinterpret_cast<TForm*>(GetWindowLongPtrA(Window, GWLP_USERDATA));
  if (!Form) return DefWindowProcA(Window, Message, WParam, LParam);
  // No exception may unwind into the system's frames: on 64-bit Windows it
  // would be swallowed there or end the process.
  try {
    return Form->Dispatch(Message, WParam, LParam);
  } catch (...) {
    if (Application) Application->ShowCurrentException();
    return DefWindowProcA(Window, Message, WParam, LParam);
  }
}

LRESULT TForm::Dispatch(UINT Message, WPARAM WParam, LPARAM LParam) {
  switch (Message) {
    case WM_ACTIVATE:
      if (LOWORD(WParam) != WA_INACTIVE) Guarded([this] { FormActivate(); });
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      const WORD Key = static_cast<WORD>(WParam);
      Guarded([this, Key] { FormKeyDown(Key, ShiftFromKeyboard()); });
      break;
    }
    case WM_MOUSEMOVE: {
      const int X = GET_X_LPARAM(LParam), Y = GET_Y_LPARAM(LParam);
      Guarded([this, WParam, X, Y] { FormMouseMove(ShiftFromMouse(WParam), X, Y); });
      return 0;
    }
    case WM_TIMER:
      for (TTimer* Timer : Timers)
        if (Timer->Id == WParam) {
          if (Timer->OnTimer) Guarded([this, Timer] { (this->*(Timer->OnTimer))(); });
          return 0;
        }
      break;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_NCDESTROY: {
      // Destroyed from outside (by its owner or parent): forget the handle.
      const LRESULT Result = WindowProc(Message, WParam, LParam);
      SetWindowLongPtrA(Window, GWLP_USERDATA, 0);
      Window = nullptr;
      return Result;
    }
    default:
      break;
  }
  return WindowProc(Message, WParam, LParam);
}

LRESULT TForm::WindowProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  return DefWindowProcA(Window, Message, WParam, LParam);
}

void TForm::Show() {
  if (!Window) return;
  ShowWindow(Window, SW_SHOW);
  SetForegroundWindow(Window);
  SetActiveWindow(Window);
  UpdateWindow(Window);
}

void TForm::Close() {
  bool CanClose = true;
  bool Failed = true;
  Guarded([this, &CanClose, &Failed] {
    FormCloseQuery(CanClose);
    Failed = false;
  });
  if (Failed || !CanClose) return;
  if (Application && Application->MainForm() == this)
    Application->Terminate();
  else if (Window)
    ShowWindow(Window, SW_HIDE);
}

void TForm::Destroy() {
  if (Destroyed) return;
  Destroyed = true;
  Guarded([this] { FormDestroy(); });
  for (TTimer* Timer : Timers)
    if (Window) KillTimer(Window, Timer->Id);
  if (Window && IsWindow(Window)) {
    SetWindowLongPtrA(Window, GWLP_USERDATA, 0);
    DestroyWindow(Window);
  }
  Window = nullptr;
}

void TForm::SetBounds(int Left, int Top, int Width, int Height) {
  if (Window) SetWindowPos(Window, nullptr, Left, Top, Width, Height, SWP_NOZORDER | SWP_NOACTIVATE);
}

TTimer::TTimer(TForm& Owner) : Form(Owner) {
  static UINT_PTR NextId = 1;
  Id = NextId++;
  Form.Timers.push_back(this);
}

TTimer::~TTimer() {
  if (Form.Window) KillTimer(Form.Window, Id);
  Form.Timers.erase(std::remove(Form.Timers.begin(), Form.Timers.end(), this), Form.Timers.end());
}

void TTimer::SetInterval(UINT Milliseconds) {
  IntervalMs = Milliseconds;
  Update();
}

void TTimer::SetEnabled(bool Enabled) {
  IsEnabled = Enabled;
  Update();
}

void TTimer::Update() {
  if (!Form.Window) return;
  KillTimer(Form.Window, Id);
  if (IsEnabled && IntervalMs > 0) SetTimer(Form.Window, Id, IntervalMs, nullptr);
}
