#include "platform/Form.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/Application.h"
#include "platform/Controls.h"
#include "platform/WideText.h"

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

}  // namespace

template <typename F>
void TForm::Guarded(F&& Handler) {
  App.Guard(Handler);
}

TForm::~TForm() {
  if (Window && IsWindow(Window)) {
    SetWindowLongPtrW(Window, GWLP_USERDATA, 0);
    DestroyWindow(Window);
  }
  for (TControl* Control : Controls) Control->Window = nullptr;
}

void TForm::CreateForm(const TFormStyle& Style) {
  HINSTANCE Instance = GetModuleHandleW(nullptr);
  const std::wstring ClassName = Wide(Style.ClassName);
  WNDCLASSW Class{};
  if (!GetClassInfoW(Instance, ClassName.c_str(), &Class)) {
    Class.lpfnWndProc = StaticWindowProc;
    Class.hInstance = Instance;
    Class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    Class.hIcon = LoadIconW(Instance, L"MAINICON");
    Class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(Style.BackgroundSysColor + 1));
    Class.lpszClassName = ClassName.c_str();
    RegisterClassW(&Class);
  }
  DialogKeys = Style.DialogKeys;
  Scaled = Style.Scaled;
  FormDpi = DesignDpi;
  if (Scaled) {
    // The DPI of the monitor the form is meant for: the one its 96-DPI
    // rectangle lies on (the primary one for a centred form).
    const RECT Design = FrameAt(Style, DesignDpi);
    FormDpi = MonitorDpi(MonitorFromRect(&Design, MONITOR_DEFAULTTOPRIMARY));
  }
  RECT Frame = FrameAt(Style, FormDpi);
  HWND Owner = Style.Owner ? Style.Owner : App.Handle();
  CreateWindowExW(Style.ExStyle, ClassName.c_str(), Wide(Style.Caption).c_str(), Style.Style, Frame.left, Frame.top,
                  Frame.right - Frame.left, Frame.bottom - Frame.top, Owner, nullptr, Instance, this);
  if (Scaled && Window) {
    // Scaled, the window may have reached onto a monitor of another DPI:
    // Windows tells which one it is on. No control exists yet.
    if (const int Actual = WindowDpi(Window); Actual != FormDpi) {
      FormDpi = Actual;
      Frame = FrameAt(Style, FormDpi);
      SetWindowPos(Window, nullptr, Frame.left, Frame.top, Frame.right - Frame.left, Frame.bottom - Frame.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  for (TTimer* Timer : Timers) Timer->Update();
  Guarded([this] { CreateControls(); });
  Guarded([this] { FormCreate(); });
}

RECT TForm::FrameAt(const TFormStyle& Style, int Dpi) const {
  auto Length = [&Style, Dpi](int Design) { return Style.Scaled ? ScaleToDpi(Design, Dpi) : Design; };
  int Left = Length(Style.Left), Top = Length(Style.Top), Width = Length(Style.Width), Height = Length(Style.Height);
  if (Style.ClientWidth > 0) {
    RECT Frame{0, 0, Length(Style.ClientWidth), Length(Style.ClientHeight)};
    if (Style.Scaled)
      AdjustFrameForDpi(Frame, Style.Style, Style.ExStyle, Dpi);
    else
      AdjustWindowRectEx(&Frame, Style.Style, FALSE, Style.ExStyle);
    Width = Frame.right - Frame.left;
    Height = Frame.bottom - Frame.top;
  }
  if (Style.Centered) {
    Left = (GetSystemMetrics(SM_CXSCREEN) - Width) / 2;
    Top = (GetSystemMetrics(SM_CYSCREEN) - Height) / 2;
  }
  if (Style.Scaled && Dpi != DesignDpi) {
    // Grown with the DPI, a form placed for a 96-DPI screen may reach past
    // its monitor: it is moved back onto the monitor's work area, as far as
    // it fits there.
    const RECT Wanted{Left, Top, Left + Width, Top + Height};
    MONITORINFO Monitor{};
    Monitor.cbSize = sizeof Monitor;
    if (GetMonitorInfoW(MonitorFromRect(&Wanted, MONITOR_DEFAULTTONEAREST), &Monitor)) {
      Left = std::max<int>(std::min<int>(Left, Monitor.rcWork.right - Width), Monitor.rcWork.left);
      Top = std::max<int>(std::min<int>(Top, Monitor.rcWork.bottom - Height), Monitor.rcWork.top);
    }
  }
  return RECT{Left, Top, Left + Width, Top + Height};
}

void TForm::ChangeDpi(int NewDpi, const RECT& Suggested) {
  FormDpi = NewDpi;
  SetWindowPos(Window, nullptr, Suggested.left, Suggested.top, Suggested.right - Suggested.left,
               Suggested.bottom - Suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  // In the order of creation: a container is placed before what it holds.
  for (TControl* Control : Controls) Control->ApplyDpi();
  Guarded([this] { FormDpiChanged(); });
  RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT CALLBACK TForm::StaticWindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == WM_NCCREATE) {
    auto* Form = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTW*>(LParam)->lpCreateParams);
    Form->Window = Window;
    SetWindowLongPtrW(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Form));
  }
  auto* Form = reinterpret_cast<TForm*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
  if (!Form) return DefWindowProcW(Window, Message, WParam, LParam);
  // No exception may unwind into the system's frames: on 64-bit Windows it
  // would be swallowed there or end the process.
  try {
    return Form->Dispatch(Message, WParam, LParam);
  } catch (...) {
    Form->App.ShowCurrentException();
    return DefWindowProcW(Window, Message, WParam, LParam);
  }
}

LRESULT TForm::Dispatch(UINT Message, WPARAM WParam, LPARAM LParam) {
  switch (Message) {
    case WM_ACTIVATE:
      if (DialogKeys) {
        // A dialog keeps the focused control across deactivation.
        if (LOWORD(WParam) == WA_INACTIVE) {
          HWND Focus = GetFocus();
          if (Focus && IsChild(Window, Focus)) FocusedControl = Focus;
        } else {
          if (!FocusedControl || !IsWindow(FocusedControl) || !IsWindowVisible(FocusedControl))
            FocusedControl = FirstTabStop(Window);
          SetFocus(FocusedControl ? FocusedControl : Window);
          Guarded([this] { FormActivate(); });
        }
        return 0;
      }
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
    case WM_DPICHANGED:
      if (!Scaled) break;
      ChangeDpi(HIWORD(WParam), *reinterpret_cast<const RECT*>(LParam));
      return 0;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: {
      LRESULT Answer = 0;
      if (RouteToControl(Message, WParam, LParam, Answer)) return Answer;
      break;
    }
    case DM_GETDEFID:
      if (DefaultButton) return MAKELRESULT(DefaultButton->Id(), DC_HASDEFID);
      break;
    case WM_NCDESTROY: {
      // Destroyed from outside (by its owner or parent): forget the handle,
      // and the controls' handles, which went with it.
      for (TControl* Control : Controls) Control->Window = nullptr;
      const LRESULT Result = WindowProc(Message, WParam, LParam);
      SetWindowLongPtrW(Window, GWLP_USERDATA, 0);
      Window = nullptr;
      return Result;
    }
    default:
      break;
  }
  return WindowProc(Message, WParam, LParam);
}

TControl* TForm::FindControl(HWND Control) const {
  if (!Control) return nullptr;
  for (TControl* C : Controls)
    if (C->Handle() == Control) return C;
  for (const auto& [Helper, C] : Notifiers)
    if (Helper == Control) return C;
  return nullptr;
}

TControl* TForm::FindControl(int Id) const {
  for (TControl* C : Controls)
    if (C->Handle() && C->Id() == Id) return C;
  return nullptr;
}

bool TForm::RouteToControl(UINT Message, WPARAM WParam, LPARAM LParam, LRESULT& Answer) {
  switch (Message) {
    case WM_COMMAND: {
      const WORD Id = LOWORD(WParam), Code = HIWORD(WParam);
      TControl* Control = FindControl(reinterpret_cast<HWND>(LParam));
      if (!Control && LParam == 0) {
        // The dialog keys: Enter (IDOK) and Escape (IDCANCEL) without a
        // control of that number press the default and the cancel button.
        if (Id == IDOK && DefaultButton)
          Control = DefaultButton;
        else if (Id == IDCANCEL && CancelButton)
          Control = CancelButton;
        else
          Control = FindControl(Id);
      }
      if (!Control) return false;
      Guarded([Control, Code] { Control->Command(Code); });
      Answer = 0;
      return true;
    }
    case WM_NOTIFY: {
      auto* Header = reinterpret_cast<NMHDR*>(LParam);
      TControl* Control = FindControl(Header->hwndFrom);
      if (!Control) return false;
      Answer = 0;
      Guarded([Control, Header, &Answer] { Answer = Control->Notify(*Header); });
      return true;
    }
    case WM_DRAWITEM: {
      const auto* Item = reinterpret_cast<const DRAWITEMSTRUCT*>(LParam);
      TControl* Control = FindControl(Item->hwndItem);
      if (!Control) return false;
      Guarded([Control, Item] { Control->DrawItem(*Item); });
      Answer = TRUE;
      return true;
    }
    default: {  // WM_CTLCOLOR*
      TControl* Control = FindControl(reinterpret_cast<HWND>(LParam));
      HBRUSH Brush = Control ? Control->ControlColor(reinterpret_cast<HDC>(WParam)) : nullptr;
      if (!Brush) return false;
      Answer = reinterpret_cast<LRESULT>(Brush);
      return true;
    }
  }
}

void TForm::RegisterControl(TControl* Control) { Controls.push_back(Control); }

void TForm::UnregisterControl(TControl* Control) {
  Controls.erase(std::remove(Controls.begin(), Controls.end(), Control), Controls.end());
  Notifiers.erase(std::remove_if(Notifiers.begin(), Notifiers.end(), [Control](const auto& N) { return N.second == Control; }),
                  Notifiers.end());
  if (DefaultButton == Control) DefaultButton = nullptr;
  if (CancelButton == Control) CancelButton = nullptr;
}

void TForm::RegisterNotifier(HWND Helper, TControl* Control) { Notifiers.emplace_back(Helper, Control); }

TForm* TForm::FromWindow(HWND Window) {
  if (!Window || GetWindowLongPtrW(Window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&TForm::StaticWindowProc))
    return nullptr;
  return reinterpret_cast<TForm*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
}

bool TForm::IsDialogKey(MSG& Message) {
  if (!DialogKeys || !Window) return false;
  if (Message.message == WM_KEYDOWN && Message.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && PageControl) {
    PageControl->SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
    return true;
  }
  return IsDialogMessageW(Window, &Message) != 0;
}

void TForm::ReportCurrentException() const noexcept {
  App.ShowCurrentException();
}

int TForm::ShowModal() {
  HWND OwnerWindow = GetWindow(Window, GW_OWNER);
  const bool DisableOwner = OwnerWindow && OwnerWindow != App.Handle() &&
                            IsWindowEnabled(OwnerWindow);
  if (DisableOwner) EnableWindow(OwnerWindow, FALSE);
  Result = mrNone;
  Modal = true;
  Show();
  App.RunModal(*this);
  Modal = false;
  // The owner is enabled before this window hides, so that it takes the
  // activation back.
  if (DisableOwner) EnableWindow(OwnerWindow, TRUE);
  if (OwnerWindow) SetActiveWindow(OwnerWindow);
  if (Window) ShowWindow(Window, SW_HIDE);
  return Result == mrNone ? mrCancel : Result;
}

void TForm::SetModalResult(int ModalResult) {
  if (Modal) Result = ModalResult;
}

LRESULT TForm::WindowProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  return DefWindowProcW(Window, Message, WParam, LParam);
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
  if (Modal)
    Result = mrCancel;
  else if (App.MainForm() == this)
    App.Terminate();
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
    SetWindowLongPtrW(Window, GWLP_USERDATA, 0);
    DestroyWindow(Window);
  }
  Window = nullptr;
  for (TControl* Control : Controls) Control->Window = nullptr;  // gone with the form's window
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
