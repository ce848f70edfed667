// What a group of 10,000 pictures costs the configuration dialog: the time to
// open the dialog on it (its creation, which loads the group and fills the
// Images page's list, and its first showing) and the time to Load a folder of
// 10,000 picture files into the list, each as a ratio to reading the same
// group file with LoadGroup alone, measured in the same run. Target: the list
// is filled in under a second; the best of 3 runs. Arguments: another number
// of pictures, and of runs (each run ends by closing the dialog, which Wine
// without a window manager takes 2 s to see done). Runs under the Wine bench:
// it makes its files below %TEMP% and writes the bench prefix's settings key.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "bench/win/BenchSettings.h"
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

// Says what went wrong; the exit code of a run that failed.
int Failed(const char* What, std::size_t Count, int Expected) {
  std::printf("%s holds %u entries, not %d\n", What, static_cast<unsigned>(Count), Expected);
  return 1;
}

}  // namespace

int main(int Argc, char** Argv) {
  const int Count = Argc > 1 ? std::max(1, std::atoi(Argv[1])) : 10000;
  const int Runs = Argc > 2 ? std::max(1, std::atoi(Argv[2])) : 3;
  char Temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, Temp);
  const std::string Install = std::string(Temp) + "pictarine-bench";
  // A folder for each count, so that a folder load finds exactly Count files.
  const std::string Folder = Install + "\\pictures-" + std::to_string(Count);
  ForceDirectories(Folder);
  std::string Group;
  for (int I = 0; I < Count; ++I) {
    char Name[32];
    std::snprintf(Name, sizeof Name, "\\photo%05d.jpg", I);
    const std::string Path = Folder + Name;
    if (!FileExists(Path)) CloseHandle(CreateFileA(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    Group += Path + "\r\n";
  }
  UseBenchGroup(Install, "Bench", Group, 5000);
  TApplication App;
  App.SetTitle(ProductName);

  double LoadGroupTime = 1e30, OpenTime = 1e30, FolderTime = 1e30;
  for (int Run = 0; Run < Runs; ++Run) {
    TSettings Settings;
    double Start = Seconds();
    Settings.LoadGroup("Bench");
    LoadGroupTime = std::min(LoadGroupTime, Seconds() - Start);
    if (Settings.ImageQueue.Count() != static_cast<std::size_t>(Count))
      return Failed("the group", Settings.ImageQueue.Count(), Count);

    Start = Seconds();
    TConfigureForm Form(App, nullptr);
    Form.Show();
    UpdateWindow(Form.Handle());
    OpenTime = std::min(OpenTime, Seconds() - Start);
    if (Form.lstbxImages.Count() != Count) return Failed("the opened dialog's list", Form.lstbxImages.Count(), Count);

    Form.LoadDir.SetText(Folder + "\\*.*");
    Start = Seconds();
    SendMessageA(Form.Load.Handle(), BM_CLICK, 0, 0);
    FolderTime = std::min(FolderTime, Seconds() - Start);
    if (Form.lstbxImages.Count() != 2 * Count)
      return Failed("the list after Load", Form.lstbxImages.Count(), 2 * Count);
    Form.Destroy();
  }
  DeleteSettings();
  std::printf("LoadGroup of %d entries:         %7.1f ms (reference)\n", Count, LoadGroupTime * 1e3);
  std::printf("open the dialog on that group:   %7.1f ms   ratio %5.1f (target: under 1 s)\n", OpenTime * 1e3,
              OpenTime / LoadGroupTime);
  std::printf("Load a folder of %d pictures: %7.1f ms   ratio %5.1f (target: under 1 s)\n", Count, FolderTime * 1e3,
              FolderTime / LoadGroupTime);
  return 0;
}
