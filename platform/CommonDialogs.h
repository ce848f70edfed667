#pragma once
// The system's common dialogs: the colour choice and the open-picture dialog.
// Each object keeps its settings between showings, like a form's component.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/Bitmap.h"

// The colour dialog, preset to Color; Color is the choice after OK.
class TColorDialog {
 public:
  TColor Color = 0;
  // Shows the dialog; true when the user confirmed.
  bool Execute(HWND Owner);

 private:
  COLORREF CustomColors[16] = {};
};

// A file-open dialog for pictures: several files may be chosen, read-only
// is hidden, the dialog can be resized, the filter offers every picture type
// the program loads, and a pane beside the file list previews the picture
// that is selected.
class TOpenPictureDialog {
 public:
  // Makes the preview of a file: a bitmap of at most Width x Height that the
  // dialog then owns, or nullptr for none. Must not throw.
  using TPreviewMaker = HBITMAP (*)(const std::string& Path, int Width, int Height) noexcept;
  TPreviewMaker MakePreview = nullptr;
  // The control number of the preview pane.
  static constexpr int PreviewId = 0x4A0;
  // A rectangle of the 96-DPI design in the part the program adds beside the
  // dialog's standard controls; at another DPI it is scaled (ScreenFont.h).
  struct TDesignRect {
    short X, Y, Width, Height;
  };
  // The part the program adds, the standard controls' place in it and the
  // preview pane.
  static constexpr TDesignRect AddedPart{0, 0, 252, 200};
  static constexpr TDesignRect StandardControls{0, 0, 20, 200};
  static constexpr TDesignRect PreviewPane{28, 8, 220, 184};

  std::string Title = "Select some images";
  // The folder the dialog starts in; whatever was last assigned.
  std::string InitialDir;
  // The chosen files as full paths, in the order the dialog returns them.
  std::vector<std::string> Files;
  // Shows the dialog; true when the user chose at least one file.
  bool Execute(HWND Owner);
  // The filter: entries of name NUL pattern NUL, the whole list ending in a
  // second NUL (as TPictureKinds::DialogFilter gives it).
  std::string Filter;
};

// Splits the file buffer of a multiple-selection open dialog ("folder" NUL
// "name" NUL ... NUL NUL, or one full path NUL NUL) into full paths.
std::vector<std::string> SplitOpenDialogFiles(const wchar_t* Buffer);
