#pragma once
// Controls the toolkit paints itself (panels, shapes, images) and the page
// control whose pages are panels.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Control.h"

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
  // Takes ownership of a bitmap (nullptr clears the picture). A centred
  // picture is drawn at its own size in pixels, or, OfDesign, as a picture of
  // the 96-DPI design: at its size scaled to the image's DPI.
  void SetPicture(HBITMAP Picture, bool OfDesign = false);
  bool HasPicture() const { return static_cast<bool>(Picture); }

 private:
  void Paint(HDC DC, const RECT& Client) override;
  TGdiObject<HBITMAP> Picture;
  bool Stretch = false;
  bool PictureOfDesign = false;
};

// One page of a page control: a container shown while its tab is selected.
class TTabSheet : public TPanel {
 public:
  explicit TTabSheet(TForm& Owner) : TPanel(Owner) {}

 private:
  friend class TPageControl;  // which places its pages
};

// Tabs over pages. The pages are children of the tab control, placed in its
// display area; Ctrl+Tab and Ctrl+Shift+Tab walk them.
class TPageControl : public TControl {
 public:
  explicit TPageControl(TForm& Owner) : TControl(Owner) {}
  void Create(const TParent& Parent, int Id, int Left, int Top, int Width, int Height);
  // Adds a page with its tab caption, created here. The pages fill the area
  // below the tabs, whose height is the font's.
  void AddPage(TTabSheet& Page, int Id, const std::string& Caption);
  int ActivePageIndex() const { return static_cast<int>(SendMessageW(Window, TCM_GETCURSEL, 0, 0)); }
  void SetActivePageIndex(int Index);
  void SelectNextPage(bool Forward);

 private:
  LRESULT Notify(NMHDR& Header) override;
  void ApplyDpi() override;
  void PlacePages();
  void ShowActivePage();
  std::vector<TTabSheet*> Pages;
};
