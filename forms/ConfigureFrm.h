#pragma once
// TConfigureForm: the configuration dialog, the one window of the configure
// run mode. Its creation fills every control from a TSettings of its own
// (DialogSettings); OK writes them back, Cancel and the close box discard
// them. While it exists the host's window that started it is disabled.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "forms/FolderPreview.h"
#include "platform/CommonDialogs.h"
#include "platform/FolderDialog.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "settings/Settings.h"

// The open-picture dialog's preview of a file: the picture shrunk to fit
// Width x Height, keeping its proportions, as a bitmap of the screen's
// format that the caller owns; nullptr for a file the picture loader refuses.
HBITMAP PreviewPicture(const std::string& Path, int Width, int Height) noexcept;

class TConfigureForm : public TForm {
 public:
  // HostWindow: the window handed over by the screen-saver host (its parent
  // is the host's dialog), or nullptr.
  TConfigureForm(TApplication& Application, HWND HostWindow);
  ~TConfigureForm() override;

  std::unique_ptr<TSettings> DialogSettings;
  std::int32_t PreviewWidth = 0;
  std::int32_t PreviewHeight = 0;

  TPageControl PageControl1{*this};
  TTabSheet TabSheet1{*this}, TabSheet2{*this}, TabSheet3{*this};
  TPanel Panel1{*this};
  TButton BitBtn2{*this}, btnOk{*this}, btnCancel{*this};

  // Images page.
  TGroupBox GroupBox2{*this}, GroupBox1{*this};
  TListBox lstbxImages{*this};
  TButton btnadd{*this}, btnDelete{*this}, ViewBtn{*this}, Load{*this}, OpenBtn{*this}, AddFolder{*this};
  TLabel Label13{*this}, Label7{*this}, Label15{*this};
  TImage imgPreview{*this};
  TComboBox EditGroup{*this};
  TEdit LoadDir{*this};

  // Groups page.
  TGroupBox GroupBox4{*this};
  TListBox GroupsList{*this};
  TButton AddBtn{*this}, DeleteBtn{*this};
  TLabel Label8{*this};
  TEdit NewGroupName{*this};

  // Options page.
  TGroupBox GroupBox3{*this};
  TCheckBox MakeRandom{*this}, EndOnMouse{*this}, MaintainAspect{*this}, KeepAsWallpaper{*this}, ViewerOnTop{*this},
      ViewerStartup{*this}, ViewerHidden{*this}, ResetViewer{*this}, SetWallPaper{*this}, LimitScreen{*this},
      FadeBetweenPictures{*this}, AllMonitors{*this}, MixFoldersEvenly{*this};
  TSpinEdit ChangeWallpaper{*this}, ScreenMaxX{*this}, ScreenMaxY{*this}, MaxEnlargment{*this},
      edtTimerInterval{*this};
  TRadioButton rdbtnSeconds{*this}, rdbtnMinutes{*this};
  TComboBox GroupSelect{*this}, SlideShowGroup{*this}, WallPaperGroup{*this};
  TEdit SaveWallPaperAs{*this}, InstallDir{*this};
  TButton InstallDirBtn{*this};
  TShape Background{*this};
  TLabel Label11{*this}, Label4{*this}, Label5{*this}, Label1{*this}, Label2{*this}, Label6{*this}, Label9{*this},
      Label10{*this}, Label12{*this}, Label14{*this}, Label3{*this};

  TOpenPictureDialog opnDialog;
  TFolderPreview FolderPreview;
  TFolderDialog FolderDialog;
  TColorDialog ColorDialog1;

  // The Images page's list and its group file: ShowGroupImages loads
  // CurrentGroup into the list, StoreImageList saves the list as its file.
  void ShowGroupImages();
  void StoreImageList();
  // Appends every picture file (of a kind that a folder load lists) that matches the search
  // pattern directly in its folder, in the order the file system lists them.
  void BulkLoad(const std::string& Pattern);

 private:
  void CreateControls() override;
  void CreateImagesPage();
  void CreateGroupsPage();
  void CreateOptionsPage();
  void FormCreate() override;
  void FormDestroy() override;
  void FormDpiChanged() override;
  LRESULT WindowProc(UINT Message, WPARAM WParam, LPARAM LParam) override;
  void btnOkClick();
  void btnCancelClick();
  void BitBtn2Click();
  void LimitScreenClick();
  void BackgroundMouseDown();
  void InstallDirBtnClick();
  // Images page.
  void lstbxImagesClick();
  // Shows a folder entry's count and first picture, once found.
  void FolderPreviewReady();
  // Shows Picture (owned from now on; nullptr: none) in the preview box.
  void ShowPreview(HBITMAP Picture);
  void btnAddClick();
  void btnDeleteClick();
  void EditGroupChange();
  void ViewBtnClick();
  void OpenBtnClick();
  void LoadClick();
  void AddFolderClick();
  void ShowImageCount(std::size_t Count);
  // Groups page.
  void AddBtnClick();
  void DeleteBtnClick();
  TSettings& Settings();

  HWND HostWindow;
};
