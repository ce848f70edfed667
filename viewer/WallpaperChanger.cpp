#include "viewer/WallpaperChanger.h"

#include "picture/Wallpaper.h"
#include "platform/Application.h"

TWallpaperChanger::TWallpaperChanger(TApplication& Application, std::uint32_t PeriodMs)
    : TForm(Application), tmrChange(*this) {
  tmrChange.SetInterval(PeriodMs);
  tmrChange.SetHandler(&TWallpaperChanger::tmrChangeTimer);
  TFormStyle Style;
  Style.ClassName = "TWallpaperChanger";
  Style.Caption = "Vistaloop";
  CreateForm(Style);
}

bool TWallpaperChanger::ChangeWallpaper() {
  try {
    ChangeWallpaperNow(std::string());
    LastError.clear();
    return true;
  } catch (const std::exception& Error) {
    if (Error.what() == LastError) return false;
    LastError = Error.what();
    tmrChange.SetEnabled(false);
    Application().ShowException(Error);
    tmrChange.SetEnabled(true);
    return false;
  }
}

void TWallpaperChanger::tmrChangeTimer() { ChangeWallpaper(); }

LRESULT TWallpaperChanger::WindowProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == WM_ENDSESSION) {
    if (WParam) FormEndSession();
    return 0;
  }
  return TForm::WindowProc(Message, WParam, LParam);
}

void TWallpaperChanger::FormEndSession() {
  Application().Terminate();
}
