#pragma once
// Thin wrappers over the standard and common controls, placed at their design
// pixel positions. A wrapper holds the control's window and the few things the
// window cannot hold (its event handlers, a font or brush of its own); every
// other state is asked of the window, mostly with one SendMessage. The owning
// form routes WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR* and WM_DRAWITEM of its
// controls to the wrappers, which call the form's named handler members.
// Controls are created by the form (in its CreateControls) and destroyed with
// its window.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Gdi.h"
#include "platform/SpinRange.h"

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
// (a group box drawn on that window) that the control's position is given in.
struct TParent {
  HWND Window = nullptr;
  int X = 0, Y = 0;
  TParent At(int DX, int DY) const { return TParent{Window, X + DX, Y + DY}; }
};

// The first visible and enabled tab stop among Parent's descendants, in tab
// order, looking into control parents (pages, panels); nullptr when none.
HWND FirstTabStop(HWND Parent);

// The font every control of every form starts with: MS Sans Serif 8 point.
HFONT DialogFont();
// Character height in pixels of a point size on the screen.
int PointsToHeight(int Points);

class TControl {
 public:
  virtual ~TControl();
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  HWND Handle() const { return Window; }
  int Id() const { return GetDlgCtrlID(Window); }
  void SetBounds(int Left, int Top, int Width, int Height);
  int Width() const;
  int Height() const;
  bool Enabled() const { return IsWindowEnabled(Window) != 0; }
  void SetEnabled(bool Enabled) { EnableWindow(Window, Enabled); }
  bool Visible() const { return IsWindowVisible(Window) != 0; }
  void SetVisible(bool Visible) { ShowWindow(Window, Visible ? SW_SHOW : SW_HIDE); }
  std::string Text() const;
  void SetText(const std::string& Text) { SetWindowTextA(Window, Text.c_str()); }
  void SetFocus() { ::SetFocus(Window); }
  // Paints the control now, without waiting for the message loop.
  void Repaint();
  // The background of the control (edit fields, painted controls).
  void SetColor(TColor Colour);

 protected:
  explicit TControl(TForm& Owner) : Owner(Owner) {}
  // Creates the window and registers it with the owning form.
  void CreateControl(const TParent& Parent, int Id, const char* ClassName, const std::string& Text, DWORD Style,
                     DWORD ExStyle, int Left, int Top, int Width, int Height);
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

 private:
  friend class TForm;
  static LRESULT CALLBACK StaticControlProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);
  WNDPROC ClassProc = nullptr;
};

// A static text, sized to its text whenever the text or the font changes.
class TLabel : public TControl {
 public:
  explicit TLabel(TForm& Owner) : TControl(Owner) {}
  void Create(const TParent& Parent, int Id, int Left, int Top, const std::string& Text);
  void SetText(const std::string& Text);
  // A font of the label's own, by character height in pixels or point size.
  void SetFontHeight(const char* Face, int Height, bool Bold = false);
  void SetFontPoints(const char* Face, int Points, bool Bold = false) { SetFontHeight(Face, PointsToHeight(Points), Bold); }
  int FontPoints() const;
  void SetFontColor(TColor Colour) { TextColour = Colour; }
  // Width in pixels of a text in the label's current font.
  int TextWidth(const std::string& Text) const;
  // A hand pointer over the label, and a handler of clicks.
  void SetHandCursor() { HandCursor = true; }
  template <typename T>
  void SetOnClick(void (T::*Handler)()) { OnClick = static_cast<TNotifyEvent>(Handler); }

 private:
  void AutoSize();
  HFONT CurrentFont() const;
  HBRUSH ControlColor(HDC DC) override;
  void Command(WORD Code) override;
  LRESULT ControlProc(UINT Message, WPARAM WParam, LPARAM LParam) override;
  TGdiObject<HFONT> OwnFont;
  std::string FontFace;
  int FontHeight = 0;
  bool FontBold = false;
  TColor TextColour = clBlack;
  bool HandCursor = false;
  TNotifyEvent OnClick = nullptr;
};

// The small pictures drawn on push buttons.
enum class TGlyph { None, Ok, Cancel, Info, Folder, Add, Delete, View, Load };

// What a button does to a modal form besides its handler.
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

// A push button with a glyph, drawn by the toolkit. An OK-kind button is the
// form's default button (Enter presses it), a Cancel-kind button its cancel
// button (Escape presses it); both close a modal form with their result.
class TButton : public TControl {
 public:
  enum TKind { bkCustom, bkOk, bkCancel };
  explicit TButton(TForm& Owner) : TControl(Owner) {}
  void Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height, const std::string& Caption,
              TGlyph Glyph = TGlyph::None, TKind Kind = bkCustom);
  template <typename T>
  void SetOnClick(void (T::*Handler)()) { OnClick = static_cast<TNotifyEvent>(Handler); }
  // What a click does: the handler, then the modal result.
  void Click();
  bool IsDefault() const { return Kind == bkOk; }

 private:
  void Command(WORD Code) override;
  void DrawItem(const DRAWITEMSTRUCT& Item) override;
  TGlyph Glyph = TGlyph::None;
  TKind Kind = bkCustom;
  TNotifyEvent OnClick = nullptr;
};

// A check box; its handler also runs when the program changes its state.
class TCheckBox : public TControl {
 public:
  explicit TCheckBox(TForm& Owner) : TControl(Owner) {}
  void Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height, const std::string& Caption);
  bool Checked() const { return SendMessageA(Window, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void SetChecked(bool Checked);
  template <typename T>
  void SetOnClick(void (T::*Handler)()) { OnClick = static_cast<TNotifyEvent>(Handler); }

 private:
  void Command(WORD Code) override;
  TNotifyEvent OnClick = nullptr;
};

// A radio button; FirstOfGroup starts a new exclusive group.
class TRadioButton : public TControl {
 public:
  explicit TRadioButton(TForm& Owner) : TControl(Owner) {}
  void Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height, const std::string& Caption,
              bool FirstOfGroup);
  bool Checked() const { return SendMessageA(Window, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void SetChecked(bool Checked) { SendMessageA(Window, BM_SETCHECK, Checked ? BST_CHECKED : BST_UNCHECKED, 0); }
};

// A group box: a frame with a caption that the controls inside are placed in.
class TGroupBox : public TControl {
 public:
  explicit TGroupBox(TForm& Owner) : TControl(Owner) {}
  void Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height, const std::string& Caption);
  // Where the controls inside it are placed.
  TParent Inside() const { return Area; }

 private:
  TParent Area;
};

// A one-line edit field.
class TEdit : public TControl {
 public:
  explicit TEdit(TForm& Owner) : TControl(Owner) {}
  void Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height);
};

// A one-line integer field with up and down buttons that add or subtract the
// step. Only digits, the decimal separator and signs can be typed; with a
// range (minimum and maximum differ) assigned values and the value left when
// the field loses the focus are pulled into it.
class TSpinEdit : public TControl {
 public:
  explicit TSpinEdit(TForm& Owner) : TControl(Owner) {}
  void Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height, std::int32_t Min,
              std::int32_t Max, std::int32_t Step);
  // The integer in the field, or the minimum when the text is no integer.
  std::int32_t Value() const { return Range.Read(Text()); }
  void SetValue(std::int64_t Value) { SetText(std::to_string(Range.Clamp(Value))); }
  void SetMaxValue(std::int32_t Max) { Range.Max = Max; }
  HWND UpDown() const { return Buttons; }

 private:
  void Command(WORD Code) override;
  LRESULT Notify(NMHDR& Header) override;
  LRESULT ControlProc(UINT Message, WPARAM WParam, LPARAM LParam) override;
  TSpinRange Range;
  std::int32_t Step = 1;
  HWND Buttons = nullptr;
  char DecimalSeparator = '.';
};

// A list kept in the toolkit's one sorted order (CompareText) when Sorted,
// else in insertion order. Shared by list boxes and combo boxes.
class TListControl : public TControl {
 public:
  int Count() const;
  std::string Item(int Index) const;
  // Adds at the end, or at its place in the sorted order after equal names.
  int Add(const std::string& Text);
  void Delete(int Index);
  void Clear();
  // The first item equal to Text without regard to case, or -1.
  int IndexOfText(const std::string& Text) const;
  int ItemIndex() const;
  void SetItemIndex(int Index);

  // The messages of one kind of list (LB_... or CB_...).
  struct TMessages {
    UINT Count, GetTextLength, GetText, AddString, InsertString, DeleteString, Reset, GetCurSel, SetCurSel;
  };

 protected:
  TListControl(TForm& Owner, const TMessages& Messages) : TControl(Owner), Msg(Messages) {}
  const TMessages& Msg;
  bool Sorted = false;
  bool MultiSelect = false;
};

class TListBox : public TListControl {
 public:
  explicit TListBox(TForm& Owner);
  void Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height, bool Sorted,
              bool MultiSelect);
  bool Selected(int Index) const { return SendMessageA(Window, LB_GETSEL, Index, 0) > 0; }
  template <typename T>
  void SetOnClick(void (T::*Handler)()) { OnClick = static_cast<TNotifyEvent>(Handler); }

 private:
  void Command(WORD Code) override;
  TNotifyEvent OnClick = nullptr;
};

// A drop-down list: the text is the selected item's, or empty.
class TComboBox : public TListControl {
 public:
  explicit TComboBox(TForm& Owner);
  void Create(const TParent& Parent, int Id, int Left, int Top, int Width, bool Sorted);
  template <typename T>
  void SetOnChange(void (T::*Handler)()) { OnChange = static_cast<TNotifyEvent>(Handler); }

 private:
  void Command(WORD Code) override;
  TNotifyEvent OnChange = nullptr;
};

// A window painted by the toolkit: panels, pages, shapes, images.
class TPaintedControl : public TControl {
 protected:
  explicit TPaintedControl(TForm& Owner) : TControl(Owner) {}
  void CreatePainted(const TParent& Parent, int Id, DWORD Style, DWORD ExStyle, int Left, int Top, int Width,
                     int Height);
  virtual void Paint(HDC DC, const RECT& Client) { (void)DC, (void)Client; }
  LRESULT ControlProc(UINT Message, WPARAM WParam, LPARAM LParam) override;
};

// A container of controls (a panel or a page): the messages of its controls go
// on to the form, and the dialog keys walk into it.
class TPanel : public TPaintedControl {
 public:
  enum TBevel { NoBevel, RaisedInnerLoweredOuter };
  explicit TPanel(TForm& Owner) : TPaintedControl(Owner) {}
  void Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height, TBevel Bevel);
  TParent Inside() const { return TParent{Window, 0, 0}; }

 protected:
  void Paint(HDC DC, const RECT& Client) override;
  LRESULT ControlProc(UINT Message, WPARAM WParam, LPARAM LParam) override;
  TBevel Bevel = NoBevel;
};

// A filled rectangle with an outline; reports mouse presses.
class TShape : public TPaintedControl {
 public:
  explicit TShape(TForm& Owner) : TPaintedControl(Owner) {}
  void Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height, TColor Outline);
  TColor Color() const { return BrushColour; }
  template <typename T>
  void SetOnMouseDown(void (T::*Handler)()) { OnMouseDown = static_cast<TNotifyEvent>(Handler); }

 private:
  void Paint(HDC DC, const RECT& Client) override;
  LRESULT ControlProc(UINT Message, WPARAM WParam, LPARAM LParam) override;
  TColor OutlineColour = clBlue;
  TNotifyEvent OnMouseDown = nullptr;
};

// A picture, stretched to the box or centred in it.
class TImage : public TPaintedControl {
 public:
  explicit TImage(TForm& Owner) : TPaintedControl(Owner) {}
  void Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height, bool Stretch);
  // Takes ownership of a bitmap (nullptr clears the picture).
  void SetPicture(HBITMAP Picture);

 private:
  void Paint(HDC DC, const RECT& Client) override;
  TGdiObject<HBITMAP> Picture;
  bool Stretch = false;
};

// A horizontal progress bar with a blue fill.
class TProgressBar : public TControl {
 public:
  explicit TProgressBar(TForm& Owner) : TControl(Owner) {}
  void Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height);
  void SetMax(std::int32_t Max) { SendMessageA(Window, PBM_SETRANGE32, 0, Max); }
};

class TPageControl;

// One page of a page control: a container shown while its tab is selected.
class TTabSheet : public TPanel {
 public:
  explicit TTabSheet(TForm& Owner) : TPanel(Owner) {}
};

// Tabs over pages. The pages are children of the tab control, placed in its
// display area; Ctrl+Tab and Ctrl+Shift+Tab walk them.
class TPageControl : public TControl {
 public:
  explicit TPageControl(TForm& Owner) : TControl(Owner) {}
  void Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height);
  // Adds a page with its tab caption, created here.
  void AddPage(TTabSheet& Page, int Id, const std::string& Caption);
  int ActivePageIndex() const { return static_cast<int>(SendMessageA(Window, TCM_GETCURSEL, 0, 0)); }
  void SetActivePageIndex(int Index);
  void SelectNextPage(bool Forward);

 private:
  LRESULT Notify(NMHDR& Header) override;
  void ShowActivePage();
  std::vector<TTabSheet*> Pages;
};
