// The Groups page of the configuration dialog: group names are added to and
// removed from the five lists that hold them (GroupsList and the combo boxes
// EditGroup, GroupSelect, SlideShowGroup and WallPaperGroup), which are all
// sorted alike, so that one index names the same group in each. The names
// reach the settings only through OK.
#include "core/Errors.h"
#include "core/ImagePageRules.h"
#include "forms/ConfigureFrm.h"

namespace {

// A group name that cannot name a file of its own in the group folder.
struct EGroupNameError : EError {
  explicit EGroupNameError(const std::string& Message) : EError(Message, "EGroupNameError") {}
};

}  // namespace

void TConfigureForm::AddBtnClick() {
  // Empty names and duplicates are added as they are; a name that would put
  // the group's file outside its folder is refused before any list changes.
  const std::string Name = NewGroupName.Text();
  const std::string Refusal = GroupNameRefusal(Name);
  if (!Refusal.empty()) throw EGroupNameError(Refusal);
  GroupsList.Add(Name);
  GroupSelect.Add(Name);
  EditGroup.Add(Name);
  SlideShowGroup.Add(Name);
  WallPaperGroup.Add(Name);
}

void TConfigureForm::DeleteBtnClick() {
  const int Index = GroupsList.ItemIndex();
  if (Index < 0 || Index >= GroupsList.Count()) throw EListError(Format("List index out of bounds (%d)", Index));
  // The group's file stays: Cancel must be able to undo the removal, and a
  // group created later under the same name finds its pictures again.
  const bool Edited = Index == EditGroup.ItemIndex();
  GroupSelect.Delete(Index);
  WallPaperGroup.Delete(Index);
  SlideShowGroup.Delete(Index);
  GroupsList.Delete(Index);
  EditGroup.Delete(Index);
  if (Edited) {
    // The removed group's unsaved changes are dropped.
    EditGroup.SetItemIndex(0);
    Settings().CurrentGroup = EditGroup.Text();
    ShowGroupImages();
  }
}
