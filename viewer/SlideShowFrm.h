#pragma once
// TSlideShowForm: the viewer's slide show, a normal resizable window that
// shows the pictures of one group, each fitted into its client area and
// centred on the background colour, a new one every TimerInterval. It opens
// at the stored placement ("Slide Show Pos X/Y", "Size X/Y"), on top of other
// windows with "Slide Show OnTop", and stores its placement when it is
// destroyed or the session ends.
#include <memory>
#include <string>

#include "picture/LoadImageFile.h"
#include "platform/Bitmap.h"
#include "platform/Form.h"
#include "settings/Settings.h"

class TSlideShowForm : public TForm {
 public:
  // Takes the settings object whose CurrentGroup and ImageQueue hold the
  // group to show. The window is created hidden with the first picture drawn.
  TSlideShowForm(TApplication& Application, std::unique_ptr<TSettings> Settings);
  ~TSlideShowForm() override;

  // One draw cycle: the next picture of the group, loaded, fitted and shown.
  // Errors propagate.
  void ShowNextPicture();
  // The file name last taken from the group; empty when it had none.
  const std::string& ImageFile() const { return CurrentImageFile; }
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

  // ShowNextPicture with its error shown in a message box once, not again
  // while it repeats; the slide show goes on.
  void DrawNextImage();
  // Recomposes the frame at the client size from the current picture.
  void ComposeFrame();
  void StorePlacement();

  TTimer tmrDraw;
  std::unique_ptr<TSettings> ViewerSettings;
  std::string CurrentImageFile;
  TImageLoader Picture;              // the picture shown, drawn again on resizing
  bool HasPicture = false;
  TBitmap FrameBitmap;               // the client area as drawn
  std::string LastError;             // the error shown last, until a cycle succeeds
};

// The bounds at which the slide show opens: the stored placement, with a
// size below 1 replaced by the default 267 x 200 and a rectangle that lies
// on no monitor moved to the primary screen's top-left corner.
RECT SlideShowBounds(const TSettings& Settings);
