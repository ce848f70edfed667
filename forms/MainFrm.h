#pragma once
// TMainForm: the one window of both display modes. As the saver it covers
// every monitor, shows a new picture of the current group on each of them on
// every tick of tmrDraw, and closes on a key or a large enough mouse movement once the
// password check lets it. As the preview it is never shown: tmrDraw waits
// for the host's preview window to show, then shows a picture in it every
// tick until it is hidden, and the application's loop then ends.
//
// The pictures come from a picture pipeline through a frame presenter: its
// worker prepares the next frame while the current one is shown, and at the
// tick this window only presents it (cut, or cross-faded with "Fade Between
// Pictures"). This window's thread never reads a picture or a group file, so
// it answers its user at once whatever a file does.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "picture/Frame.h"
#include "picture/FramePresenter.h"
#include "platform/Form.h"
#include "settings/Settings.h"

// What the creator hands the main form: whether it previews, the host's
// window (the preview box; none for the saver), where its pictures come
// from, and the services of the start-up layer that it calls.
struct TMainFormContext {
  bool Preview = false;
  HWND HostWindow = nullptr;
  // Makes the worker's picture source (on the worker thread); none: the
  // pictures of the current group.
  TPicturePipeline::TSourceMaker MakeSource;
  // Whether the saver may close (the password check).
  bool (*MayClose)(HWND Saver) = nullptr;
  // Gives up the single-instance guard (the preview does so once it draws).
  std::function<void()> ReleaseInstance;
  // How long a cross-fade takes.
  unsigned FadeMs = 500;
  // Told of every picture presented: its entry, and the time from the tick
  // that asked for it to its presentation (a fade's first step).
  std::function<void(const std::string& Entry, double TickToFrameMs)> Presented;
};

class TMainForm : public TForm, private TFramePresenter::THost {
 public:
  TMainForm(TApplication& Application, const TMainFormContext& Context);
  ~TMainForm() override;

  // The entry of the picture on screen: the one Keep As Wallpaper keeps.
  const std::string& ImageFile() const { return CurrentImageFile; }

 private:
  void FormCreate() override;
  void FormActivate() override;
  void FormKeyDown(WORD Key, TShiftState Shift) override;
  void FormMouseMove(TShiftState Shift, int X, int Y) override;
  void FormCloseQuery(bool& CanClose) override;
  void FormDestroy() override;
  LRESULT WindowProc(UINT Message, WPARAM WParam, LPARAM LParam) override;
  void tmrDrawTimer();
  void tmrFadeTimer();

  // The last step of FormCreate, which differs between the two modes.
  void StartSaver();
  void StartPreview();
  // One tick of the preview: waits for the host's window to show, then asks
  // for the next picture; ends the application once the window is hidden or
  // gone.
  void PreviewTick();
  bool PreviewStarted = false;
  // The next picture is due.
  void PictureDue();

  // The presenter's host: the frame to the screen (the window, or the
  // host's box), the fade's timer, what was presented, errors.
  void ShowFrame() override;
  void FadeTicking(bool On) override;
  void Presented(const std::string& Entry, bool PassStart, double TickToFrameMs) override;
  void ShowError(const std::string& Error) override;

  const TMainFormContext Context;
  TTimer tmrDraw;
  TTimer tmrFade;
  // The values of the settings (no group): read at creation and again when
  // a new pass begins; Keep As Wallpaper uses them.
  std::unique_ptr<TSettings> SaverSettings;
  std::unique_ptr<TFramePresenter> Presenter;
  bool Activated = false;
  int LastMouseX = -1;
  int LastMouseY = -1;
  std::string CurrentImageFile;
};
