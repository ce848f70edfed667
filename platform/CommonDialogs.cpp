#include "platform/CommonDialogs.h"

#include <commdlg.h>

#include <cwchar>

#include "platform/Controls.h"
#include "platform/WideText.h"

bool TColorDialog::Execute(HWND Owner) {
  CHOOSECOLORW Choice{};
  Choice.lStructSize = sizeof Choice;
  Choice.hwndOwner = Owner;
  Choice.rgbResult = ColorToRGB(Color);
  Choice.lpCustColors = CustomColors;
  Choice.Flags = CC_RGBINIT;
  if (!ChooseColorW(&Choice)) return false;
  Color = Choice.rgbResult;
  return true;
}

std::vector<std::string> SplitOpenDialogFiles(const wchar_t* Buffer) {
  std::vector<std::string> Parts;
  for (const wchar_t* P = Buffer; *P; P += std::wcslen(P) + 1) Parts.push_back(Utf8(P));
  if (Parts.size() <= 1) return Parts;
  std::string Folder = Parts.front();
  if (!Folder.empty() && Folder.back() != '\\') Folder += '\\';
  std::vector<std::string> Files;
  for (std::size_t I = 1; I < Parts.size(); ++I) Files.push_back(Folder + Parts[I]);
  return Files;
}

namespace {

// The part the program adds to the dialog: the standard controls' place
// (stc32) and the preview pane to its right. The template gives it in dialog
// units of the system font, which at 96 DPI are 2 x 2 pixels (base units of
// 8 x 16); at every DPI the hook then places it in pixels, scaled like every
// window of the program, and again when the dialog moves to a monitor of
// another DPI.
constexpr WORD Stc32 = 0x045F;
using TDesignRect = TOpenPictureDialog::TDesignRect;
constexpr TDesignRect AddedPart = TOpenPictureDialog::AddedPart;
constexpr TDesignRect Stc32Part = TOpenPictureDialog::StandardControls;
constexpr TDesignRect PanePart = TOpenPictureDialog::PreviewPane;
constexpr int PaneMargin = 2;  // around the picture, inside the pane's border
constexpr short DialogUnits(short DesignPixels) { return static_cast<short>(DesignPixels / 2); }
#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

class TDialogTemplate {
 public:
  TDialogTemplate(DWORD Style, short Width, short Height) {
    Add(LOWORD(Style), HIWORD(Style), 0, 0);  // style, extended style
    CountAt = Words.size();
    Add(0, 0, 0, Width, Height);               // items, x, y, cx, cy
    Add(0, 0, 0);                               // no menu, class or title
  }
  void AddStatic(WORD Id, DWORD Style, const TDesignRect& Part) {
    if (Words.size() % 2) Words.push_back(0);  // items start on a DWORD boundary
    Add(LOWORD(Style), HIWORD(Style), 0, 0, DialogUnits(Part.X), DialogUnits(Part.Y), DialogUnits(Part.Width),
        DialogUnits(Part.Height), Id);
    Add(0xFFFF, 0x0082, 0, 0);  // class STATIC, no title, no creation data
    ++Words[CountAt];
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(Words.data()); }

 private:
  template <typename... T>
  void Add(T... Values) {
    (Words.push_back(static_cast<WORD>(Values)), ...);
  }
  std::vector<WORD> Words;
  std::size_t CountAt = 0;
};

struct TPreviewState {
  TOpenPictureDialog::TPreviewMaker Make;
  HBITMAP Shown = nullptr;
};

void ShowPreview(HWND Pane, TPreviewState& State, HBITMAP Picture) {
  SendMessageW(Pane, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(Picture));
  if (State.Shown) DeleteObject(State.Shown);
  State.Shown = Picture;
}

// Sizes the added part and places its controls at the dialog's DPI. On
// creation this comes before the dialog arranges its standard controls
// around stc32.
void PlaceAddedPart(HWND Dialog) {
  const int Dpi = WindowDpi(Dialog);
  auto Place = [Dpi](HWND Window, const TDesignRect& Part, UINT Flags) {
    SetWindowPos(Window, nullptr, ScaleToDpi(Part.X, Dpi), ScaleToDpi(Part.Y, Dpi), ScaleToDpi(Part.Width, Dpi),
                 ScaleToDpi(Part.Height, Dpi), Flags | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  Place(Dialog, AddedPart, SWP_NOMOVE);
  Place(GetDlgItem(Dialog, Stc32), Stc32Part, 0);
  Place(GetDlgItem(Dialog, TOpenPictureDialog::PreviewId), PanePart, 0);
}

UINT_PTR CALLBACK PreviewHook(HWND Dialog, UINT Message, WPARAM, LPARAM LParam) {
  if (Message == WM_INITDIALOG) {
    const auto* Open = reinterpret_cast<const OPENFILENAMEW*>(LParam);
    SetWindowLongPtrW(Dialog, DWLP_USER, static_cast<LONG_PTR>(Open->lCustData));
    PlaceAddedPart(Dialog);
    return TRUE;
  }
  if (Message == WM_DPICHANGED_AFTERPARENT) {
    PlaceAddedPart(Dialog);
    return 0;
  }
  auto* State = reinterpret_cast<TPreviewState*>(GetWindowLongPtrW(Dialog, DWLP_USER));
  if (!State) return 0;
  HWND Pane = GetDlgItem(Dialog, TOpenPictureDialog::PreviewId);
  if (Message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(LParam)->code == CDN_SELCHANGE && State->Make) {
    // A path of any length Windows allows.
    std::wstring Path(32768, L'\0');
    const LRESULT Length =
        SendMessageW(GetParent(Dialog), CDM_GETFILEPATH, Path.size(), reinterpret_cast<LPARAM>(Path.data()));
    RECT Area;
    GetClientRect(Pane, &Area);
    const int Margins = 2 * ScaleToDpi(PaneMargin, WindowDpi(Pane));
    HBITMAP Picture =
        Length > 0 ? State->Make(Utf8(Path.c_str()), Area.right - Margins, Area.bottom - Margins) : nullptr;
    ShowPreview(Pane, *State, Picture);
  } else if (Message == WM_DESTROY) {
    ShowPreview(Pane, *State, nullptr);
  }
  return 0;
}

}  // namespace

bool TOpenPictureDialog::Execute(HWND Owner) {
  // Controls right of stc32 move right by as much as the standard controls
  // need; the pane stays level with their top.
  TDialogTemplate Template(WS_CHILD | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL, DialogUnits(AddedPart.Width),
                           DialogUnits(AddedPart.Height));
  Template.AddStatic(Stc32, WS_CHILD, Stc32Part);
  Template.AddStatic(PreviewId, WS_CHILD | WS_VISIBLE | SS_BITMAP | SS_CENTERIMAGE | SS_SUNKEN, PanePart);
  TPreviewState State{MakePreview};
  std::vector<wchar_t> Buffer(64 * 1024, L'\0');
  // The filter's NULs are part of it: converted whole.
  const std::wstring WideFilter = Wide(Filter), WideInitialDir = Wide(InitialDir), WideTitle = Wide(Title);
  OPENFILENAMEW Open{};
  Open.lStructSize = sizeof Open;
  Open.hwndOwner = Owner;
  Open.lpstrFilter = WideFilter.c_str();
  Open.nFilterIndex = 1;
  Open.lpstrFile = Buffer.data();
  Open.nMaxFile = static_cast<DWORD>(Buffer.size());
  Open.lpstrInitialDir = InitialDir.empty() ? nullptr : WideInitialDir.c_str();
  Open.lpstrTitle = WideTitle.c_str();
  Open.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_ENABLESIZING | OFN_FILEMUSTEXIST |
               OFN_PATHMUSTEXIST | OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE;
  Open.hInstance = reinterpret_cast<HINSTANCE>(const_cast<DLGTEMPLATE*>(Template.Get()));
  Open.lpfnHook = PreviewHook;
  Open.lCustData = reinterpret_cast<LPARAM>(&State);
  Files.clear();
  if (!GetOpenFileNameW(&Open)) return false;
  Files = SplitOpenDialogFiles(Buffer.data());
  return !Files.empty();
}
