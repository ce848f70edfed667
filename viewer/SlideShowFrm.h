#pragma once
// TSlideShowForm: the viewer's slide show, a normal resizable window that
// shows the pictures of one group, each fitted into its client area and
// centred on the background colour, a new one every TimerInterval. A worker
// prepares each picture ahead; this window's thread reads no file. It opens
// at the stored placement ("Slide Show Pos X/Y", "Size X/Y"), on top of other
// windows with "Slide Show OnTop", and stores its placement when it is
// destroyed or the session ends.
#include <memory>
#include <optional>
#include <string>

#include "picture/Frame.h"
#include "picture/FrameFader.h"
#include "platform/Bitmap.h"
#include "platform/Form.h"
#include "settings/Settings.h"

class TSlideShowForm : public TForm {
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
  int PicturesShown() const { return Shown; }
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

  // Takes a prepared frame: the one asked for again at a new size, or the
  // next picture once it is due.
  void FrameReady();
  void Present(std::unique_ptr<TFrame> Frame);
  void tmrFadeTimer();
  // Copies the shown frame to the client area (stretched while it is being
  // redone at a new size).
  void PaintFrame();
  void PaintFrame(HDC DC);
  // Hands Frame (a free one when null) to the pipeline, for the next picture
  // or, with Entry, for that picture again at the client's size.
  void Request(std::unique_ptr<TFrame> Frame, const std::string* Entry = nullptr);
  // Shows an error in a message box once, not again while it repeats; the
  // slide show goes on.
  void ReportOnce(const std::string& Error);
  void StorePlacement();
  SIZE ClientSize() const;

  TTimer tmrDraw;
  TTimer tmrFade;
  TFrameFader Fader;  // holds the frame fading in
  TPicturePipeline::TSourceMaker Source;
  // The values of the settings (no group) and the group shown.
  std::unique_ptr<TSettings> ViewerSettings;
  std::unique_ptr<TPicturePipeline> Pipeline;
  std::string CurrentImageFile;
  int Shown = 0;
  bool Due = false;
  // The client area was resized: the picture on screen is asked for again
  // at the new size, and the next picture, taken from the queue already,
  // too.
  bool Resized = false;
  bool Redoing = false;  // the picture on screen is being redone
  std::optional<std::string> HeldNext;  // the next picture's entry, to redo
  std::unique_ptr<TBitmap> FrameBitmap = std::make_unique<TBitmap>();  // as drawn
  std::string LastError;  // the error shown last, until a picture is shown
};

// The bounds at which the slide show opens: the stored placement, with a
// size below 1 replaced by the default 267 x 200 and a rectangle that lies
// on no monitor moved to the primary screen's top-left corner.
RECT SlideShowBounds(const TSettings& Settings);
