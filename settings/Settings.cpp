#include "settings/Settings.h"

#include <windows.h>

#include "core/Errors.h"
#include "core/FolderEntry.h"
#include "core/GroupFile.h"
#include "platform/AnsiCodePage.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/SystemPaths.h"

const char SettingsKeyPath[] = "Software\\Quellbrook\\Pictarine Screen Saver";
const char RunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

namespace {

const char ImagesSubKey[] = "Images";

void ReadInteger(const TRegistryKey& Key, const char* Name, std::int32_t& Field) {
  if (Key.ValueExists(Name)) Field = static_cast<std::int32_t>(Key.ReadInteger(Name));
}
void ReadColour(const TRegistryKey& Key, const char* Name, std::uint32_t& Field) {
  if (Key.ValueExists(Name)) Field = Key.ReadInteger(Name);
}
void ReadBool(const TRegistryKey& Key, const char* Name, bool& Field) {
  if (Key.ValueExists(Name)) Field = Key.ReadBool(Name);
}
void ReadString(const TRegistryKey& Key, const char* Name, std::string& Field) {
  if (Key.ValueExists(Name)) Field = Key.ReadString(Name);
}
void ReadFloat(const TRegistryKey& Key, const char* Name, double& Field) {
  if (Key.ValueExists(Name)) Field = Key.ReadFloat(Name);
}

}  // namespace

std::string DefaultGroupName() {
  std::string Name = ExecutablePath();
  const std::size_t Slash = Name.find_last_of("\\/:");
  if (Slash != std::string::npos) Name.erase(0, Slash + 1);
  const std::size_t Dot = Name.rfind('.');
  if (Dot != std::string::npos) Name.erase(Dot);
  return Name;
}

std::string ExecutableFolder() {
  const std::string Path = ExecutablePath();
  return Path.substr(0, Path.find_last_of("\\/:") + 1);
}

TSettings::TSettings(const std::string& GroupName, TGroupLoading Loading) {
  SelectedGroup = DefaultGroupName();
  if (!GroupName.empty()) CurrentGroup = GroupName;
  WallPaperGroup = SelectedGroup;
  SlideShowGroup = SelectedGroup;
  SaveWallPaperAs = "C:\\windows\\Pictarine.bmp";
  InstallDir = "C:\\Program Files\\Quellbrook\\Pictarine Screen Saver";
  ResetSlideShowPlacement();
  LoadSettings(Loading);
}

void TSettings::ResetSlideShowPlacement() {
  SlideShowPosX = 0;
  SlideShowPosY = 0;
  SlideShowSizeX = 267;
  SlideShowSizeY = 200;
  SlideShowOnTop = false;
  SlideShowStartup = false;
  SlideShowHidden = false;
}

void TSettings::LoadSettings(TGroupLoading Loading) {
  if (Loading == WithGroup) ImageQueue.Clear();
  {
    const TRegistryKey Key = TRegistryKey::Open(SettingsKeyPath);
    if (Key.IsOpen()) {
      ReadInteger(Key, "Change WallPaper", ChangeWallPaper);
      ReadString(Key, "WallPaper Group", WallPaperGroup);
      ReadString(Key, "SlideShow Group", SlideShowGroup);
      ReadString(Key, "Selected Group", SelectedGroup);
      ReadBool(Key, "Limit Screen Size", LimitScreenSize);
      ReadBool(Key, "End On Mouse", EndOnMouse);
      ReadBool(Key, "Random", RandomOrder);
      ReadBool(Key, "Set Wallpaper", SetWallpaper);
      ReadBool(Key, "Maintain Aspect", MaintainAspect);
      ReadBool(Key, "Keep As Wallpaper", KeepAsWallpaper);
      ReadFloat(Key, "Max Percent", MaxPercent);
      ReadInteger(Key, "Max Screen X", MaxScreenX);
      ReadInteger(Key, "Max Screen Y", MaxScreenY);
      ReadColour(Key, "Background", Background);
      ReadInteger(Key, "Timer interval", TimerInterval);
      ReadInteger(Key, "Slide Show Pos X", SlideShowPosX);
      ReadInteger(Key, "Slide Show Pos Y", SlideShowPosY);
      ReadInteger(Key, "Slide Show Size X", SlideShowSizeX);
      ReadInteger(Key, "Slide Show Size Y", SlideShowSizeY);
      ReadBool(Key, "Slide Show OnTop", SlideShowOnTop);
      ReadBool(Key, "Slide Show Startup", SlideShowStartup);
      ReadBool(Key, "Slide Show Hidden", SlideShowHidden);
      ReadString(Key, "Save WallPaper As", SaveWallPaperAs);
      ReadString(Key, "Install Dir", InstallDir);
      // Read after every older value, so that a damaged value here cannot
      // keep any of them from being read.
      ReadBool(Key, "Fade Between Pictures", FadeBetweenPictures);
      ReadBool(Key, "All Monitors", AllMonitors);
      ReadBool(Key, "Mix Folders Evenly", MixFoldersEvenly);

      GroupNames.clear();
      const TRegistryKey Images = Key.OpenSubKey(ImagesSubKey);
      if (Images.IsOpen())
        for (int N = 0;; ++N) {
          const std::string Name = std::to_string(N);
          if (!Images.ValueExists(Name)) break;
          GroupNames.push_back(Images.ReadString(Name));
        }
      if (GroupNames.empty()) {
        SelectedGroup = DefaultGroupName();
        GroupNames.push_back(SelectedGroup);
      }
      if (CurrentGroup.empty()) CurrentGroup = SelectedGroup;
      if (Loading == WithGroup) LoadGroup(CurrentGroup);
    }
  }
  if (!InstallDir.empty() && InstallDir.back() == '\\') InstallDir.pop_back();
}

void TSettings::SaveSettings() {
  UpdateWallpaperRunEntry();
  UpdateSlideShowRunEntry();
  TRegistryKey Key = TRegistryKey::OpenOrCreate(SettingsKeyPath);
  if (!Key.IsOpen()) return;
  Key.WriteInteger("Change WallPaper", static_cast<std::uint32_t>(ChangeWallPaper));
  Key.WriteString("WallPaper Group", WallPaperGroup);
  Key.WriteString("SlideShow Group", SlideShowGroup);
  Key.WriteString("Selected Group", SelectedGroup);
  Key.WriteString("Save WallPaper As", SaveWallPaperAs);
  Key.WriteString("Install Dir", InstallDir);
  Key.WriteBool("Random", RandomOrder);
  Key.WriteBool("End On Mouse", EndOnMouse);
  Key.WriteBool("Maintain Aspect", MaintainAspect);
  Key.WriteBool("Keep As Wallpaper", KeepAsWallpaper);
  Key.WriteBool("Limit Screen Size", LimitScreenSize);
  Key.WriteBool("Set Wallpaper", SetWallpaper);
  Key.WriteBool("Slide Show OnTop", SlideShowOnTop);
  Key.WriteBool("Slide Show Hidden", SlideShowHidden);
  Key.WriteBool("Slide Show Startup", SlideShowStartup);
  Key.WriteInteger("Max Screen X", static_cast<std::uint32_t>(MaxScreenX));
  Key.WriteInteger("Max Screen Y", static_cast<std::uint32_t>(MaxScreenY));
  Key.WriteInteger("Background", Background);
  Key.WriteFloat("Max Percent", MaxPercent);
  Key.WriteInteger("Timer interval", static_cast<std::uint32_t>(TimerInterval));

  // The group names are rewritten in place and only then is every other
  // value removed, so the stored list is never absent, and nothing stale can
  // reappear behind it.
  TRegistryKey Images = Key.OpenOrCreateSubKey(ImagesSubKey);
  if (Images.IsOpen()) {
    for (std::size_t I = 0; I < GroupNames.size(); ++I) Images.WriteString(std::to_string(I), GroupNames[I]);
    for (const std::string& Name : Images.ValueNames()) {
      bool Current = false;
      for (std::size_t I = 0; I < GroupNames.size() && !Current; ++I) Current = Name == std::to_string(I);
      if (!Current) Images.DeleteValue(Name);
    }
  }
  // Values added later are written last, after every older one and the group
  // names, so that a failure in one of them never leaves an older value
  // unwritten.
  Key.WriteBool("Fade Between Pictures", FadeBetweenPictures);
  Key.WriteBool("All Monitors", AllMonitors);
  Key.WriteBool("Mix Folders Evenly", MixFoldersEvenly);
  SaveGroup(CurrentGroup);
}

void TSettings::SaveSlideShowPlacement() {
  TRegistryKey Key = TRegistryKey::OpenOrCreate(SettingsKeyPath);
  if (!Key.IsOpen()) return;
  Key.WriteInteger("Slide Show Pos X", static_cast<std::uint32_t>(SlideShowPosX));
  Key.WriteInteger("Slide Show Pos Y", static_cast<std::uint32_t>(SlideShowPosY));
  Key.WriteInteger("Slide Show Size X", static_cast<std::uint32_t>(SlideShowSizeX));
  Key.WriteInteger("Slide Show Size Y", static_cast<std::uint32_t>(SlideShowSizeY));
}

void TSettings::UpdateRunEntry(bool Enabled, const char* ValueName, const std::string& Arguments) {
  // The viewer's path is quoted: unquoted, a path with blanks would let a
  // program such as C:\Program.exe start in its place.
  const std::string CommandLine = "\"" + InstallDir + "\\Vistaloop.exe\"" + Arguments;
  TRegistryKey Run = TRegistryKey::Open(RunKeyPath);
  if (Enabled)
    Run.WriteString(ValueName, CommandLine);
  else
    Run.DeleteValue(ValueName);
  Run.Flush();
}

void TSettings::UpdateWallpaperRunEntry() { UpdateRunEntry(SetWallpaper, "WallPaper Changer", " /w"); }

void TSettings::UpdateSlideShowRunEntry() { UpdateRunEntry(SlideShowStartup, "Slide Show", ""); }

std::string TSettings::GroupFilePath(const std::string& Name) const {
  return InstallDir + "\\Image Data\\" + Name + ".dat";
}

std::string TSettings::SamplePicturePath() { return ExecutableFolder() + "sample.bmp"; }

void TSettings::LoadGroup(const std::string& GivenName) {
  const std::string& Name = GivenName.empty() ? SelectedGroup : GivenName;
  ImageQueue.Clear();
  const std::string Path = GroupFilePath(Name);
  if (IsSafeGroupName(Name) && FileExists(Path)) {
    // Only file lines naming an existing file are kept, so empty lines and
    // stale paths never take memory. Folder entries are kept as they are.
    ForEachGroupEntryAsUtf8(ReadWholeFile(Path), AnsiCodePage(), [this](const std::string& Entry) {
      if (IsFolderEntry(Entry) || FileExists(Entry)) ImageQueue.Add(Entry);
    });
  }
  if (ImageQueue.Empty() && FileExists(SamplePicturePath())) ImageQueue.Add(SamplePicturePath());
  GroupImageCount = static_cast<std::int32_t>(ImageQueue.Count());
}

void TSettings::SaveGroup(const std::string& GivenName) {
  const std::string& Name = GivenName.empty() ? SelectedGroup : GivenName;
  if (!IsSafeGroupName(Name))
    throw EInOutError(Format("Invalid group name '%s': a group name may not contain \\, / or :", Name.c_str()));
  ForceDirectories(InstallDir + "\\Image Data");
  std::vector<std::string> Existing;
  for (std::string& Entry : ImageQueue.ToVector())
    if (IsFolderEntry(Entry) || FileExists(Entry)) Existing.push_back(std::move(Entry));
  ReplaceFile(GroupFilePath(Name), FormatGroupFile(Existing, AnsiCodePage()));
}

