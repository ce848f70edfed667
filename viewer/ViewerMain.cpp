#include "viewer/ViewerMain.h"

#include <windows.h>

#include <memory>

#include "core/CommandLine.h"
#include "core/ViewerCommandLine.h"
#include "platform/Application.h"
#include "settings/Settings.h"
#include "viewer/SlideShowFrm.h"
#include "viewer/WallpaperChanger.h"

namespace {

const char ViewerTitle[] = "Vistaloop";

// Settings with the group of the slide show loaded: Group, or the stored
// "SlideShow Group" when Group is empty. Without a settings key nothing is
// loaded at construction, so the group is loaded here (its sample picture
// then stands in).
std::unique_ptr<TSettings> SlideShowSettings(const std::string& Group) {
  auto Settings = std::make_unique<TSettings>(Group);
  const std::string Loaded = Settings->GroupImageCount > 0 ? Settings->CurrentGroup : std::string();
  if (Group.empty()) Settings->CurrentGroup = Settings->SlideShowGroup;
  if (Loaded.empty() || Settings->CurrentGroup != Loaded) Settings->LoadGroup(Settings->CurrentGroup);
  return Settings;
}

int RunSlideShow(TApplication& App, const std::string& Group) {
  std::unique_ptr<TSettings> Settings = SlideShowSettings(Group);
  const bool Hidden = Settings->SlideShowHidden;
  TForm* Form = App.AddForm(std::make_unique<TSlideShowForm>(App, std::move(Settings)));
  if (Hidden) {
    App.ShowMainForm = false;
    ShowWindow(Form->Handle(), SW_SHOWMINNOACTIVE);
  }
  App.Run();
  return 0;
}

int RunWallpaperChanger(TApplication& App) {
  const std::uint32_t Period = WallpaperPeriodMs(TSettings().ChangeWallPaper);
  auto Changer = std::make_unique<TWallpaperChanger>(App, Period);
  const bool Changed = Changer->ChangeWallpaper();
  if (Period == 0) return Changed ? 0 : 1;
  App.ShowMainForm = false;
  App.AddForm(std::move(Changer));
  App.Run();
  return 0;
}

}  // namespace

int RunViewer() {
  TApplication App;
  App.SetTitle(ViewerTitle);
  int ExitCode = 1;
  try {
    std::vector<std::string> Args = SplitCommandLine(GetCommandLineA());
    if (!Args.empty()) Args.erase(Args.begin());
    const TViewerCommand Command = ParseViewerArguments(Args);
    switch (Command.Mode) {
      case vmSlideShow:
        ExitCode = RunSlideShow(App, Command.Group);
        break;
      case vmWallpaper:
        ExitCode = RunWallpaperChanger(App);
        break;
      default:
        MessageBoxA(nullptr, "Usage: Vistaloop [/s \"group\" | /w]", ViewerTitle, MB_OK | MB_ICONERROR);
        break;
    }
  } catch (...) {
    App.ShowCurrentException();
    ExitCode = 1;
  }
  App.DestroyForms();
  return ExitCode;
}
