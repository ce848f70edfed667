#pragma once
// TMainForm: the one window of both display modes. As the saver it covers the
// primary screen, draws a new picture of the current group on every tick of
// tmrDraw, and closes on a key or a large enough mouse movement once the
// password check lets it. As the preview it is never shown: its creation
// draws pictures into the host's preview window until that is hidden.
#include <memory>
#include <string>

#include "platform/Bitmap.h"
#include "platform/Form.h"
#include "settings/LoadImageFile.h"
#include "settings/Settings.h"

// Fills Frame with the background and draws the picture that Picture has
// open fitted into the area (AreaW x AreaH) and centred in the whole frame.
void ComposeFrame(TBitmap& Frame, TImageLoader& Picture, const TSettings& Settings, int AreaW, int AreaH);
// The saver's composition: the area is the frame, or MaxScreenX x MaxScreenY
// with LimitScreenSize, after both are lowered to the frame's size in Settings.
void ComposeSaverFrame(TBitmap& Frame, TImageLoader& Picture, TSettings& Settings);

// What the creator hands the main form: whether it previews, the host's
// window (the preview box; none for the saver), and the two services of the
// start-up layer that it calls.
struct TMainFormContext {
  bool Preview = false;
  HWND HostWindow = nullptr;
  // Whether the saver may close (the password check).
  bool (*MayClose)(HWND Saver) = nullptr;
  // Gives up the single-instance guard (the preview does so once it draws).
  void (*ReleaseInstance)() = nullptr;
};

class TMainForm : public TForm {
 public:
  explicit TMainForm(const TMainFormContext& Context);
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
  void RunPreview();

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
  DWORD LastInputCheck = 0;
  std::string CurrentImageFile;
};
