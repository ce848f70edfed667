#pragma once
// The system's folder choice: the item dialog in its folder-picking mode
// where Windows has one (Vista and later, and Wine), else the older folder
// browser. Keeps its settings between showings, like a form's component.
#include <windows.h>

#include <string>

class TFolderDialog {
 public:
  std::string Title = "Select a folder";
  // The folder the dialog starts in; a folder that does not exist is ignored.
  std::string InitialDir;
  // The chosen folder after Execute answered true: a full path, ending in a
  // backslash only where Windows names the folder with one ("D:\").
  std::string Folder;
  // Shows the dialog modally over Owner; true when the user chose a folder
  // of the file system.
  bool Execute(HWND Owner);
};
