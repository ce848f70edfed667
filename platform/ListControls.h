#pragma once
// List boxes and drop-down combo boxes, sorted by the toolkit's one order.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Control.h"

// A list kept in the toolkit's one sorted order (CompareText) when Sorted,
// else in insertion order. Shared by list boxes and combo boxes.
class TListControl : public TControl {
 public:
  int Count() const;
  std::string Item(int Index) const;
  // Adds at the end, or at its place in the sorted order after equal names.
  int Add(const std::string& Text);
  // Removes an item; a single-selection list whose selected item it was is
  // left without selection.
  void Delete(int Index);
  void Clear();
  // The first item equal to Text without regard to case, or -1.
  int IndexOfText(const std::string& Text) const;
  int ItemIndex() const;
  void SetItemIndex(int Index);
  // It lists names (of pictures, groups).
  HFONT FontHere() const override { return NamesFontForDpi(Dpi()); }

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
  bool Selected(int Index) const { return SendMessageW(Window, LB_GETSEL, Index, 0) > 0; }
  // The height of every item in pixels of the 96-DPI design (instead of the
  // font's), kept at every DPI, or the font's when that is taller.
  void SetItemHeight(int DesignHeight);
  // Stops and restarts repainting the list after changes (WM_SETREDRAW).
  void SetRedraw(bool Redraw) { SendMessageW(Window, WM_SETREDRAW, Redraw, 0); }
  template <typename T>
  void SetOnClick(void (T::*Handler)()) { OnClick = static_cast<TNotifyEvent>(Handler); }

 private:
  void Command(WORD Code) override;
  void ApplyDpi() override;
  void ApplyItemHeight();
  TNotifyEvent OnClick = nullptr;
  int ItemHeight = 0;  // of the design; 0: the font's
};

// A drop-down list: the text is the selected item's, or empty. Its height is
// the font's; the design gives its width and the height of the list.
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

// Suspends the repainting of a list box while a batch of changes is made (a
// visible list box otherwise updates its scroll bar with every item); on
// every path out of its scope repainting resumes and the list is repainted.
class TListUpdate {
 public:
  explicit TListUpdate(TListBox& List) : List(List) { List.SetRedraw(false); }
  ~TListUpdate() { Refresh(false); }
  // Paints the list as it is now, to show the progress of a long batch, and
  // goes on suspending unless Suspend is false.
  void Refresh(bool Suspend = true) {
    List.SetRedraw(true);
    InvalidateRect(List.Handle(), nullptr, TRUE);
    UpdateWindow(List.Handle());
    if (Suspend) List.SetRedraw(false);
  }
  TListUpdate(const TListUpdate&) = delete;
  TListUpdate& operator=(const TListUpdate&) = delete;

 private:
  TListBox& List;
};
