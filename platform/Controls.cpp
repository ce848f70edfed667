#include "platform/Controls.h"

#include <windowsx.h>

#include "platform/Form.h"
#include "platform/IntegerText.h"
#include "platform/TextCompare.h"

namespace {

const char PaintedClass[] = "TPictarinePainted";

int ScreenDpi() {
  TWindowDC Screen(nullptr);
  const int Dpi = GetDeviceCaps(Screen.Get(), LOGPIXELSY);
  return Dpi > 0 ? Dpi : 96;
}

TGdiObject<HFONT> MakeFont(const char* Face, int Height, bool Bold) {
  return TGdiObject<HFONT>(CreateFontA(-Height, 0, 0, 0, Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                       ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                       DEFAULT_PITCH | FF_DONTCARE, Face));
}

void RegisterPaintedClass() {
  HINSTANCE Instance = GetModuleHandleA(nullptr);
  WNDCLASSA Class{};
  if (GetClassInfoA(Instance, PaintedClass, &Class)) return;
  Class.style = CS_HREDRAW | CS_VREDRAW;
  Class.lpfnWndProc = DefWindowProcA;
  Class.hInstance = Instance;
  Class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  Class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  Class.lpszClassName = PaintedClass;
  RegisterClassA(&Class);
}

// The glyphs are drawn, not loaded: a few strokes in a 16 x 16 cell.
void DrawGlyph(HDC DC, TGlyph Glyph, int X, int Y, bool Enabled) {
  auto Pen = [&](COLORREF Colour, int Width) {
    return TGdiObject<HPEN>(CreatePen(PS_SOLID, Width, Enabled ? Colour : GetSysColor(COLOR_GRAYTEXT)));
  };
  auto Line = [&](int X1, int Y1, int X2, int Y2) {
    MoveToEx(DC, X + X1, Y + Y1, nullptr);
    LineTo(DC, X + X2, Y + Y2);
  };
  switch (Glyph) {
    case TGlyph::None:
      return;
    case TGlyph::Ok: {
      TGdiObject<HPEN> P = Pen(RGB(0, 128, 0), 2);
      TSelection S(DC, P.Get());
      Line(2, 8, 6, 12);
      Line(6, 12, 14, 3);
      return;
    }
    case TGlyph::Cancel:
    case TGlyph::Delete: {
      TGdiObject<HPEN> P = Pen(RGB(192, 0, 0), 2);
      TSelection S(DC, P.Get());
      Line(3, 3, 13, 13);
      Line(13, 3, 3, 13);
      return;
    }
    case TGlyph::Add: {
      TGdiObject<HPEN> P = Pen(RGB(0, 128, 0), 2);
      TSelection S(DC, P.Get());
      Line(8, 2, 8, 14);
      Line(2, 8, 14, 8);
      return;
    }
    case TGlyph::Info: {
      TGdiObject<HPEN> P = Pen(RGB(0, 0, 160), 2);
      TSelection S(DC, P.Get());
      Line(8, 3, 8, 5);
      Line(8, 7, 8, 14);
      return;
    }
    case TGlyph::View: {
      TGdiObject<HPEN> P = Pen(RGB(0, 0, 160), 1);
      TSelection S(DC, P.Get());
      TSelection NoFill(DC, GetStockObject(NULL_BRUSH));
      Ellipse(DC, X + 1, Y + 4, X + 15, Y + 12);
      Ellipse(DC, X + 6, Y + 6, X + 10, Y + 10);
      return;
    }
    case TGlyph::Folder:
    case TGlyph::Load: {
      TGdiObject<HPEN> P = Pen(RGB(128, 96, 0), 1);
      TGdiObject<HBRUSH> B(CreateSolidBrush(Enabled ? RGB(240, 200, 80) : GetSysColor(COLOR_BTNFACE)));
      TSelection S(DC, P.Get());
      TSelection F(DC, B.Get());
      Rectangle(DC, X + 1, Y + 4, X + 15, Y + 14);
      Rectangle(DC, X + 1, Y + 2, X + 7, Y + 5);
      return;
    }
  }
}

}  // namespace

COLORREF ColorToRGB(TColor Colour) {
  if ((Colour >> 24) == 0xFF) return GetSysColor(static_cast<int>(Colour & 0xFF));
  return Colour & 0x00FFFFFF;
}

HWND FirstTabStop(HWND Parent) {
  for (HWND Child = GetWindow(Parent, GW_CHILD); Child; Child = GetWindow(Child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(Child) || !IsWindowEnabled(Child)) continue;
    if (GetWindowLongPtrA(Child, GWL_STYLE) & WS_TABSTOP) return Child;
    if (GetWindowLongPtrA(Child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)
      if (HWND Inner = FirstTabStop(Child)) return Inner;
  }
  return nullptr;
}

int PointsToHeight(int Points) { return MulDiv(Points, ScreenDpi(), 72); }

HFONT DialogFont() {
  static TGdiObject<HFONT> Font = MakeFont("MS Sans Serif", PointsToHeight(8), false);
  return Font.Get();
}

// ---- TControl

TControl::~TControl() {
  Owner.UnregisterControl(this);
  if (Window && IsWindow(Window)) {
    if (ClassProc) {
      SetWindowLongPtrA(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ClassProc));
      SetWindowLongPtrA(Window, GWLP_USERDATA, 0);
    }
    DestroyWindow(Window);
  }
}

void TControl::CreateControl(const TParent& Parent, int Id, const char* ClassName, const std::string& Text,
                             DWORD Style, DWORD ExStyle, int Left, int Top, int Width, int Height) {
  Window = CreateWindowExA(ExStyle, ClassName, Text.c_str(), Style | WS_CHILD | WS_VISIBLE,
                           Parent.X + Left, Parent.Y + Top, Width, Height, Parent.Window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id)), GetModuleHandleA(nullptr), nullptr);
  SendMessageA(Window, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
  Owner.RegisterControl(this);
}

void TControl::Subclass() {
  SetWindowLongPtrA(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ClassProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TControl::StaticControlProc)));
}

LRESULT CALLBACK TControl::StaticControlProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
  auto* Control = reinterpret_cast<TControl*>(GetWindowLongPtrA(Window, GWLP_USERDATA));
  if (!Control) return DefWindowProcA(Window, Message, WParam, LParam);
  // No exception may unwind into the system's frames.
  try {
    return Control->ControlProc(Message, WParam, LParam);
  } catch (...) {
    TForm::ReportCurrentException();
    return CallWindowProcA(Control->ClassProc, Window, Message, WParam, LParam);
  }
}

LRESULT TControl::ControlProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  return CallWindowProcA(ClassProc, Window, Message, WParam, LParam);
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

std::string TControl::Text() const {
  std::string Result(static_cast<std::size_t>(GetWindowTextLengthA(Window)) + 1, '\0');
  Result.resize(static_cast<std::size_t>(GetWindowTextA(Window, Result.data(), static_cast<int>(Result.size()))));
  return Result;
}

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

// ---- TLabel

void TLabel::Create(const TParent& Parent, int Id, int Left, int Top, const std::string& Text) {
  CreateControl(Parent, Id, "STATIC", Text, SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0, Left, Top, 1, 1);
  Subclass();
  AutoSize();
}

void TLabel::SetText(const std::string& Text) {
  TControl::SetText(Text);
  AutoSize();
}

HFONT TLabel::CurrentFont() const { return OwnFont ? OwnFont.Get() : DialogFont(); }

void TLabel::SetFontHeight(const char* Face, int Height, bool Bold) {
  FontFace = Face;
  FontHeight = Height;
  FontBold = Bold;
  OwnFont = MakeFont(Face, Height, Bold);
  SendMessageA(Window, WM_SETFONT, reinterpret_cast<WPARAM>(OwnFont.Get()), TRUE);
  AutoSize();
}

int TLabel::FontPoints() const { return MulDiv(OwnFont ? FontHeight : PointsToHeight(8), 72, ScreenDpi()); }

int TLabel::TextWidth(const std::string& Text) const {
  TWindowDC DC(Window);
  TSelection Font(DC.Get(), CurrentFont());
  SIZE Size{};
  GetTextExtentPoint32A(DC.Get(), Text.data(), static_cast<int>(Text.size()), &Size);
  return Size.cx;
}

void TLabel::AutoSize() {
  TWindowDC DC(Window);
  TSelection Font(DC.Get(), CurrentFont());
  TEXTMETRICA Metrics{};
  GetTextMetricsA(DC.Get(), &Metrics);
  const std::string T = Text();
  SetWindowPos(Window, nullptr, 0, 0, TextWidth(T), Metrics.tmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HBRUSH TLabel::ControlColor(HDC DC) {
  SetTextColor(DC, ColorToRGB(TextColour));
  SetBkMode(DC, TRANSPARENT);
  return GetSysColorBrush(COLOR_BTNFACE);
}

void TLabel::Command(WORD Code) {
  if (Code == STN_CLICKED) Fire(OnClick);
}

LRESULT TLabel::ControlProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == WM_SETCURSOR && HandCursor) {
    SetCursor(LoadCursor(nullptr, IDC_HAND));
    return TRUE;
  }
  return TControl::ControlProc(Message, WParam, LParam);
}

// ---- TButton

void TButton::Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height,
                     const std::string& Caption, TGlyph G, TKind K) {
  Glyph = G;
  Kind = K;
  CreateControl(Parent, Id, "BUTTON", Caption, BS_OWNERDRAW | WS_TABSTOP, 0, Left, Top, Width, Height);
  if (Kind == bkOk) Owner.SetDefaultButton(this);
  if (Kind == bkCancel) Owner.SetCancelButton(this);
}

void TButton::Click() {
  Fire(OnClick);
  if (Kind == bkOk) Owner.SetModalResult(mrOk);
  if (Kind == bkCancel) Owner.SetModalResult(mrCancel);
}

void TButton::Command(WORD Code) {
  if (Code == BN_CLICKED) Click();
}

void TButton::DrawItem(const DRAWITEMSTRUCT& Item) {
  HDC DC = Item.hDC;
  RECT R = Item.rcItem;
  const bool Pushed = (Item.itemState & ODS_SELECTED) != 0;
  const bool Disabled = (Item.itemState & ODS_DISABLED) != 0;
  if (IsDefault() || (Item.itemState & ODS_FOCUS)) {
    FrameRect(DC, &R, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&R, -1, -1);
  }
  DrawFrameControl(DC, &R, DFC_BUTTON, DFCS_BUTTONPUSH | (Pushed ? DFCS_PUSHED | DFCS_FLAT : 0));
  if (Pushed) {
    FrameRect(DC, &R, GetSysColorBrush(COLOR_BTNSHADOW));
    OffsetRect(&R, 1, 1);
  }
  const std::string Caption = Text();
  TSelection Font(DC, DialogFont());
  SIZE TextSize{};
  GetTextExtentPoint32A(DC, Caption.data(), static_cast<int>(Caption.size()), &TextSize);
  const int GlyphWidth = Glyph == TGlyph::None ? 0 : 16;
  const int Gap = GlyphWidth && !Caption.empty() ? 4 : 0;
  const int Total = GlyphWidth + Gap + TextSize.cx;
  const int X = (R.left + R.right - Total) / 2;
  DrawGlyph(DC, Glyph, X, (R.top + R.bottom - 16) / 2, !Disabled);
  if (!Caption.empty()) {
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, GetSysColor(Disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    RECT TextRect{X + GlyphWidth + Gap, R.top, R.right, R.bottom};
    DrawTextA(DC, Caption.c_str(), -1, &TextRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  }
  if (Item.itemState & ODS_FOCUS) {
    RECT Focus = Item.rcItem;
    InflateRect(&Focus, -4, -4);
    DrawFocusRect(DC, &Focus);
  }
}

// ---- TCheckBox, TRadioButton, TGroupBox, TEdit

void TCheckBox::Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height,
                       const std::string& Caption) {
  CreateControl(Parent, Id, "BUTTON", Caption, BS_AUTOCHECKBOX | WS_TABSTOP, 0, Left, Top, Width, Height);
}

void TCheckBox::SetChecked(bool Checked) {
  if (Checked == this->Checked()) return;
  SendMessageA(Window, BM_SETCHECK, Checked ? BST_CHECKED : BST_UNCHECKED, 0);
  Fire(OnClick);
}

void TCheckBox::Command(WORD Code) {
  if (Code == BN_CLICKED) Fire(OnClick);
}

void TRadioButton::Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height,
                          const std::string& Caption, bool FirstOfGroup) {
  CreateControl(Parent, Id, "BUTTON", Caption, BS_AUTORADIOBUTTON | WS_TABSTOP | (FirstOfGroup ? WS_GROUP : 0), 0,
                Left, Top, Width, Height);
}

void TGroupBox::Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height,
                       const std::string& Caption) {
  CreateControl(Parent, Id, "BUTTON", Caption, BS_GROUPBOX | WS_GROUP, 0, Left, Top, Width, Height);
  Area = Parent.At(Left, Top);
}

void TEdit::Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height) {
  CreateControl(Parent, Id, "EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE, Left, Top, Width,
                Height);
}

// ---- TSpinEdit

void TSpinEdit::Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height, std::int32_t Min,
                       std::int32_t Max, std::int32_t StepBy) {
  Range = TSpinRange{Min, Max};
  Step = StepBy;
  char Separator[4] = ".";
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, Separator, sizeof Separator);
  DecimalSeparator = Separator[0];
  CreateControl(Parent, Id, "EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE, Left, Top, Width,
                Height);
  Subclass();
  // The buttons sit inside the field's box, at its right edge; they change
  // the number through UDN_DELTAPOS (Notify below), never by themselves.
  Buttons = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, 0, 0, 0,
                            Parent.Window, nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(Buttons, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Window), 0);
  SendMessageA(Buttons, UDM_SETRANGE32, -1000000, 1000000);
  SendMessageA(Buttons, UDM_SETPOS32, 0, 0);
  Owner.RegisterNotifier(Buttons, this);
}

void TSpinEdit::Command(WORD Code) {
  std::int32_t Typed = 0;
  if (Code == EN_KILLFOCUS && Range.Bounded() && ReadInteger(Text(), Typed) && Range.Clamp(Typed) != Typed)
    SetValue(Typed);
}

LRESULT TSpinEdit::ControlProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == WM_CHAR && !SpinEditAccepts(static_cast<char>(WParam), DecimalSeparator)) {
    MessageBeep(0);
    return 0;
  }
  return TControl::ControlProc(Message, WParam, LParam);
}

LRESULT TSpinEdit::Notify(NMHDR& Header) {
  if (Header.code != UDN_DELTAPOS) return 0;
  const auto& Change = reinterpret_cast<const NMUPDOWN&>(Header);
  SetValue(static_cast<std::int64_t>(Value()) + static_cast<std::int64_t>(Change.iDelta) * Step);
  return 1;  // the buttons keep their own position
}

// ---- lists

namespace {

const TListControl::TMessages ListBoxMessages{LB_GETCOUNT,     LB_GETTEXTLEN,   LB_GETTEXT,
                                              LB_ADDSTRING,    LB_INSERTSTRING, LB_DELETESTRING,
                                              LB_RESETCONTENT, LB_GETCURSEL,    LB_SETCURSEL};
const TListControl::TMessages ComboBoxMessages{CB_GETCOUNT,     CB_GETLBTEXTLEN, CB_GETLBTEXT,
                                               CB_ADDSTRING,    CB_INSERTSTRING, CB_DELETESTRING,
                                               CB_RESETCONTENT, CB_GETCURSEL,    CB_SETCURSEL};

}  // namespace

int TListControl::Count() const { return static_cast<int>(SendMessageA(Window, Msg.Count, 0, 0)); }

std::string TListControl::Item(int Index) const {
  const LRESULT Length = SendMessageA(Window, Msg.GetTextLength, Index, 0);
  if (Length < 0) return std::string();
  std::string Result(static_cast<std::size_t>(Length) + 1, '\0');
  const LRESULT Got = SendMessageA(Window, Msg.GetText, Index, reinterpret_cast<LPARAM>(Result.data()));
  Result.resize(Got < 0 ? 0 : static_cast<std::size_t>(Got));
  return Result;
}

int TListControl::Add(const std::string& Text) {
  if (!Sorted)
    return static_cast<int>(SendMessageA(Window, Msg.AddString, 0, reinterpret_cast<LPARAM>(Text.c_str())));
  // After the last item that does not sort after Text (binary search).
  int Low = 0, High = Count();
  while (Low < High) {
    const int Mid = (Low + High) / 2;
    if (CompareText(Item(Mid), Text) <= 0)
      Low = Mid + 1;
    else
      High = Mid;
  }
  return static_cast<int>(SendMessageA(Window, Msg.InsertString, Low, reinterpret_cast<LPARAM>(Text.c_str())));
}

void TListControl::Delete(int Index) { SendMessageA(Window, Msg.DeleteString, Index, 0); }
void TListControl::Clear() { SendMessageA(Window, Msg.Reset, 0, 0); }

int TListControl::IndexOfText(const std::string& Text) const {
  const int N = Count();
  for (int I = 0; I < N; ++I)
    if (SameText(Item(I), Text)) return I;
  return -1;
}

int TListControl::ItemIndex() const {
  if (MultiSelect) return static_cast<int>(SendMessageA(Window, LB_GETCARETINDEX, 0, 0));
  return static_cast<int>(SendMessageA(Window, Msg.GetCurSel, 0, 0));
}

void TListControl::SetItemIndex(int Index) {
  if (MultiSelect) {
    SendMessageA(Window, LB_SETSEL, FALSE, -1);
    if (Index >= 0) SendMessageA(Window, LB_SETSEL, TRUE, Index);
    SendMessageA(Window, LB_SETCARETINDEX, Index, FALSE);
    return;
  }
  SendMessageA(Window, Msg.SetCurSel, Index, 0);
}

TListBox::TListBox(TForm& Owner) : TListControl(Owner, ListBoxMessages) {}

void TListBox::Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height, bool IsSorted,
                      bool IsMultiSelect) {
  Sorted = IsSorted;
  MultiSelect = IsMultiSelect;
  CreateControl(Parent, Id, "LISTBOX", "",
                LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_GROUP |
                    (MultiSelect ? LBS_EXTENDEDSEL : 0),
                WS_EX_CLIENTEDGE, Left, Top, Width, Height);
}

void TListBox::Command(WORD Code) {
  if (Code == LBN_SELCHANGE) Fire(OnClick);
}

TComboBox::TComboBox(TForm& Owner) : TListControl(Owner, ComboBoxMessages) {}

void TComboBox::Create(const TParent& Parent, int Id, int Left, int Top, int Width, bool IsSorted) {
  Sorted = IsSorted;
  // The height includes the dropped-down list.
  CreateControl(Parent, Id, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 0, Left, Top,
                Width, 200);
}

void TComboBox::Command(WORD Code) {
  if (Code == CBN_SELCHANGE) Fire(OnChange);
}

// ---- painted controls

void TPaintedControl::CreatePainted(const TParent& Parent, int Id, DWORD Style, DWORD ExStyle, int Left, int Top,
                                    int Width, int Height) {
  RegisterPaintedClass();
  CreateControl(Parent, Id, PaintedClass, "", Style, ExStyle, Left, Top, Width, Height);
  Subclass();
}

LRESULT TPaintedControl::ControlProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == WM_PAINT) {
    PAINTSTRUCT Ps;
    HDC DC = BeginPaint(Window, &Ps);
    RECT Client;
    GetClientRect(Window, &Client);
    Paint(DC, Client);
    EndPaint(Window, &Ps);
    return 0;
  }
  if (Message == WM_ERASEBKGND && Brush) {
    RECT Client;
    GetClientRect(Window, &Client);
    FillRect(reinterpret_cast<HDC>(WParam), &Client, Brush.Get());
    return 1;
  }
  return TControl::ControlProc(Message, WParam, LParam);
}

void TPanel::Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height, TBevel B) {
  Bevel = B;
  CreatePainted(Parent, Id, 0, WS_EX_CONTROLPARENT, Left, Top, Width, Height);
}

void TPanel::Paint(HDC DC, const RECT& Client) {
  RECT R = Client;
  if (Bevel == RaisedInnerLoweredOuter) DrawEdge(DC, &R, BDR_RAISEDINNER | BDR_SUNKENOUTER, BF_RECT);
}

LRESULT TPanel::ControlProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  switch (Message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      // The controls inside report to their container; the form handles them.
      return SendMessageA(Owner.Handle(), Message, WParam, LParam);
    default:
      return TPaintedControl::ControlProc(Message, WParam, LParam);
  }
}

void TShape::Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height, TColor Outline) {
  OutlineColour = Outline;
  CreatePainted(Parent, Id, 0, 0, Left, Top, Width, Height);
}

void TShape::Paint(HDC DC, const RECT& Client) {
  TGdiObject<HPEN> Pen(CreatePen(PS_SOLID, 1, ColorToRGB(OutlineColour)));
  TGdiObject<HBRUSH> Fill(CreateSolidBrush(ColorToRGB(BrushColour)));
  TSelection P(DC, Pen.Get());
  TSelection B(DC, Fill.Get());
  Rectangle(DC, Client.left, Client.top, Client.right, Client.bottom);
}

LRESULT TShape::ControlProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  switch (Message) {
    case WM_SETCURSOR:
      SetCursor(LoadCursor(nullptr, IDC_HAND));
      return TRUE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      Fire(OnMouseDown);
      return 0;
    default:
      return TPaintedControl::ControlProc(Message, WParam, LParam);
  }
}

void TImage::Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height, bool IsStretched) {
  Stretch = IsStretched;
  CreatePainted(Parent, Id, 0, 0, Left, Top, Width, Height);
}

void TImage::SetPicture(HBITMAP NewPicture) {
  Picture = TGdiObject<HBITMAP>(NewPicture);
  InvalidateRect(Window, nullptr, TRUE);
}

void TImage::Paint(HDC DC, const RECT& Client) {
  if (!Picture) return;
  BITMAP Info{};
  GetObjectA(Picture.Get(), sizeof Info, &Info);
  TMemoryDC Source;
  TSelection S(Source.Get(), Picture.Get());
  if (Stretch) {
    SetStretchBltMode(DC, COLORONCOLOR);
    StretchBlt(DC, 0, 0, Client.right, Client.bottom, Source.Get(), 0, 0, Info.bmWidth, Info.bmHeight, SRCCOPY);
  } else {
    BitBlt(DC, (Client.right - Info.bmWidth) / 2, (Client.bottom - Info.bmHeight) / 2, Info.bmWidth, Info.bmHeight,
           Source.Get(), 0, 0, SRCCOPY);
  }
}

void TProgressBar::Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height) {
  CreateControl(Parent, Id, PROGRESS_CLASSA, "", PBS_SMOOTH, 0, Left, Top, Width, Height);
  SendMessageA(Window, PBM_SETBARCOLOR, 0, RGB(0, 0, 255));
  SendMessageA(Window, PBM_SETPOS, 0, 0);
}

// ---- TPageControl

void TPageControl::Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height) {
  CreateControl(Parent, Id, WC_TABCONTROLA, "", WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, Left, Top, Width, Height);
}

void TPageControl::AddPage(TTabSheet& Page, int Id, const std::string& Caption) {
  TCITEMA Item{};
  Item.mask = TCIF_TEXT;
  std::string Text = Caption;
  Item.pszText = Text.data();
  SendMessageA(Window, TCM_INSERTITEMA, Pages.size(), reinterpret_cast<LPARAM>(&Item));
  RECT Area;
  GetClientRect(Window, &Area);
  SendMessageA(Window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&Area));
  Page.Create(TParent{Window, 0, 0}, Id, Area.left, Area.top, Area.right - Area.left, Area.bottom - Area.top,
              TPanel::NoBevel);
  Pages.push_back(&Page);
  ShowActivePage();
}

void TPageControl::SetActivePageIndex(int Index) {
  SendMessageA(Window, TCM_SETCURSEL, Index, 0);
  ShowActivePage();
}

void TPageControl::SelectNextPage(bool Forward) {
  const int N = static_cast<int>(Pages.size());
  if (N == 0) return;
  SetActivePageIndex((ActivePageIndex() + (Forward ? 1 : N - 1)) % N);
  HWND First = FirstTabStop(Pages[static_cast<std::size_t>(ActivePageIndex())]->Handle());
  ::SetFocus(First ? First : Window);
}

void TPageControl::ShowActivePage() {
  const int Active = ActivePageIndex();
  for (std::size_t I = 0; I < Pages.size(); ++I)
    Pages[I]->SetVisible(static_cast<int>(I) == Active);
}

LRESULT TPageControl::Notify(NMHDR& Header) {
  if (Header.code == TCN_SELCHANGE) ShowActivePage();
  return 0;
}
