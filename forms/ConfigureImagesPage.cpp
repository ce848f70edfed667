// The Images page of the configuration dialog: the picture list of the group
// being edited, its count, the preview, the group switch, the viewer, the
// folder load and the folder entries.
#include <windows.h>

#include "core/ConfigureValues.h"
#include "core/FitImage.h"
#include "core/FolderEntry.h"
#include "core/ImagePageRules.h"
#include "core/Ticks.h"
#include "forms/ConfigureFrm.h"
#include "picture/InstalledPictureKinds.h"
#include "picture/PictureFile.h"
#include "platform/Application.h"
#include "platform/FileSearch.h"
#include "platform/Files.h"
#include "platform/Locale.h"
#include "platform/StartProgram.h"

namespace {

std::string ThousandSeparator() { return UserLocaleInfo(LOCALE_STHOUSAND, ","); }

// Long loops show their progress this often, in milliseconds.
constexpr std::uint32_t ProgressInterval = 100;

}  // namespace

void TConfigureForm::ShowImageCount(std::size_t Count) {
  Label13.SetText("Images = " + GroupThousands(Count, ThousandSeparator()));
}

void TConfigureForm::ShowGroupImages() {
  TSettings& S = Settings();
  S.LoadGroup(S.CurrentGroup);
  lstbxImages.Clear();
  ShowImageCount(0);
  Label13.Repaint();
  // The count runs up visibly while a large group fills the list: it is
  // repainted with the number added so far whenever a progress interval has
  // passed (a repaint after every entry would cost more than the filling).
  const std::string Separator = ThousandSeparator();
  const std::size_t N = S.ImageQueue.Count();
  TListUpdate Suspended(lstbxImages);
  std::uint32_t Shown = GetTickCount();
  for (std::size_t I = 0; I < N; ++I) {
    lstbxImages.Add(std::string(S.ImageQueue[I]));
    if (I + 1 == N || TickDue(Shown, GetTickCount(), ProgressInterval)) {
      Label13.SetText("Images = " + GroupThousands(I + 1, Separator));
      Label13.Repaint();
      Suspended.Refresh();
      TApplication::ProcessPaintMessages();
    }
  }
}

void TConfigureForm::StoreImageList() {
  TSettings& S = Settings();
  S.ImageQueue.Clear();
  const int N = lstbxImages.Count();
  for (int I = 0; I < N; ++I) S.ImageQueue.Add(lstbxImages.Item(I));
  S.SaveGroup(S.CurrentGroup);
}

void TConfigureForm::lstbxImagesClick() {
  // The entry with the focus, not the whole selection, is previewed.
  const int Focused = lstbxImages.ItemIndex();
  if (Focused < 0 || Focused >= lstbxImages.Count()) return;
  const std::string Entry = lstbxImages.Item(Focused);
  // A folder entry's pictures are found by listing its folder or reading
  // the index, never on this thread: its preview comes when found.
  if (IsFolderEntry(Entry)) {
    FolderPreview.Request(Handle(), Entry, PreviewWidth, PreviewHeight, PreviewPicture);
    return;
  }
  FolderPreview.Cancel();
  // A file that cannot be shown raises here, before the preview changes.
  const TPictureFile Picture(Entry);
  int W = Picture.Width(), H = Picture.Height();
  FitImage(PreviewWidth, PreviewHeight, MaintainAspect.Checked(), 1.0, W, H);
  GroupBox1.SetText("Preview");
  ShowPreview(Picture.Render(W, H));
}

void TConfigureForm::ShowPreview(HBITMAP Picture) {
  BITMAP Info{};
  if (Picture && GetObjectW(Picture, sizeof Info, &Info)) imgPreview.SetSize(Info.bmWidth, Info.bmHeight);
  imgPreview.SetPicture(Picture);
}

void TConfigureForm::FolderPreviewReady() {
  TFolderPreview::TSummary Summary;
  if (!FolderPreview.Take(Summary)) return;
  GroupBox1.SetText("Preview: " + GroupThousands(Summary.Count, ThousandSeparator()) +
                    (Summary.Count == 1 ? " picture" : " pictures"));
  ShowPreview(Summary.Picture);
}

void TConfigureForm::btnAddClick() {
  if (opnDialog.Execute(Handle()))
    for (const std::string& File : opnDialog.Files) lstbxImages.Add(File);
  ShowImageCount(static_cast<std::size_t>(lstbxImages.Count()));
}

void TConfigureForm::btnDeleteClick() {
  {
    const TListUpdate Suspended(lstbxImages);
    // Backwards, so the entries still to be visited keep their positions.
    for (int I = lstbxImages.Count() - 1; I >= 0; --I)
      if (lstbxImages.Selected(I)) lstbxImages.Delete(I);
  }
  ShowImageCount(static_cast<std::size_t>(lstbxImages.Count()));
}

void TConfigureForm::EditGroupChange() {
  StoreImageList();  // CurrentGroup still names the group being left
  Settings().CurrentGroup = EditGroup.Text();
  ShowGroupImages();
}

void TConfigureForm::ViewBtnClick() {
  // The install folder loaded when the dialog opened, not the edit box's text.
  const std::string CommandLine = ViewerSlideShowCommand(Settings().InstallDir, EditGroup.Text());
  StartProgram(CommandLine);
}

void TConfigureForm::OpenBtnClick() {
  // Starts in the folder that the field names; the folder chosen goes into
  // the field with "*.*", the pattern that Load lists and that Add Folder
  // drops, and Add's file dialog starts there next.
  const std::string Named = FolderEntryFromField(LoadDir.Text());
  FolderDialog.InitialDir = Named.empty() ? std::string() : FolderEntryPath(FullPathName(Named));
  if (!FolderDialog.Execute(Handle())) return;
  LoadDir.SetText(ChildPath(FolderDialog.Folder, "*.*"));
  opnDialog.InitialDir = FolderDialog.Folder;
}

void TConfigureForm::LoadClick() { BulkLoad(LoadDir.Text()); }

void TConfigureForm::AddFolderClick() {
  // The folder that the field names, its file mask dropped, becomes one
  // entry; a relative one is resolved against the current folder, where
  // Load searches it. Nothing of the folder is read here.
  const std::string Named = FolderEntryFromField(LoadDir.Text());
  if (Named.empty()) return;
  lstbxImages.Add(FolderEntryFromField(FullPathName(Named)));
  ShowImageCount(static_cast<std::size_t>(lstbxImages.Count()));
}

void TConfigureForm::BulkLoad(const std::string& Pattern) {
  const std::string Folder = PatternFolder(Pattern);
  // Every kind of entry is listed, hidden and system files too; folders are
  // skipped and not searched. The list shows its first entry at once (a
  // slow folder's first file may take a while), then how far it got each
  // progress interval.
  TListUpdate Suspended(lstbxImages);
  std::uint32_t Shown = GetTickCount() - ProgressInterval;
  for (TFileSearch Search(Pattern); Search.Found(); Search.Next()) {
    if (Search.Attributes() & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string Name = Search.Name();
    if (InstalledPictureKinds().ListedByLoad(Name)) lstbxImages.Add(Folder + Name);
    // A large folder takes a while: the list shows how far it got and the
    // dialog keeps answering and painting.
    if (TickDue(Shown, GetTickCount(), ProgressInterval)) {
      Suspended.Refresh();
      TApplication::ProcessPaintMessages();
    }
  }
}
