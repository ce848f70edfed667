#include "platform/PaintedControls.h"

#include "platform/Form.h"
#include "platform/WideText.h"

namespace {

const char PaintedClass[] = "TPictarinePainted";
const wchar_t PaintedClassW[] = L"TPictarinePainted";

void RegisterPaintedClass() {
  HINSTANCE Instance = GetModuleHandleW(nullptr);
  WNDCLASSW Class{};
  if (GetClassInfoW(Instance, PaintedClassW, &Class)) return;
  Class.style = CS_HREDRAW | CS_VREDRAW;
  Class.lpfnWndProc = DefWindowProcW;
  Class.hInstance = Instance;
  Class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  Class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  Class.lpszClassName = PaintedClassW;
  RegisterClassW(&Class);
}

}  // namespace

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
      return SendMessageW(Owner.Handle(), Message, WParam, LParam);
    default:
      return TPaintedControl::ControlProc(Message, WParam, LParam);
  }
}

void TShape::Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height, TColor Outline) {
  OutlineColour = Outline;
  CreatePainted(Parent, Id, 0, 0, Left, Top, Width, Height);
}

void TShape::Paint(HDC DC, const RECT& Client) {
  TGdiObject<HPEN> Pen(CreatePen(PS_SOLID, Scale(1), ColorToRGB(OutlineColour)));
  TGdiObject<HBRUSH> Fill(CreateSolidBrush(ColorToRGB(BrushColour)));
  TSelection P(DC, Pen.Get());
  TSelection B(DC, Fill.Get());
  Rectangle(DC, Client.left, Client.top, Client.right, Client.bottom);
}

LRESULT TShape::ControlProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  switch (Message) {
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
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

void TImage::SetPicture(HBITMAP NewPicture, bool OfDesign) {
  Picture = TGdiObject<HBITMAP>(NewPicture);
  PictureOfDesign = OfDesign;
  InvalidateRect(Window, nullptr, TRUE);
}

void TImage::Paint(HDC DC, const RECT& Client) {
  if (!Picture) return;
  BITMAP Info{};
  GetObjectW(Picture.Get(), sizeof Info, &Info);
  TMemoryDC Source;
  TSelection S(Source.Get(), Picture.Get());
  SetStretchBltMode(DC, COLORONCOLOR);
  if (Stretch) {
    StretchBlt(DC, 0, 0, Client.right, Client.bottom, Source.Get(), 0, 0, Info.bmWidth, Info.bmHeight, SRCCOPY);
    return;
  }
  const int W = PictureOfDesign ? Scale(Info.bmWidth) : Info.bmWidth;
  const int H = PictureOfDesign ? Scale(Info.bmHeight) : Info.bmHeight;
  const int X = (Client.right - W) / 2, Y = (Client.bottom - H) / 2;
  if (W == Info.bmWidth && H == Info.bmHeight)
    BitBlt(DC, X, Y, W, H, Source.Get(), 0, 0, SRCCOPY);
  else
    StretchBlt(DC, X, Y, W, H, Source.Get(), 0, 0, Info.bmWidth, Info.bmHeight, SRCCOPY);
}

// TPageControl

void TPageControl::Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height) {
  CreateControl(Parent, Id, "SysTabControl32", "", WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, Left, Top, Width, Height);
}

void TPageControl::AddPage(TTabSheet& Page, int Id, const std::string& Caption) {
  TCITEMW Item{};
  Item.mask = TCIF_TEXT;
  std::wstring Text = Wide(Caption);
  Item.pszText = Text.data();
  SendMessageW(Window, TCM_INSERTITEMW, Pages.size(), reinterpret_cast<LPARAM>(&Item));
  Page.Create(TParent{Window, 0, 0}, Id, 0, 0, 0, 0, TPanel::NoBevel);
  Page.PlacedByContainer = true;
  Pages.push_back(&Page);
  PlacePages();
  ShowActivePage();
}

void TPageControl::PlacePages() {
  RECT Area;
  GetClientRect(Window, &Area);
  SendMessageW(Window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&Area));
  for (TTabSheet* Page : Pages)
    Page->SetBounds(Area.left, Area.top, Area.right - Area.left, Area.bottom - Area.top);
}

void TPageControl::ApplyDpi() {
  TControl::ApplyDpi();  // the tabs take the height of the new font
  PlacePages();
}

void TPageControl::SetActivePageIndex(int Index) {
  SendMessageW(Window, TCM_SETCURSEL, Index, 0);
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
