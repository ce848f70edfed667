#pragma once
// The standard controls: labels, push buttons, check boxes, radio buttons,
// group boxes, edit fields, spin edits and the progress bar.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/SpinRange.h"
#include "platform/Control.h"

// A static text, sized to its text whenever the text, the font or the DPI
// changes; only its position is of the design.
class TLabel : public TControl {
 public:
  explicit TLabel(TForm& Owner) : TControl(Owner) {}
  void Create(const TParent& Parent, int Id, int Left, int Top, const std::string& Text);
  void SetText(const std::string& Text);
  // A font of the label's own, by character height in pixels of the 96-DPI
  // design or by point size.
  void SetFontHeight(const char* Face, int Height, bool Bold = false);
  void SetFontPoints(const char* Face, int Points, bool Bold = false) { SetFontHeight(Face, PointsToHeight(Points), Bold); }
  int FontPoints() const;
  void SetFontColor(TColor Colour) { TextColour = Colour; }
  // Width in pixels of a text in the label's current font, at its DPI.
  int TextWidth(const std::string& Text) const;
  // A hand pointer over the label, and a handler of clicks.
  void SetHandCursor() { HandCursor = true; }
  template <typename T>
  void SetOnClick(void (T::*Handler)()) { OnClick = static_cast<TNotifyEvent>(Handler); }

 private:
  void AutoSize();
  HFONT CurrentFont() const;
  void ApplyDpi() override;
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

// A push button with a glyph, drawn by the toolkit (the glyph in a cell of
// 16 x 16 design pixels). An OK-kind button is the
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
  bool Checked() const { return SendMessageW(Window, BM_GETCHECK, 0, 0) == BST_CHECKED; }
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
  bool Checked() const { return SendMessageW(Window, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void SetChecked(bool Checked) { SendMessageW(Window, BM_SETCHECK, Checked ? BST_CHECKED : BST_UNCHECKED, 0); }
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
  // It holds names (of folders, files, groups).
  HFONT FontHere() const override { return NamesFontForDpi(Dpi()); }
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
  void ApplyDpi() override;
  // Places the field at its design bounds and the buttons inside its right
  // edge, ButtonsWidth design pixels wide, over its border.
  void AlignButtons();
  static constexpr int ButtonsWidth = 16, ButtonsOverlap = 2;
  TSpinRange Range;
  std::int32_t Step = 1;
  HWND Buttons = nullptr;
  char DecimalSeparator = '.';
};

// A horizontal progress bar with a blue fill.
class TProgressBar : public TControl {
 public:
  explicit TProgressBar(TForm& Owner) : TControl(Owner) {}
  void Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height);
  void SetMax(std::int32_t Max) { SendMessageW(Window, PBM_SETRANGE32, 0, Max); }
};
