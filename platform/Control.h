#pragma once
// The base of the toolkit's control wrappers. A wrapper holds the control's
// window and the few things the window cannot hold (its event handlers, a font
// or brush of its own); every other state is asked of the window, mostly with
// one SendMessage. The owning form routes WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*
// and WM_DRAWITEM of its controls to the wrappers, which call the form's named
// handler members. Controls are created by the form (in its CreateControls),
// placed at their positions in the 96-DPI design scaled to the form's DPI
// (see ScreenFont.h), laid out again when that DPI changes, and destroyed
// with the form's window.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Gdi.h"
#include "platform/ScreenFont.h"

class TForm;

// A handler member of a form, called with no arguments.
using TNotifyEvent = void (TForm::*)();

// The colour a COLORREF-taking call needs, system colours resolved.
COLORREF ColorToRGB(TColor Colour);
constexpr TColor clWindow = 0xFF000005;
constexpr TColor clBtnFace = 0xFF00000F;
constexpr TColor clBlue = 0x00FF0000;
constexpr TColor clBlack = 0x00000000;

// The window that parents a control and the offset of the design container
// (a group box drawn on that window) that the control's position is given in;
// the offset is of the 96-DPI design.
struct TParent {
  HWND Window = nullptr;
  int X = 0, Y = 0;
  TParent At(int DX, int DY) const { return TParent{Window, X + DX, Y + DY}; }
};

// The first visible and enabled tab stop among Parent's descendants, in tab
// order, looking into control parents (pages, panels); nullptr when none.
HWND FirstTabStop(HWND Parent);

class TControl {
 public:
  virtual ~TControl();
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  HWND Handle() const { return Window; }
  int Id() const { return GetDlgCtrlID(Window); }
  // The DPI the control is laid out at (its form's), and a length of the
  // 96-DPI design at that DPI.
  int Dpi() const;
  int Scale(int DesignLength) const { return ScaleToDpi(DesignLength, Dpi()); }
  // In pixels at the control's DPI; the control's design bounds stay, and a
  // new DPI lays it out from them again.
  void SetBounds(int Left, int Top, int Width, int Height);
  // A new size; the top-left corner stays where it is.
  void SetSize(int Width, int Height) {
    SetWindowPos(Window, nullptr, 0, 0, Width, Height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  }
  int Width() const;
  int Height() const;
  bool Enabled() const { return IsWindowEnabled(Window) != 0; }
  void SetEnabled(bool Enabled) { EnableWindow(Window, Enabled); }
  bool Visible() const { return IsWindowVisible(Window) != 0; }
  void SetVisible(bool Visible) { ShowWindow(Window, Visible ? SW_SHOW : SW_HIDE); }
  std::string Text() const;
  void SetText(const std::string& Text);
  void SetFocus() { ::SetFocus(Window); }
  // Paints the control now, without waiting for the message loop.
  void Repaint();
  // The background of the control (edit fields, painted controls).
  void SetColor(TColor Colour);

 protected:
  explicit TControl(TForm& Owner) : Owner(Owner) {}
  // Creates the window at its design bounds (Parent's offset plus Left, Top;
  // Width x Height), scaled to the form's DPI, with the dialog font of that
  // DPI, and registers it with the owning form.
  void CreateControl(const TParent& Parent, int Id, const char* ClassName, const std::string& Text, DWORD Style,
                     DWORD ExStyle, int Left, int Top, int Width, int Height);
  // Lays the control out again at its form's DPI (which has just changed):
  // its design bounds scaled, the dialog font of that DPI. A control whose
  // container places it (PlacedByContainer) keeps its bounds here.
  virtual void ApplyDpi();
  // The dialog font at the control's DPI.
  HFONT DialogFontHere() const { return DialogFontForDpi(Dpi()); }
  // The font the control shows its text in at its DPI: the dialog font, or
  // for a control that shows names, the names font.
  virtual HFONT FontHere() const { return DialogFontHere(); }
  // The design bounds scaled to the control's DPI, in the parent's client area.
  RECT ScaledBounds() const;
  // Lets the wrapper see its window's messages (ControlProc) from now on.
  void Subclass();
  void Fire(TNotifyEvent Event) {
    if (Event) (Owner.*Event)();
  }

  // A notification of WM_COMMAND, WM_NOTIFY; the background brush of
  // WM_CTLCOLOR* (nullptr: the system's); an owner-drawn item.
  virtual void Command(WORD Code) { (void)Code; }
  virtual LRESULT Notify(NMHDR& Header) { (void)Header; return 0; }
  virtual HBRUSH ControlColor(HDC DC);
  virtual void DrawItem(const DRAWITEMSTRUCT& Item) { (void)Item; }
  // The subclassed window's messages; the default calls the class's procedure.
  virtual LRESULT ControlProc(UINT Message, WPARAM WParam, LPARAM LParam);

  TForm& Owner;
  HWND Window = nullptr;
  TGdiObject<HBRUSH> Brush;  // set by SetColor
  TColor BrushColour = clBtnFace;
  // Where the control lies in the 96-DPI design, in its parent's client area.
  struct TDesignBounds {
    int Left = 0, Top = 0, Width = 0, Height = 0;
  } Design;
  bool PlacedByContainer = false;

 private:
  friend class TForm;
  static LRESULT CALLBACK StaticControlProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);
  WNDPROC ClassProc = nullptr;
};

// A static text, sized to its text whenever the text or the font changes.
