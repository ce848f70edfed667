#pragma once
// TWallpaperChanger: the viewer's wallpaper changer after its first change.
// A window that is never shown, so that it hears of the end of the session;
// every period it makes a picture of the "WallPaper Group" the wallpaper.
// The session's end ends the application's message loop.
#include <cstdint>
#include <string>

#include "platform/Form.h"

class TWallpaperChanger : public TForm {
 public:
  TWallpaperChanger(TApplication& Application, std::uint32_t PeriodMs);

  // One change; an error is shown in a message box once, not again while it
  // repeats. True when the change succeeded.
  bool ChangeWallpaper();

 private:
  LRESULT WindowProc(UINT Message, WPARAM WParam, LPARAM LParam) override;
  void FormEndSession();
  void tmrChangeTimer();

  TTimer tmrChange;
  std::string LastError;
};
