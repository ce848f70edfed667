// What a group of 10,000 pictures costs the configuration dialog: the time to
// open the dialog on it (its creation, which loads the group and fills the
// Images page's list, and its first showing) and the time to Load a folder of
// 10,000 picture files into the list, each as a ratio to reading the same
// group file with LoadGroup alone, measured in the same run. Target: the list
// is filled in under a second. Run under Wine: it uses a folder below %TEMP%
// and points the settings' "Install Dir" and "Selected Group" at it for the
// run, restoring them afterwards.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "bench/win/BenchWindows.h"
#include "core/ProductInfo.h"
#include "forms/ConfigureFrm.h"
#include "forms/ControlIds.h"
#include "platform/Application.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "settings/Settings.h"

using namespace Bench;

namespace {

// A string value of the settings key, restored (or removed) on destruction.
class TSavedValue {
 public:
  explicit TSavedValue(const char* Name) : Name(Name) {
    const TRegistryKey Key = TRegistryKey::OpenOrCreate(SettingsKeyPath);
    if (Key.ValueExists(Name)) Saved = Key.ReadString(Name);
  }
  ~TSavedValue() {
    TRegistryKey Key = TRegistryKey::OpenOrCreate(SettingsKeyPath);
    if (Saved)
      Key.WriteString(Name, *Saved);
    else
      Key.DeleteValue(Name);
  }

 private:
  const char* Name;
  std::optional<std::string> Saved;
};

constexpr int Count = 10000;
constexpr int Runs = 3;

}  // namespace

int main() {
  char Temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, Temp);
  const std::string Install = std::string(Temp) + "pictarine-bench";
  const std::string Folder = Install + "\\pictures";
  ForceDirectories(Folder);
  std::string Group;
  for (int I = 0; I < Count; ++I) {
    char Name[32];
    std::snprintf(Name, sizeof Name, "\\photo%05d.jpg", I);
    const std::string Path = Folder + Name;
    if (!FileExists(Path)) CloseHandle(CreateFileA(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    Group += Path + "\r\n";
  }
  ForceDirectories(Install + "\\Image Data");
  ReplaceFile(Install + "\\Image Data\\Bench.dat", Group);

  const TSavedValue SavedDir("Install Dir"), SavedGroup("Selected Group");
  {
    TRegistryKey Key = TRegistryKey::OpenOrCreate(SettingsKeyPath);
    Key.WriteString("Install Dir", Install);
    Key.WriteString("Selected Group", "Bench");
  }
  TApplication App;
  App.SetTitle(ProductName);

  double LoadGroupTime = 1e30, OpenTime = 1e30, FolderTime = 1e30;
  for (int Run = 0; Run < Runs; ++Run) {
    TSettings Settings;
    double Start = Seconds();
    Settings.LoadGroup("Bench");
    LoadGroupTime = std::min(LoadGroupTime, Seconds() - Start);
    if (Settings.ImageQueue.Count() != Count) {
      std::printf("the group holds %u entries, not %d\n", static_cast<unsigned>(Settings.ImageQueue.Count()), Count);
      return 1;
    }

    Start = Seconds();
    TConfigureForm Form(App, nullptr);
    Form.Show();
    UpdateWindow(Form.Handle());
    OpenTime = std::min(OpenTime, Seconds() - Start);
    if (Form.lstbxImages.Count() != Count) return 1;

    Form.LoadDir.SetText(Folder + "\\*.*");
    Start = Seconds();
    SendMessageA(Form.Load.Handle(), BM_CLICK, 0, 0);
    FolderTime = std::min(FolderTime, Seconds() - Start);
    if (Form.lstbxImages.Count() != 2 * Count) return 1;
    Form.Destroy();
  }
  std::printf("LoadGroup of %d entries:         %7.1f ms (reference)\n", Count, LoadGroupTime * 1e3);
  std::printf("open the dialog on that group:   %7.1f ms   ratio %5.1f (target: under 1 s)\n", OpenTime * 1e3,
              OpenTime / LoadGroupTime);
  std::printf("Load a folder of %d pictures: %7.1f ms   ratio %5.1f (target: under 1 s)\n", Count, FolderTime * 1e3,
              FolderTime / LoadGroupTime);
  return 0;
}
