#pragma once
// TMainForm: the one window of both display modes. As the saver it covers the
// primary screen, draws a new picture of the current group on every tick of
// tmrDraw, and closes on a key or a large enough mouse movement once the
// password check lets it. As the preview it is never shown: tmrDraw waits
// for the host's preview window to show, then draws a picture into it every
// tick until it is hidden, and the application's loop then ends.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "picture/LoadImageFile.h"
#include "platform/Bitmap.h"
#include "platform/Form.h"
#include "settings/Settings.h"

// What the creator hands the main form: whether it previews, the host's
// window (the preview box; none for the saver), and the two services of the
// start-up layer that it calls.
struct TMainFormContext {
  bool Preview = false;
  HWND HostWindow = nullptr;
  // Whether the saver may close (the password check).
  bool (*MayClose)(HWND Saver) = nullptr;
  // Gives up the single-instance guard (the preview does so once it draws).
  std::function<void()> ReleaseInstance;
};

class TMainForm : public TForm {
 public:
  TMainForm(TApplication& Application, const TMainFormContext& Context);
  ~TMainForm() override;

  // One draw cycle of the saver, the work of a tick of tmrDraw: the next
  // picture of the group read, fitted, composed into the frame and shown.
  // Does nothing while a cycle runs or without settings.
  void DrawNextImage();

 private:
  void FormCreate() override;
  void FormActivate() override;
  void FormKeyDown(WORD Key, TShiftState Shift) override;
  void FormMouseMove(TShiftState Shift, int X, int Y) override;
  void FormCloseQuery(bool& CanClose) override;
  void FormDestroy() override;
  void tmrDrawTimer();

  // The last step of FormCreate, which differs between the two modes.
  void StartSaver();
  void StartPreview();

  // Whether a key press, or a mouse movement that ends the saver, waits in
  // the queue; polled while a picture is decoded.
  bool InputWaiting();
  // Opens the next picture of the queue in Picture.
  void LoadNextImage();
  // One tick of the preview: waits for the host's window to show, then
  // draws the next picture into it; ends the application once it is hidden
  // or gone.
  void PreviewTick();
  bool PreviewStarted = false;

  const TMainFormContext Context;
  TTimer tmrDraw;
  std::unique_ptr<TSettings> SaverSettings;
  std::unique_ptr<TBitmap> FrameBitmap;
  // Reads every picture drawn, keeping its buffers from one to the next.
  TImageLoader Picture;
  bool Activated = false;
  int LastMouseX = -1;
  int LastMouseY = -1;
  bool Drawing = false;
  std::uint32_t LastInputCheck = 0;
  std::string CurrentImageFile;
};
