#include "app/MainSequence.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/ScreenSaverUtils.h"
#include "app/SingleInstance.h"
#include "core/Errors.h"
#include "core/ProductInfo.h"
#include "forms/ConfigureFrm.h"
#include "forms/MainFrm.h"
#include "forms/Splash.h"
#include "picture/Wallpaper.h"
#include "platform/Application.h"
#include "platform/SharedCaches.h"
#include "platform/SystemPaths.h"
#include "platform/WideText.h"
#include "platform/WindowHandle.h"

namespace {

std::string ExecutableFileName() {
  const std::string Name = ExecutablePath();
  const std::size_t Slash = Name.find_last_of("\\/");
  return Slash == std::string::npos ? Name : Name.substr(Slash + 1);
}

// Hands the process to the run mode that the command line chose.
void RunMode(TApplication& App, TInstanceGuard& Guard, const std::vector<std::string>& Args,
             const TParsedCommandLine& Command, TPictureSources Sources) {
  const HWND Host = WindowFromInt32(Command.ParentWindow);
  switch (Command.Mode) {
    case smChangePassword:
      ChangeScreenSaverPassword(Args, Host);
      break;
    case smSaver:
    case smPreview: {
      TMainFormContext Context;
      Context.Preview = Command.Mode == smPreview;
      Context.HostWindow = Context.Preview ? Host : nullptr;
      if (Sources) Context.MakeSource = Sources(Context.Preview);
      Context.MayClose = VerifyScreenSaverPassword;
      Context.ReleaseInstance = [&Guard] { Guard.Release(); };
      App.AddForm(std::make_unique<TMainForm>(App, Context));
      App.Run();
      break;
    }
    case smConfigure:
      ShowSplashFor(App, App.Handle(), 5000);
      App.AddForm(std::make_unique<TConfigureForm>(App, Host));
      App.Run();
      break;
    case smWallpaper:
      ChangeWallpaperNow(std::string());
      break;
  }
}

}  // namespace

std::string ApplicationErrorText(const char* KindName, const std::string& Module, const void* Address,
                                 const std::string& Message) {
  // Eight hex digits on 32-bit Windows, sixteen on 64-bit: the whole address.
  const int Digits = static_cast<int>(2 * sizeof(void*));
  return Format("Exception %s in module %s at %0*llX.", KindName, Module.c_str(), Digits,
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(Address))) +
         "\r\n" + WithFullStop(Message) + "\r\n";
}

void ShowApplicationError(const char* KindName, const void* Address, const char* Message) {
  const std::string Text = ApplicationErrorText(KindName, ExecutableFileName(), Address, Message);
  ShowMessageBox(nullptr, Text, "Application Error", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

int RunScreenSaver(TPictureSources Sources) {
  // Held until the forms are gone; a picture worker still reading after
  // that holds them on its own.
  const std::shared_ptr<TSharedCaches> Caches = TSharedCaches::Hold();
  TApplication App;
  TInstanceGuard Guard;
  Guard.Acquire();
  try {
    const std::vector<std::string> Args = ProcessArguments();
    const TParsedCommandLine Command = ParseArguments(Args);
    // A second saver or dialog shows no window and ends when its loop reads
    // the quit message; a second preview draws as usual, until its box is
    // hidden, and the password change and the wallpaper run no loop.
    if (Guard.SecondInstance() && (Command.Mode == smSaver || Command.Mode == smConfigure)) {
      App.ShowMainForm = false;
      App.Terminate();
    }
    if (Command.Mode != smChangePassword) {
      std::srand(GetTickCount());
      App.SetTitle(ProductName);
      SetWindowLongW(App.Handle(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    }
    RunMode(App, Guard, Args, Command, Sources);
  } catch (const EError& Error) {
    ShowApplicationError(Error.KindName(), Error.Address(), Error.what());
    ExitProcess(1);
  } catch (const std::exception& Error) {
    ShowApplicationError("Exception", nullptr, Error.what());
    ExitProcess(1);
  } catch (...) {
    ShowApplicationError("Exception", nullptr, "Unknown error");
    ExitProcess(1);
  }
  App.DestroyForms();
  return 0;
}
