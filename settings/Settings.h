#pragma once
// TSettings: every setting of the system, the list of group names and the
// queue of one group's lines. Constructed by each window or run mode that
// needs settings; it reads the registry of the current user while it is
// constructed. Only the configuration dialog writes settings back.
#include <cstdint>
#include <string>
#include <vector>

#include "core/ImageQueue.h"

extern const char SettingsKeyPath[];  // "Software\Quellbrook\Pictarine Screen Saver"
extern const char RunKeyPath[];       // "Software\Microsoft\Windows\CurrentVersion\Run"

// The running executable's file name without directory and last extension.
std::string DefaultGroupName();
// The running executable's folder with a trailing backslash.
std::string ExecutableFolder();

class TSettings {
 public:
  // Whether reading the settings also loads the current group's pictures:
  // a window thread that must not wait on files reads the values alone.
  enum TGroupLoading { WithGroup, ValuesOnly };
  // Reads all settings and loads the current group (GroupName, else the
  // selected group). Registry and file errors propagate.
  explicit TSettings(const std::string& GroupName = std::string(), TGroupLoading Loading = WithGroup);
  ~TSettings() = default;
  TSettings(const TSettings&) = delete;
  TSettings& operator=(const TSettings&) = delete;

  // The lines of the current group, in the group file's order: paths of
  // picture files, and folder entries (a line ending in "\" that stands for
  // every picture under that folder, see core/FolderEntry.h). A folder entry
  // is a line of the list, never a picture: the pictures of a pass come
  // from TGroupPictures (picture/GroupPictures.h), which expands the lines.
  // The dialog shows and stores the lines as they are.
  TImageQueue ImageQueue;
  std::vector<std::string> GroupNames;
  std::string CurrentGroup;
  std::string SelectedGroup;
  std::string SlideShowGroup;
  std::string WallPaperGroup;
  std::int32_t ChangeWallPaper = 0;
  std::int32_t TimerInterval = 5000;
  std::uint32_t Background = 0;
  double MaxPercent = 1.0;
  bool KeepAsWallpaper = false;
  // The number of lines LoadGroup put into ImageQueue (folder entries count
  // one each); above 0, an empty queue means a pass is over.
  std::int32_t GroupImageCount = 0;
  bool MaintainAspect = true;
  bool EndOnMouse = true;
  bool RandomOrder = true;
  bool LimitScreenSize = false;
  std::int32_t MaxScreenX = 800;
  std::int32_t MaxScreenY = 600;
  bool SetWallpaper = false;
  std::int32_t SlideShowPosX = 0;
  std::int32_t SlideShowPosY = 0;
  std::int32_t SlideShowSizeX = 267;
  std::int32_t SlideShowSizeY = 200;
  bool SlideShowOnTop = false;
  bool SlideShowStartup = false;
  bool SlideShowHidden = false;
  // Each new picture fades in over the one before instead of replacing it at once.
  bool FadeBetweenPictures = false;
  // Every monitor shows its own picture; off: the primary monitor alone,
  // the others the background colour.
  bool AllMonitors = true;
  // Random picks are balanced by folder: a folder at random among those with
  // pictures left in the pass, then a picture in it.
  bool MixFoldersEvenly = false;
  std::string SaveWallPaperAs;
  std::string InstallDir;

  void ResetSlideShowPlacement();
  void LoadSettings(TGroupLoading Loading = WithGroup);
  void SaveSettings();
  void SaveSlideShowPlacement();
  void UpdateWallpaperRunEntry();
  void UpdateSlideShowRunEntry();

  // Replaces ImageQueue with the lines of the group (empty name:
  // SelectedGroup) that name an existing file, and every folder entry, in
  // their order; a folder entry stays whether or not its folder is there now
  // (an unplugged drive comes back). A group without such lines gets the
  // sample picture. Sets GroupImageCount.
  void LoadGroup(const std::string& Name);
  // Writes the lines of ImageQueue that name an existing file, and every
  // folder entry, in their order, as the group's file, replacing it in one
  // step. ImageQueue is not changed.
  void SaveGroup(const std::string& Name);

  // "<InstallDir>\Image Data\<name>.dat".
  std::string GroupFilePath(const std::string& Name) const;
  // "<executable folder>\sample.bmp".
  static std::string SamplePicturePath();

 private:
  void UpdateRunEntry(bool Enabled, const char* ValueName, const std::string& Arguments);
};
