#pragma once
// TSlideShowForm: the viewer's slide show, a normal resizable window that
// shows the pictures of one group, each fitted into its client area and
// centred on the background colour, a new one every TimerInterval. A worker
// prepares each picture ahead and a frame presenter shows it; this window's
// thread reads no file. It opens
// at the stored placement ("Slide Show Pos X/Y", "Size X/Y"), on top of other
// windows with "Slide Show OnTop", and stores its placement when it is
// destroyed or the session ends.
#include <memory>
#include <string>

#include "picture/FramePresenter.h"
#include "platform/Form.h"
#include "settings/Settings.h"

class TSlideShowForm : public TForm, private TFramePresenter::THost {
 public:
  // Shows Group (empty: the stored "SlideShow Group"), its pictures prepared
  // by a picture pipeline from MakeSource (none: the group's own pictures).
  // The window is created hidden; its first picture follows as soon as it
  // is ready.
  TSlideShowForm(TApplication& Application, const std::string& Group,
                 TPicturePipeline::TSourceMaker MakeSource = nullptr);
  ~TSlideShowForm() override;

  // The entry of the picture on screen; empty before the first.
  const std::string& ImageFile() const { return CurrentImageFile; }
  // How many pictures it has shown.
  int PicturesShown() const { return Presenter ? Presenter->PicturesShown() : 0; }
  const TSettings& Settings() const { return *ViewerSettings; }
  // The window's rectangle in its normal (not minimised or maximised) state,
  // in screen coordinates.
  RECT NormalBounds() const;

 private:
  void FormCreate() override;
  void FormDestroy() override;
  LRESULT WindowProc(UINT Message, WPARAM WParam, LPARAM LParam) override;
  void FormPaint();
  void FormResize();
  void FormEndSession();
  void tmrDrawTimer();
  void tmrFadeTimer();

  // The presenter's host.
  void ShowFrame() override;
  void FadeTicking(bool On) override;
  void Presented(const std::string& Entry, bool PassStart, double TickToFrameMs) override;
  void ShowError(const std::string& Error) override;

  // Copies the shown frame to the client area (stretched while it is being
  // redone at a new size).
  void PaintFrame(HDC DC);
  void StorePlacement();
  SIZE ClientSize() const;

  TTimer tmrDraw;
  TTimer tmrFade;
  TPicturePipeline::TSourceMaker Source;
  // The values of the settings (no group) and the group shown.
  std::unique_ptr<TSettings> ViewerSettings;
  std::unique_ptr<TFramePresenter> Presenter;
  std::string CurrentImageFile;
};

// The bounds at which the slide show opens: the stored placement, with a
// size below 1 replaced by the default 267 x 200 and a rectangle that lies
// on no monitor moved to the primary screen's top-left corner.
RECT SlideShowBounds(const TSettings& Settings);
