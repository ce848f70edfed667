#include "platform/StdControls.h"

#include "core/IntegerText.h"
#include "platform/Form.h"
#include "platform/Locale.h"
#include "platform/WideText.h"

namespace {

// The glyphs are drawn, not loaded: a few strokes in a 16 x 16 cell of the
// 96-DPI design, every length scaled to the button's DPI.
void DrawGlyph(HDC DC, TGlyph Glyph, int X, int Y, bool Enabled, int Dpi) {
  auto Px = [Dpi](int Length) { return ScaleToDpi(Length, Dpi); };
  auto Pen = [&](COLORREF Colour, int Width) {
    return TGdiObject<HPEN>(CreatePen(PS_SOLID, Px(Width), Enabled ? Colour : GetSysColor(COLOR_GRAYTEXT)));
  };
  auto Line = [&](int X1, int Y1, int X2, int Y2) {
    MoveToEx(DC, X + Px(X1), Y + Px(Y1), nullptr);
    LineTo(DC, X + Px(X2), Y + Px(Y2));
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
      Ellipse(DC, X + Px(1), Y + Px(4), X + Px(15), Y + Px(12));
      Ellipse(DC, X + Px(6), Y + Px(6), X + Px(10), Y + Px(10));
      return;
    }
    case TGlyph::Folder:
    case TGlyph::Load: {
      TGdiObject<HPEN> P = Pen(RGB(128, 96, 0), 1);
      TGdiObject<HBRUSH> B(CreateSolidBrush(Enabled ? RGB(240, 200, 80) : GetSysColor(COLOR_BTNFACE)));
      TSelection S(DC, P.Get());
      TSelection F(DC, B.Get());
      Rectangle(DC, X + Px(1), Y + Px(4), X + Px(15), Y + Px(14));
      Rectangle(DC, X + Px(1), Y + Px(2), X + Px(7), Y + Px(5));
      return;
    }
  }
}

}  // namespace

void TLabel::Create(const TParent& Parent, int Id, int Left, int Top, const std::string& Text) {
  CreateControl(Parent, Id, "STATIC", Text, SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0, Left, Top, 1, 1);
  Subclass();
  AutoSize();
}

void TLabel::SetText(const std::string& Text) {
  TControl::SetText(Text);
  AutoSize();
}

HFONT TLabel::CurrentFont() const { return OwnFont ? OwnFont.Get() : DialogFontHere(); }

void TLabel::SetFontHeight(const char* Face, int Height, bool Bold) {
  FontFace = Face;
  FontHeight = Height;
  FontBold = Bold;
  OwnFont = MakeFont(Face, Scale(Height), Bold);
  SendMessageW(Window, WM_SETFONT, reinterpret_cast<WPARAM>(OwnFont.Get()), TRUE);
  AutoSize();
}

void TLabel::ApplyDpi() {
  SetWindowPos(Window, nullptr, Scale(Design.Left), Scale(Design.Top), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The old font is deleted only once the new one has replaced it.
  TGdiObject<HFONT> Old = std::move(OwnFont);
  if (Old) OwnFont = MakeFont(FontFace.c_str(), Scale(FontHeight), FontBold);
  SendMessageW(Window, WM_SETFONT, reinterpret_cast<WPARAM>(CurrentFont()), TRUE);
  AutoSize();
}

int TLabel::FontPoints() const { return HeightToPoints(OwnFont ? FontHeight : PointsToHeight(DialogFontPoints)); }

int TLabel::TextWidth(const std::string& Text) const {
  TWindowDC DC(Window);
  TSelection Font(DC.Get(), CurrentFont());
  SIZE Size{};
  const std::wstring Wide = ::Wide(Text);
  GetTextExtentPoint32W(DC.Get(), Wide.data(), static_cast<int>(Wide.size()), &Size);
  return Size.cx;
}

void TLabel::AutoSize() {
  TWindowDC DC(Window);
  TSelection Font(DC.Get(), CurrentFont());
  TEXTMETRICW Metrics{};
  GetTextMetricsW(DC.Get(), &Metrics);
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
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
    return TRUE;
  }
  return TControl::ControlProc(Message, WParam, LParam);
}

// TButton

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
  const std::wstring Caption = Wide(Text());
  TSelection Font(DC, DialogFontHere());
  SIZE TextSize{};
  GetTextExtentPoint32W(DC, Caption.data(), static_cast<int>(Caption.size()), &TextSize);
  const int GlyphWidth = Glyph == TGlyph::None ? 0 : Scale(16);
  const int Gap = GlyphWidth && !Caption.empty() ? Scale(4) : 0;
  const int Total = GlyphWidth + Gap + TextSize.cx;
  const int X = (R.left + R.right - Total) / 2;
  DrawGlyph(DC, Glyph, X, (R.top + R.bottom - Scale(16)) / 2, !Disabled, Dpi());
  if (!Caption.empty()) {
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, GetSysColor(Disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    RECT TextRect{X + GlyphWidth + Gap, R.top, R.right, R.bottom};
    DrawTextW(DC, Caption.c_str(), -1, &TextRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  }
  if (Item.itemState & ODS_FOCUS) {
    RECT Focus = Item.rcItem;
    InflateRect(&Focus, -Scale(4), -Scale(4));
    DrawFocusRect(DC, &Focus);
  }
}

// TCheckBox, TRadioButton, TGroupBox, TEdit

void TCheckBox::Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height,
                       const std::string& Caption) {
  CreateControl(Parent, Id, "BUTTON", Caption, BS_AUTOCHECKBOX | WS_TABSTOP, 0, Left, Top, Width, Height);
}

void TCheckBox::SetChecked(bool Checked) {
  if (Checked == this->Checked()) return;
  SendMessageW(Window, BM_SETCHECK, Checked ? BST_CHECKED : BST_UNCHECKED, 0);
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

// TSpinEdit

void TSpinEdit::Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height, std::int32_t Min,
                       std::int32_t Max, std::int32_t StepBy) {
  Range = TSpinRange{Min, Max};
  Step = StepBy;
  const std::string Separator = UserLocaleInfo(LOCALE_SDECIMAL, ".");
  DecimalSeparator = Separator.size() == 1 ? Separator[0] : '.';
  CreateControl(Parent, Id, "EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE, Left, Top, Width,
                Height);
  Subclass();
  // The buttons sit inside the field's box, at its right edge; they change
  // the number through UDN_DELTAPOS (Notify below), never by themselves.
  Buttons = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, 0, 0, 0,
                            Parent.Window, nullptr, GetModuleHandleW(nullptr), nullptr);
  AlignButtons();
  SendMessageW(Buttons, UDM_SETRANGE32, -1000000, 1000000);
  SendMessageW(Buttons, UDM_SETPOS32, 0, 0);
  Owner.RegisterNotifier(Buttons, this);
}

void TSpinEdit::AlignButtons() {
  // Aligned to the field, the buttons take its right part and the field
  // shrinks by their width; they are then placed as the system places them at
  // 96 DPI, over the field's right border, scaled: systems (Wine among them)
  // give them a width and an overlap of their own whatever the DPI.
  const TDesignBounds Box = Design;
  auto Place = [this, &Box](HWND Part, int Left, int Width) {
    SetWindowPos(Part, nullptr, Scale(Left), Scale(Box.Top), Scale(Width), Scale(Box.Height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  };
  Place(Window, Box.Left, Box.Width);
  SendMessageW(Buttons, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Window), 0);
  Place(Window, Box.Left, Box.Width - ButtonsWidth);
  Place(Buttons, Box.Left + Box.Width - ButtonsWidth - ButtonsOverlap, ButtonsWidth);
}

void TSpinEdit::ApplyDpi() {
  SendMessageW(Window, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFontHere()), FALSE);
  AlignButtons();
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

void TProgressBar::Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height) {
  CreateControl(Parent, Id, "msctls_progress32", "", PBS_SMOOTH, 0, Left, Top, Width, Height);
  SendMessageW(Window, PBM_SETBARCOLOR, 0, RGB(0, 0, 255));
  SendMessageW(Window, PBM_SETPOS, 0, 0);
}
