#include "platform/Control.h"

#include "platform/Form.h"
#include "platform/WideText.h"

COLORREF ColorToRGB(TColor Colour) {
  if ((Colour >> 24) == 0xFF) return GetSysColor(static_cast<int>(Colour & 0xFF));
  return Colour & 0x00FFFFFF;
}

HWND FirstTabStop(HWND Parent) {
  for (HWND Child = GetWindow(Parent, GW_CHILD); Child; Child = GetWindow(Child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(Child) || !IsWindowEnabled(Child)) continue;
    if (GetWindowLongPtrW(Child, GWL_STYLE) & WS_TABSTOP) return Child;
    if (GetWindowLongPtrW(Child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)
      if (HWND Inner = FirstTabStop(Child)) return Inner;
  }
  return nullptr;
}

TControl::~TControl() {
  Owner.UnregisterControl(this);
  if (Window && IsWindow(Window)) {
    if (ClassProc) {
      SetWindowLongPtrW(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ClassProc));
      SetWindowLongPtrW(Window, GWLP_USERDATA, 0);
    }
    DestroyWindow(Window);
  }
}

void TControl::CreateControl(const TParent& Parent, int Id, const char* ClassName, const std::string& Text,
                             DWORD Style, DWORD ExStyle, int Left, int Top, int Width, int Height) {
  Design = TDesignBounds{Parent.X + Left, Parent.Y + Top, Width, Height};
  const RECT Bounds = ScaledBounds();
  Window = CreateWindowExW(ExStyle, Wide(ClassName).c_str(), Wide(Text).c_str(), Style | WS_CHILD | WS_VISIBLE,
                           Bounds.left, Bounds.top, Bounds.right - Bounds.left, Bounds.bottom - Bounds.top,
                           Parent.Window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id)), GetModuleHandleW(nullptr),
                           nullptr);
  SendMessageW(Window, WM_SETFONT, reinterpret_cast<WPARAM>(FontHere()), FALSE);
  Owner.RegisterControl(this);
}

int TControl::Dpi() const { return Owner.Dpi(); }

RECT TControl::ScaledBounds() const {
  const int Left = Scale(Design.Left), Top = Scale(Design.Top);
  return RECT{Left, Top, Left + Scale(Design.Width), Top + Scale(Design.Height)};
}

void TControl::ApplyDpi() {
  if (!PlacedByContainer) {
    const RECT Bounds = ScaledBounds();
    SetBounds(Bounds.left, Bounds.top, Bounds.right - Bounds.left, Bounds.bottom - Bounds.top);
  }
  SendMessageW(Window, WM_SETFONT, reinterpret_cast<WPARAM>(FontHere()), FALSE);
}

void TControl::Subclass() {
  SetWindowLongPtrW(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ClassProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TControl::StaticControlProc)));
}

LRESULT CALLBACK TControl::StaticControlProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
  auto* Control = reinterpret_cast<TControl*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
  if (!Control) return DefWindowProcW(Window, Message, WParam, LParam);
  // No exception may unwind into the system's frames.
  try {
    return Control->ControlProc(Message, WParam, LParam);
  } catch (...) {
    Control->Owner.ReportCurrentException();
    return CallWindowProcW(Control->ClassProc, Window, Message, WParam, LParam);
  }
}

LRESULT TControl::ControlProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  return CallWindowProcW(ClassProc, Window, Message, WParam, LParam);
}

void TControl::SetBounds(int Left, int Top, int Width, int Height) {
  SetWindowPos(Window, nullptr, Left, Top, Width, Height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int TControl::Width() const {
  RECT R;
  GetWindowRect(Window, &R);
  return R.right - R.left;
}

int TControl::Height() const {
  RECT R;
  GetWindowRect(Window, &R);
  return R.bottom - R.top;
}

std::string TControl::Text() const { return WindowText(Window); }
void TControl::SetText(const std::string& Text) { SetWindowTextUtf8(Window, Text); }

void TControl::Repaint() {
  InvalidateRect(Window, nullptr, TRUE);
  UpdateWindow(Window);
}

void TControl::SetColor(TColor Colour) {
  BrushColour = Colour;
  Brush = TGdiObject<HBRUSH>(CreateSolidBrush(ColorToRGB(Colour)));
  InvalidateRect(Window, nullptr, TRUE);
}

HBRUSH TControl::ControlColor(HDC DC) {
  if (!Brush) return nullptr;
  SetBkColor(DC, ColorToRGB(BrushColour));
  return Brush.Get();
}
