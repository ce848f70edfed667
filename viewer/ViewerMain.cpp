#include "viewer/ViewerMain.h"

#include <windows.h>

#include <memory>

#include "core/CommandLine.h"
#include "core/ViewerCommandLine.h"
#include "platform/Application.h"
#include "platform/SharedCaches.h"
#include "platform/WideText.h"
#include "settings/Settings.h"
#include "viewer/SlideShowFrm.h"
#include "viewer/WallpaperChanger.h"

namespace {

const char ViewerTitle[] = "Vistaloop";

int RunSlideShow(TApplication& App, const std::string& Group) {
  auto SlideShow = std::make_unique<TSlideShowForm>(App, Group);
  const bool Hidden = SlideShow->Settings().SlideShowHidden;
  TForm* Form = App.AddForm(std::move(SlideShow));
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
  // Held until the forms are gone; a picture worker still reading after
  // that holds them on its own.
  const std::shared_ptr<TSharedCaches> Caches = TSharedCaches::Hold();
  TApplication App;
  App.SetTitle(ViewerTitle);
  int ExitCode = 1;
  try {
    std::vector<std::string> Args = SplitCommandLine(Utf8(GetCommandLineW()));
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
        ShowMessageBox(nullptr, "Usage: Vistaloop [/s \"group\" | /w]", ViewerTitle, MB_OK | MB_ICONERROR);
        break;
    }
  } catch (...) {
    App.ShowCurrentException();
    ExitCode = 1;
  }
  App.DestroyForms();
  return ExitCode;
}
