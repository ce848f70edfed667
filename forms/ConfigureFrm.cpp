#include "forms/ConfigureFrm.h"

#include <string>

#include "core/ConfigureValues.h"
#include "core/FitImage.h"
#include "forms/About.h"
#include "forms/ControlIds.h"
#include "picture/InstalledPictureKinds.h"
#include "picture/PictureFile.h"
#include "platform/Application.h"
#include "platform/WideText.h"

HBITMAP PreviewPicture(const std::string& Path, int Width, int Height) noexcept {
  try {
    const TPictureFile Picture(Path);
    int W = Picture.Width(), H = Picture.Height();
    FitImage(Width, Height, true, 1.0, W, H);
    return Picture.Render(W, H);
  } catch (...) {
    return nullptr;  // no preview for a file that cannot be shown
  }
}

TConfigureForm::TConfigureForm(TApplication& Application, HWND Host) : TForm(Application), HostWindow(Host) {
  TFormStyle Style;
  Style.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  Style.ExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  Style.Left = 216;
  Style.Top = 146;
  Style.ClientWidth = 547;
  Style.ClientHeight = 358;
  Style.Scaled = true;
  Style.DialogKeys = true;
  Style.ClassName = "TConfigureForm";
  opnDialog.MakePreview = PreviewPicture;
  opnDialog.Filter = InstalledPictureKinds().DialogFilter();
  CreateForm(Style);
}

TConfigureForm::~TConfigureForm() = default;

void TConfigureForm::CreateControls() {
  const TParent Form{Handle(), 0, 0};
  PageControl1.Create(Form, idPageControl, 0, 0, 547, 310);
  PageControl1.AddPage(TabSheet1, idTabImages, "Images");
  PageControl1.AddPage(TabSheet2, idTabGroups, "Groups");
  PageControl1.AddPage(TabSheet3, idTabOptions, "Options");
  SetPageControl(&PageControl1);
  CreateImagesPage();
  CreateGroupsPage();
  CreateOptionsPage();
  PageControl1.SetActivePageIndex(0);

  Panel1.Create(Form, idBottomPanel, 0, 310, 547, 48, TPanel::NoBevel);
  const TParent Bottom = Panel1.Inside();
  BitBtn2.Create(Bottom, idAbout, 224, 16, 75, 25, "About", TGlyph::Info);
  btnOk.Create(Bottom, idOk, 384, 16, 75, 25, "OK", TGlyph::Ok, TButton::bkOk);
  btnCancel.Create(Bottom, idCancel, 464, 16, 75, 25, "Cancel", TGlyph::Cancel, TButton::bkCancel);
  BitBtn2.SetOnClick(&TConfigureForm::BitBtn2Click);
  btnOk.SetOnClick(&TConfigureForm::btnOkClick);
  btnCancel.SetOnClick(&TConfigureForm::btnCancelClick);
}

void TConfigureForm::CreateImagesPage() {
  const TParent Page = TabSheet1.Inside();
  GroupBox2.Create(Page, idImagesBox, 8, 4, 289, 185, "Images to draw on screen (select one for a preview):");
  const TParent Images = GroupBox2.Inside();
  lstbxImages.Create(Images, idImageList, 8, 16, 273, 129, false, true);
  lstbxImages.SetItemHeight(13);
  lstbxImages.SetOnClick(&TConfigureForm::lstbxImagesClick);
  btnadd.Create(Images, idAddImages, 208, 152, 75, 25, "Add", TGlyph::Add);
  btnadd.SetOnClick(&TConfigureForm::btnAddClick);
  btnDelete.Create(Images, idDeleteImages, 120, 152, 75, 25, "Delete", TGlyph::Delete);
  btnDelete.SetOnClick(&TConfigureForm::btnDeleteClick);
  Label13.Create(Images, idImageCount, 8, 152, "");
  GroupBox1.Create(Page, idPreviewBox, 296, 4, 233, 185, "Preview");
  imgPreview.Create(GroupBox1.Inside(), idPreview, 8, 16, 217, 161, false);
  Label7.Create(Page, idImagesLabels, 8, 208, "Group");
  EditGroup.Create(Page, idEditGroup, 56, 208, 145, true);
  EditGroup.SetOnChange(&TConfigureForm::EditGroupChange);
  ViewBtn.Create(Page, idView, 456, 200, 75, 25, "View", TGlyph::View);
  ViewBtn.SetOnClick(&TConfigureForm::ViewBtnClick);
  Label15.Create(Page, idImagesLabels + 1, 8, 232, "Directory");
  LoadDir.Create(Page, idLoadDir, 56, 232, 361, 21);
  Load.Create(Page, idLoad, 456, 232, 75, 25, "Load", TGlyph::Load);
  Load.SetOnClick(&TConfigureForm::LoadClick);
  OpenBtn.Create(Page, idOpenDir, 424, 232, 25, 25, "", TGlyph::Folder);
  OpenBtn.SetOnClick(&TConfigureForm::OpenBtnClick);
  // In the free part of the group row, its right edge in line with the
  // folder button's below it; last in tab order.
  AddFolder.Create(Page, idAddFolder, 360, 200, 89, 25, "Add Folder", TGlyph::Add);
  AddFolder.SetOnClick(&TConfigureForm::AddFolderClick);
}

void TConfigureForm::CreateGroupsPage() {
  const TParent Page = TabSheet2.Inside();
  GroupBox4.Create(Page, idGroupsBox, 8, 12, 521, 221, "Image Groups");
  const TParent Groups = GroupBox4.Inside();
  GroupsList.Create(Groups, idGroupsList, 8, 16, 417, 145, true, false);
  AddBtn.Create(Groups, idAddGroup, 440, 136, 75, 25, "Add", TGlyph::Add);
  AddBtn.SetOnClick(&TConfigureForm::AddBtnClick);
  DeleteBtn.Create(Groups, idDeleteGroup, 440, 168, 75, 25, "Delete", TGlyph::Delete);
  DeleteBtn.SetOnClick(&TConfigureForm::DeleteBtnClick);
  Label8.Create(Groups, idGroupsLabels, 16, 184, "New Group Name:");
  NewGroupName.Create(Groups, idNewGroupName, 112, 184, 313, 21);
}

void TConfigureForm::CreateOptionsPage() {
  GroupBox3.Create(TabSheet3.Inside(), idOptionsBox, 0, 4, 529, 261, "Options");
  const TParent Box = GroupBox3.Inside();
  int Label = idOptionsLabels;
  MakeRandom.Create(Box, idMakeRandom, 8, 16, 81, 17, "Randomize");
  EndOnMouse.Create(Box, idEndOnMouse, 8, 32, 129, 17, "End On Mouse Move");
  MaintainAspect.Create(Box, idMaintainAspect, 8, 48, 129, 17, "Maintain Aspect Ratio");
  KeepAsWallpaper.Create(Box, idKeepAsWallpaper, 8, 64, 161, 17, "Keep As WallPaper On Exit");
  ViewerOnTop.Create(Box, idViewerOnTop, 8, 80, 121, 17, "Slide Show On Top");
  ViewerStartup.Create(Box, idViewerStartup, 8, 96, 161, 17, "Run Slide Show On Startup");
  ViewerHidden.Create(Box, idViewerHidden, 8, 112, 169, 17, "Run Slide Show Hidden");
  ResetViewer.Create(Box, idResetViewer, 8, 128, 161, 17, "Reset Slide Show To Default");
  SetWallPaper.Create(Box, idSetWallPaper, 8, 144, 169, 17, "Change Wallpaper On Startup");
  Label3.Create(Box, Label++, 8, 164, "Background Color");
  Background.Create(Box, idBackground, 104, 168, 17, 17, clBlue);
  Background.SetOnMouseDown(&TConfigureForm::BackgroundMouseDown);
  Label11.Create(Box, Label++, 8, 192, "Change WallPaper  ");
  ChangeWallpaper.Create(Box, idChangeWallpaper, 104, 192, 57, 22, 0, 0, 1);
  // In the gap between the Change WallPaper row and the install folder row;
  // created here so that it follows the Change WallPaper field in tab order.
  FadeBetweenPictures.Create(Box, idFadeBetweenPictures, 8, 214, 137, 17, "Fade Between Pictures");
  LimitScreen.Create(Box, idLimitScreen, 184, 16, 129, 17, "Limit Max Screen Size");
  LimitScreen.SetOnClick(&TConfigureForm::LimitScreenClick);
  AllMonitors.Create(Box, idAllMonitors, 392, 16, 129, 17, "Show On All Monitors");
  // Below Show On All Monitors, on the row of the width field, which ends
  // left of it.
  MixFoldersEvenly.Create(Box, idMixFoldersEvenly, 392, 36, 129, 17, "Mix Folders Evenly");
  Label4.Create(Box, Label++, 200, 36, "Maximum Width (Pixels)");
  ScreenMaxX.Create(Box, idScreenMaxX, 320, 35, 65, 22, 100, 9000, 50);
  Label5.Create(Box, Label++, 200, 60, "Maximum Height (Pixels)");
  ScreenMaxY.Create(Box, idScreenMaxY, 320, 59, 65, 22, 50, 2000, 50);
  Label1.Create(Box, Label++, 184, 84, "Max Percent Enlargment:");
  MaxEnlargment.Create(Box, idMaxEnlargment, 320, 83, 65, 22, 100, 1000, 5);
  Label2.Create(Box, Label++, 184, 108, "Image Interval:");
  edtTimerInterval.Create(Box, idTimerInterval, 320, 107, 65, 22, 1, 1, 1);
  rdbtnSeconds.Create(Box, idSeconds, 392, 104, 65, 17, "Seconds", true);
  rdbtnMinutes.Create(Box, idMinutes, 464, 104, 62, 17, "Minutes", false);
  Label6.Create(Box, Label++, 184, 136, "Selected Image Group:");
  GroupSelect.Create(Box, idGroupSelect, 320, 136, 145, true);
  Label9.Create(Box, Label++, 184, 160, "Slide Show Group:");
  SlideShowGroup.Create(Box, idSlideShowGroup, 320, 160, 145, true);
  Label10.Create(Box, Label++, 184, 184, "WallPaper Group:");
  WallPaperGroup.Create(Box, idWallPaperGroup, 320, 184, 145, true);
  Label12.Create(Box, Label++, 184, 208, "Save WallPaper As:");
  SaveWallPaperAs.Create(Box, idSaveWallPaperAs, 320, 208, 193, 21);
  Label14.Create(Box, Label++, 8, 232, "Install Directory:");
  InstallDir.Create(Box, idInstallDir, 96, 232, 385, 21);
  InstallDirBtn.Create(Box, idInstallDirBtn, 488, 232, 27, 25, "", TGlyph::Folder);
  InstallDirBtn.SetOnClick(&TConfigureForm::InstallDirBtnClick);
}

void TConfigureForm::FormCreate() {
  PreviewWidth = imgPreview.Width();
  PreviewHeight = imgPreview.Height();
  SetWindowTextUtf8(Handle(), "Configure " + Application().Title());
  edtTimerInterval.SetMaxValue(2147483647);
  if (HostWindow) EnableWindow(GetParent(HostWindow), FALSE);
  DialogSettings = std::make_unique<TSettings>();
  TSettings& S = *DialogSettings;
  MaxEnlargment.SetValue(PercentFromFactor(S.MaxPercent));
  ShowGroupImages();
  for (const std::string& Name : S.GroupNames) {
    GroupsList.Add(Name);
    GroupSelect.Add(Name);
    EditGroup.Add(Name);
    WallPaperGroup.Add(Name);
    SlideShowGroup.Add(Name);
  }
  GroupSelect.SetItemIndex(GroupSelect.IndexOfText(S.SelectedGroup));
  EditGroup.SetItemIndex(EditGroup.IndexOfText(S.SelectedGroup));
  WallPaperGroup.SetItemIndex(WallPaperGroup.IndexOfText(S.WallPaperGroup));
  SlideShowGroup.SetItemIndex(SlideShowGroup.IndexOfText(S.SlideShowGroup));
  ChangeWallpaper.SetValue(S.ChangeWallPaper);
  SaveWallPaperAs.SetText(S.SaveWallPaperAs);
  InstallDir.SetText(S.InstallDir);
  // The text is assigned directly: the field's bounds do not apply here.
  const TIntervalDisplay Interval = IntervalDisplay(S.TimerInterval);
  edtTimerInterval.SetText(std::to_string(Interval.Shown));
  rdbtnSeconds.SetChecked(Interval.Unit == TIntervalUnit::Seconds);
  rdbtnMinutes.SetChecked(Interval.Unit == TIntervalUnit::Minutes);
  Background.SetColor(S.Background);
  KeepAsWallpaper.SetChecked(S.KeepAsWallpaper);
  MaintainAspect.SetChecked(S.MaintainAspect);
  MakeRandom.SetChecked(S.RandomOrder);
  ScreenMaxX.SetValue(S.MaxScreenX);
  ScreenMaxY.SetValue(S.MaxScreenY);
  LimitScreen.SetChecked(S.LimitScreenSize);
  EndOnMouse.SetChecked(S.EndOnMouse);
  SetWallPaper.SetChecked(S.SetWallpaper);
  ViewerOnTop.SetChecked(S.SlideShowOnTop);
  ViewerStartup.SetChecked(S.SlideShowStartup);
  ViewerHidden.SetChecked(S.SlideShowHidden);
  FadeBetweenPictures.SetChecked(S.FadeBetweenPictures);
  AllMonitors.SetChecked(S.AllMonitors);
  MixFoldersEvenly.SetChecked(S.MixFoldersEvenly);
  LimitScreenClick();
}

void TConfigureForm::FormDpiChanged() {
  // The preview box has its design size at the new DPI: a picture shown in
  // it is fitted again. (A move before the controls exist changes nothing.)
  if (!imgPreview.Handle()) return;
  PreviewWidth = imgPreview.Width();
  PreviewHeight = imgPreview.Height();
  if (imgPreview.HasPicture()) lstbxImagesClick();
}

LRESULT TConfigureForm::WindowProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == TFolderPreview::ReadyMessage) {
    FolderPreviewReady();
    return 0;
  }
  return TForm::WindowProc(Message, WParam, LParam);
}

void TConfigureForm::FormDestroy() {
  FolderPreview.Cancel();
  DialogSettings.reset();
  if (HostWindow) {
    HWND Host = GetParent(HostWindow);
    EnableWindow(Host, TRUE);
    SetForegroundWindow(Host);
  }
}

TSettings& TConfigureForm::Settings() {
  // Settings that could not be read at creation (a value of the wrong type)
  // are read again, so that the error is reported again instead of saving
  // controls that were never filled.
  if (!DialogSettings) DialogSettings = std::make_unique<TSettings>();
  return *DialogSettings;
}

void TConfigureForm::btnOkClick() {
  TSettings& S = Settings();
  S.GroupNames.clear();
  StoreImageList();
  for (int I = 0; I < GroupsList.Count(); ++I) S.GroupNames.push_back(GroupsList.Item(I));
  S.SelectedGroup = GroupSelect.Text();
  S.TimerInterval = IntervalFromText(edtTimerInterval.Text(), rdbtnSeconds.Checked() ? TIntervalUnit::Seconds
                                                                                      : TIntervalUnit::Minutes);
  S.Background = Background.Color();
  S.KeepAsWallpaper = KeepAsWallpaper.Checked();
  S.FadeBetweenPictures = FadeBetweenPictures.Checked();
  S.AllMonitors = AllMonitors.Checked();
  S.MixFoldersEvenly = MixFoldersEvenly.Checked();
  S.MaxPercent = MaxEnlargment.Value() / 100.0;
  S.MaintainAspect = MaintainAspect.Checked();
  S.EndOnMouse = EndOnMouse.Checked();
  S.RandomOrder = MakeRandom.Checked();
  S.LimitScreenSize = LimitScreen.Checked();
  S.MaxScreenX = ScreenMaxX.Value();
  S.MaxScreenY = ScreenMaxY.Value();
  S.SetWallpaper = SetWallPaper.Checked();
  S.WallPaperGroup = WallPaperGroup.Text();
  S.SlideShowGroup = SlideShowGroup.Text();
  S.ChangeWallPaper = ChangeWallpaper.Value();
  S.SaveWallPaperAs = SaveWallPaperAs.Text();
  S.InstallDir = InstallDir.Text();
  if (ResetViewer.Checked()) {
    // Clears the three viewer flags as well; they are set again below.
    S.ResetSlideShowPlacement();
    S.SaveSlideShowPlacement();
  }
  S.SlideShowOnTop = ViewerOnTop.Checked();
  S.SlideShowHidden = ViewerHidden.Checked();
  S.SlideShowStartup = ViewerStartup.Checked();
  S.SaveSettings();
  Close();
}

void TConfigureForm::btnCancelClick() { Close(); }

void TConfigureForm::BitBtn2Click() { ShowAboutBox(Application(), Handle()); }

void TConfigureForm::LimitScreenClick() {
  const bool Limited = LimitScreen.Checked();
  for (TSpinEdit* Field : {&ScreenMaxX, &ScreenMaxY}) {
    Field->SetEnabled(Limited);
    Field->SetColor(Limited ? clWindow : clBtnFace);
  }
}

void TConfigureForm::BackgroundMouseDown() {
  ColorDialog1.Color = Background.Color();
  if (ColorDialog1.Execute(Handle())) Background.SetColor(ColorDialog1.Color);
}

void TConfigureForm::InstallDirBtnClick() {
  opnDialog.InitialDir = InstallDir.Text();
  if (!opnDialog.Execute(Handle())) return;
  const std::string& First = opnDialog.Files.front();
  InstallDir.SetText(First.substr(0, First.find_last_of('\\') + 1));
}
