#include "platform/ListControls.h"

#include <algorithm>

#include "core/TextCompare.h"
#include "platform/WideText.h"

namespace {

const TListControl::TMessages ListBoxMessages{LB_GETCOUNT,     LB_GETTEXTLEN,   LB_GETTEXT,
                                              LB_ADDSTRING,    LB_INSERTSTRING, LB_DELETESTRING,
                                              LB_RESETCONTENT, LB_GETCURSEL,    LB_SETCURSEL};
const TListControl::TMessages ComboBoxMessages{CB_GETCOUNT,     CB_GETLBTEXTLEN, CB_GETLBTEXT,
                                               CB_ADDSTRING,    CB_INSERTSTRING, CB_DELETESTRING,
                                               CB_RESETCONTENT, CB_GETCURSEL,    CB_SETCURSEL};

}  // namespace

int TListControl::Count() const { return static_cast<int>(SendMessageW(Window, Msg.Count, 0, 0)); }

std::string TListControl::Item(int Index) const {
  const LRESULT Length = SendMessageW(Window, Msg.GetTextLength, Index, 0);
  if (Length < 0) return std::string();
  std::wstring Result(static_cast<std::size_t>(Length) + 1, L'\0');
  const LRESULT Got = SendMessageW(Window, Msg.GetText, Index, reinterpret_cast<LPARAM>(Result.data()));
  Result.resize(Got < 0 ? 0 : static_cast<std::size_t>(Got));
  return Utf8(Result);
}

int TListControl::Add(const std::string& Text) {
  if (!Sorted)
    return static_cast<int>(SendMessageW(Window, Msg.AddString, 0, reinterpret_cast<LPARAM>(Wide(Text).c_str())));
  // After the last item that does not sort after Text (binary search).
  int Low = 0, High = Count();
  while (Low < High) {
    const int Mid = (Low + High) / 2;
    if (CompareText(Item(Mid), Text) <= 0)
      Low = Mid + 1;
    else
      High = Mid;
  }
  return static_cast<int>(
      SendMessageW(Window, Msg.InsertString, Low, reinterpret_cast<LPARAM>(Wide(Text).c_str())));
}

void TListControl::Delete(int Index) {
  const bool WasSelected = !MultiSelect && ItemIndex() == Index;
  SendMessageW(Window, Msg.DeleteString, Index, 0);
  if (WasSelected) SetItemIndex(-1);
}
void TListControl::Clear() { SendMessageW(Window, Msg.Reset, 0, 0); }

int TListControl::IndexOfText(const std::string& Text) const {
  const int N = Count();
  for (int I = 0; I < N; ++I)
    if (SameText(Item(I), Text)) return I;
  return -1;
}

int TListControl::ItemIndex() const {
  if (MultiSelect) return static_cast<int>(SendMessageW(Window, LB_GETCARETINDEX, 0, 0));
  return static_cast<int>(SendMessageW(Window, Msg.GetCurSel, 0, 0));
}

void TListControl::SetItemIndex(int Index) {
  if (MultiSelect) {
    SendMessageW(Window, LB_SETSEL, FALSE, -1);
    if (Index >= 0) SendMessageW(Window, LB_SETSEL, TRUE, Index);
    SendMessageW(Window, LB_SETCARETINDEX, Index, FALSE);
    return;
  }
  SendMessageW(Window, Msg.SetCurSel, Index, 0);
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

void TListBox::SetItemHeight(int DesignHeight) {
  ItemHeight = DesignHeight;
  ApplyItemHeight();
}

void TListBox::ApplyItemHeight() {
  if (ItemHeight > 0)
    SendMessageW(Window, LB_SETITEMHEIGHT, 0, std::max(Scale(ItemHeight), FontHeight(FontHere())));
}

void TListBox::ApplyDpi() {
  TListControl::ApplyDpi();
  // A new font sets the font's item height.
  ApplyItemHeight();
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
