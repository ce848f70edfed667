#include "support/WindowLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "platform/ScreenFont.h"
#include "platform/WideText.h"

namespace {

std::string LowerClassName(HWND Window) {
  char Name[256] = "";
  GetClassNameA(Window, Name, sizeof Name);
  std::string Result = Name;
  for (char& C : Result) C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
  return Result;
}

BOOL CALLBACK Collect(HWND Window, LPARAM Param) {
  auto* Layout = reinterpret_cast<std::vector<TLaidOutWindow>*>(Param);
  HWND Parent = GetParent(Window);
  TLaidOutWindow W;
  W.Window = Window;
  W.ClassName = LowerClassName(Window);
  W.Id = GetDlgCtrlID(Window);
  GetWindowRect(Window, &W.Bounds);
  MapWindowPoints(nullptr, Parent, reinterpret_cast<POINT*>(&W.Bounds), 2);
  RECT Client;
  GetClientRect(Parent, &Client);
  W.ParentClient = SIZE{Client.right, Client.bottom};
  W.InTabs = LowerClassName(Parent) == "systabcontrol32";
  DWORD Process = 0;
  GetWindowThreadProcessId(Window, &Process);
  LOGFONTA Font{};
  if (Process == GetCurrentProcessId())
    if (auto Handle = reinterpret_cast<HFONT>(SendMessageA(Window, WM_GETFONT, 0, 0)))
      if (GetObjectA(Handle, sizeof Font, &Font) == sizeof Font) W.FontHeight = std::abs(Font.lfHeight);
  Layout->push_back(W);
  return TRUE;
}

std::string Describe(const TLaidOutWindow& W) {
  return W.ClassName + " #" + std::to_string(W.Id) + " at " + std::to_string(W.Bounds.left) + "," +
         std::to_string(W.Bounds.top) + " " + std::to_string(W.Bounds.right - W.Bounds.left) + "x" +
         std::to_string(W.Bounds.bottom - W.Bounds.top);
}

// The system's size of a metric at a DPI, where Windows gives it per DPI.
int MetricForDpi(int Index, int Dpi) {
  using TGetSystemMetricsForDpi = int(WINAPI*)(int, UINT);
  static const auto ForDpi = reinterpret_cast<TGetSystemMetricsForDpi>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetSystemMetricsForDpi")));
  return ForDpi ? ForDpi(Index, static_cast<UINT>(Dpi)) : GetSystemMetrics(Index);
}

// Measures texts with a control's own font.
class TTextMeasure {
 public:
  explicit TTextMeasure(HWND Control)
      : Window(Control), DC(GetDC(Control)),
        Previous(SelectObject(DC, reinterpret_cast<HFONT>(SendMessageA(Control, WM_GETFONT, 0, 0)))) {
    GetTextMetricsA(DC, &Metrics);
  }
  ~TTextMeasure() {
    SelectObject(DC, Previous);
    ReleaseDC(Window, DC);
  }
  TTextMeasure(const TTextMeasure&) = delete;
  TTextMeasure& operator=(const TTextMeasure&) = delete;
  // One line as DrawText lays it out ("&" marks the underlined letter unless
  // NoPrefix).
  SIZE Extent(const std::string& Text, bool NoPrefix = false) const {
    RECT R{0, 0, 0, 0};
    DrawTextW(DC, Wide(Text).c_str(), -1, &R, DT_CALCRECT | DT_SINGLELINE | (NoPrefix ? DT_NOPREFIX : 0));
    return SIZE{R.right - R.left, R.bottom - R.top};
  }
  int Height() const { return Metrics.tmHeight; }

 private:
  HWND Window;
  HDC DC;
  HGDIOBJ Previous;
  TEXTMETRICA Metrics{};
};

bool AllDigits(const std::string& Text) {
  return !Text.empty() && std::all_of(Text.begin(), Text.end(), [](char C) { return C >= '0' && C <= '9'; });
}

void ExpectControlTextFits(HWND Control, int Dpi, const std::string& What) {
  const std::string Class = LowerClassName(Control);
  const std::string Text = WindowText(Control);
  const TTextMeasure Measure(Control);
  RECT Client;
  GetClientRect(Control, &Client);
  const int Width = Client.right, Height = Client.bottom;
  auto S = [Dpi](int Length) { return ScaleToDpi(Length, Dpi); };
  const std::string Where = What + ": " + Class + " #" + std::to_string(GetDlgCtrlID(Control)) + " \"" + Text + "\"";
  if (Class == "static") {
    const SIZE Size = Measure.Extent(Text, true);
    EXPECT_LE(Size.cx, Width) << Where;
    EXPECT_LE(Size.cy, Height) << Where;
  } else if (Class == "button") {
    const LONG_PTR Style = GetWindowLongPtrA(Control, GWL_STYLE);
    const SIZE Size = Measure.Extent(Text);
    switch (Style & BS_TYPEMASK) {
      case BS_GROUPBOX:
        // The caption sits in the top edge, indented from both corners.
        EXPECT_LE(Size.cx + 2 * S(8), Width) << Where;
        break;
      case BS_AUTOCHECKBOX:
      case BS_AUTORADIOBUTTON: {
        const int Box = MetricForDpi(SM_CXMENUCHECK, Dpi);
        EXPECT_LE(Box + S(4) + Size.cx, Width) << Where;
        EXPECT_LE(std::max<int>(Size.cy, Box), Height) << Where;
        break;
      }
      default: {
        // The toolkit's buttons: a glyph of 16 design pixels, a gap of 4 and
        // the caption, clear of the focus rectangle 4 design pixels inside.
        const int Content = S(16) + (Text.empty() ? 0 : S(4) + Size.cx);
        EXPECT_LE(Content, Width - 2 * S(4)) << Where;
        EXPECT_LE(std::max<int>(Size.cy, S(16)), Height - 2 * S(4)) << Where;
      }
    }
  } else if (Class == "edit") {
    EXPECT_LE(Measure.Height(), Height) << Where;
    if (AllDigits(Text)) {
      EXPECT_LE(Measure.Extent(Text, true).cx, Width) << Where;  // a number is never scrolled
    }
  } else if (Class == "combobox") {
    EXPECT_LE(Measure.Height(), SendMessageA(Control, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0)) << Where;
    const int Selected = static_cast<int>(SendMessageA(Control, CB_GETCURSEL, 0, 0));
    if (Selected >= 0) {
      wchar_t Wide[512] = L"";
      SendMessageW(Control, CB_GETLBTEXT, Selected, reinterpret_cast<LPARAM>(Wide));
      const std::string Item = Utf8(Wide);
      EXPECT_LE(Measure.Extent(Item, true).cx + MetricForDpi(SM_CXVSCROLL, Dpi), Width) << Where << " " << Item;
    }
  } else if (Class == "listbox") {
    EXPECT_LE(Measure.Height(), SendMessageA(Control, LB_GETITEMHEIGHT, 0, 0)) << Where;
  }
}

BOOL CALLBACK CheckText(HWND Control, LPARAM Param) {
  const auto* Check = reinterpret_cast<const std::pair<int, const std::string*>*>(Param);
  ExpectControlTextFits(Control, Check->first, *Check->second);
  return TRUE;
}

}  // namespace

std::vector<TLaidOutWindow> LayoutOf(HWND Root) {
  std::vector<TLaidOutWindow> Layout;
  EnumChildWindows(Root, Collect, reinterpret_cast<LPARAM>(&Layout));
  return Layout;
}

TSizing SizingOf(const TLaidOutWindow& Window) {
  if (Window.InTabs) return TSizing::Page;
  if (Window.ClassName == "static") return TSizing::Text;
  if (Window.ClassName == "combobox") return TSizing::FontHeight;
  return TSizing::Design;
}

void ExpectScaledLayout(const std::vector<TLaidOutWindow>& Design, const std::vector<TLaidOutWindow>& Actual, int Dpi,
                        const std::string& What) {
  ASSERT_EQ(Design.size(), Actual.size()) << What;
  for (std::size_t I = 0; I < Design.size(); ++I) {
    const TLaidOutWindow &D = Design[I], &A = Actual[I];
    ASSERT_EQ(D.ClassName, A.ClassName) << What << " window " << I;
    ASSERT_EQ(D.Id, A.Id) << What << " window " << I;
    auto Near = [Dpi](LONG Scaled, LONG Design) { return std::abs(Scaled - ScaleToDpi(Design, Dpi)) <= 1; };
    const std::string Where = What + ": " + Describe(A) + " from " + Describe(D) + " at " + std::to_string(Dpi);
    if (D.FontHeight && A.FontHeight) {
      EXPECT_TRUE(Near(A.FontHeight, D.FontHeight))
          << Where << ": a font of " << A.FontHeight << " pixels from " << D.FontHeight;
    }
    const TSizing Sizing = SizingOf(D);
    if (Sizing == TSizing::Page) continue;
    EXPECT_TRUE(Near(A.Bounds.left, D.Bounds.left) && Near(A.Bounds.top, D.Bounds.top)) << Where;
    if (Sizing == TSizing::Text) continue;
    EXPECT_TRUE(Near(A.Bounds.right - A.Bounds.left, D.Bounds.right - D.Bounds.left)) << Where;
    if (Sizing == TSizing::FontHeight) continue;
    EXPECT_TRUE(Near(A.Bounds.bottom - A.Bounds.top, D.Bounds.bottom - D.Bounds.top)) << Where;
  }
}

void ExpectSameLayout(const std::vector<TLaidOutWindow>& Expected, const std::vector<TLaidOutWindow>& Actual,
                      const std::string& What) {
  ASSERT_EQ(Expected.size(), Actual.size()) << What;
  for (std::size_t I = 0; I < Expected.size(); ++I) {
    const TLaidOutWindow &E = Expected[I], &A = Actual[I];
    EXPECT_TRUE(E.ClassName == A.ClassName && E.Id == A.Id && EqualRect(&E.Bounds, &A.Bounds))
        << What << ": " << Describe(A) << " instead of " << Describe(E);
  }
}

void ExpectInsideParents(const std::vector<TLaidOutWindow>& Layout, const std::string& What) {
  for (const TLaidOutWindow& W : Layout)
    EXPECT_TRUE(W.Bounds.left >= 0 && W.Bounds.top >= 0 && W.Bounds.right <= W.ParentClient.cx &&
                W.Bounds.bottom <= W.ParentClient.cy)
        << What << ": " << Describe(W) << " in a client area of " << W.ParentClient.cx << "x" << W.ParentClient.cy;
}

void ExpectTextFits(HWND Root, int Dpi, const std::string& What) {
  const std::pair<int, const std::string*> Check{Dpi, &What};
  EnumChildWindows(Root, CheckText, reinterpret_cast<LPARAM>(&Check));
}

RECT SendDpiChanged(HWND Window, int OldDpi, int NewDpi) {
  RECT Frame, Client;
  GetWindowRect(Window, &Frame);
  GetClientRect(Window, &Client);
  RECT Suggested{0, 0, MulDiv(Client.right, NewDpi, OldDpi), MulDiv(Client.bottom, NewDpi, OldDpi)};
  AdjustWindowRectEx(&Suggested, static_cast<DWORD>(GetWindowLongPtrA(Window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(Window, GWL_EXSTYLE)));
  OffsetRect(&Suggested, Frame.left - Suggested.left, Frame.top - Suggested.top);
  RECT Sent = Suggested;
  SendMessageA(Window, WM_DPICHANGED, MAKEWPARAM(NewDpi, NewDpi), reinterpret_cast<LPARAM>(&Sent));
  return Suggested;
}
