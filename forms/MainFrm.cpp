#include "forms/MainFrm.h"

#include <windowsx.h>

#include <cstdlib>

#include "core/ProductInfo.h"
#include "core/Ticks.h"
#include "picture/ComposeFrame.h"
#include "picture/Wallpaper.h"
#include "platform/Application.h"
#include "platform/Gdi.h"

namespace {

constexpr UINT SpiSetScreenSaverRunning = 97;

void SetScreenSaverRunning(bool Running) {
  UINT Previous = 0;
  SystemParametersInfoA(SpiSetScreenSaverRunning, Running ? 1 : 0, &Previous, 0);
}

}  // namespace

TMainForm::TMainForm(TApplication& Application, const TMainFormContext& Context)
    : TForm(Application), Context(Context), tmrDraw(*this) {
  tmrDraw.SetEnabled(false);
  tmrDraw.SetInterval(5);
  tmrDraw.SetHandler(&TMainForm::tmrDrawTimer);
  TFormStyle Style;
  Style.Style = WS_POPUP;
  Style.ExStyle = WS_EX_TOPMOST;
  Style.Width = 320;
  Style.Height = 240;
  Style.ClassName = "TMainForm";
  Style.Caption = ProductName;
  CreateForm(Style);
}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate() {
  Activated = false;
  Drawing = false;
  LastMouseX = -1;
  LastMouseY = -1;
  FrameBitmap = std::make_unique<TBitmap>();
  const HWND Preview = Context.HostWindow;
  if (!Context.Preview) {
    // A snapshot of the desktop as it is now, shown until the first picture.
    TWindowDC Screen(nullptr, TWindowDC::WholeWindow);
    FrameBitmap->SetSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    FrameBitmap->CopyFrom(Screen.Get(), 0, 0);
  } else if (Preview && IsWindow(Preview)) {
    RECT R;
    GetWindowRect(Preview, &R);
    FrameBitmap->SetSize(R.right - R.left, R.bottom - R.top);
  }
  RECT Bounds;
  GetWindowRect(Handle(), &Bounds);
  SetBounds(0, 0, Bounds.right - Bounds.left, Bounds.bottom - Bounds.top);
  SaverSettings = std::make_unique<TSettings>();
  SetBounds(0, 0, FrameBitmap->Width(), FrameBitmap->Height());
  if (Context.Preview)
    StartPreview();
  else
    StartSaver();
}

void TMainForm::StartSaver() {
  SetScreenSaverRunning(true);
  SetCapture(Handle());
  ShowCursor(FALSE);
  Picture.SetAbandonCheck([this] { return InputWaiting(); });
}

bool TMainForm::InputWaiting() {
  // PeekMessage costs a round trip to the server under Wine: look every
  // 20 ms at most, often enough for a user.
  if (!TickDue(LastInputCheck, GetTickCount(), 20)) return false;
  MSG Message;
  const UINT Look = PM_NOREMOVE | PM_NOYIELD;
  if (PeekMessageA(&Message, nullptr, WM_KEYDOWN, WM_KEYDOWN, Look) ||
      PeekMessageA(&Message, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, Look))
    return true;
  // Only a movement that ends the saver stops the picture; the first one
  // merely sets where the mouse is.
  if (!SaverSettings || !SaverSettings->EndOnMouse || (LastMouseX == -1 && LastMouseY == -1)) return false;
  if (!PeekMessageA(&Message, Handle(), WM_MOUSEMOVE, WM_MOUSEMOVE, Look)) return false;
  return std::abs(GET_X_LPARAM(Message.lParam) - LastMouseX) >= 3 &&
         std::abs(GET_Y_LPARAM(Message.lParam) - LastMouseY) >= 3;
}

// Ticks of the preview: how often it looks whether the host's window shows,
// and the pause between two pictures once it does.
constexpr UINT PreviewTickMs = 100;

void TMainForm::StartPreview() {
  const HWND Preview = Context.HostWindow;
  Application().ShowMainForm = false;
  if (!Preview || !IsWindow(Preview)) {
    Application().Terminate();
    return;
  }
  tmrDraw.SetInterval(PreviewTickMs);
  tmrDraw.SetEnabled(true);
}

void TMainForm::PreviewTick() {
  const HWND Preview = Context.HostWindow;
  // A preview window destroyed before it ever showed ends the program as a
  // handle that names no window does; one hidden after it showed wants no
  // more pictures.
  if (!IsWindow(Preview) || (PreviewStarted && !IsWindowVisible(Preview))) {
    tmrDraw.SetEnabled(false);
    Application().Terminate();
    return;
  }
  if (!IsWindowVisible(Preview)) return;
  if (!PreviewStarted) {
    PreviewStarted = true;
    if (Context.ReleaseInstance) Context.ReleaseInstance();
    // A hidden box wants no more drawing, however long the picture takes.
    Picture.SetAbandonCheck([Preview] { return !IsWindowVisible(Preview); });
    RECT R;
    GetWindowRect(Preview, &R);
    FrameBitmap->SetSize(R.right - R.left, R.bottom - R.top);
  }
  LoadNextImage();
  if (!IsWindowVisible(Preview)) return;
  ComposeFrame(*FrameBitmap, Picture, *SaverSettings, FrameBitmap->Width(), FrameBitmap->Height());
  if (!IsWindowVisible(Preview)) return;
  TWindowDC PreviewDC(Preview);
  FrameBitmap->CopyTo(PreviewDC.Get(), 0, 0);
}

void TMainForm::FormActivate() {
  if (Activated) return;
  Activated = true;
  Application().ProcessMessages();
  {
    TWindowDC Own(Handle());
    FrameBitmap->CopyTo(Own.Get(), 0, 0);
  }
  if (SaverSettings) tmrDraw.SetInterval(static_cast<UINT>(SaverSettings->TimerInterval));
  tmrDraw.SetEnabled(true);
  DrawNextImage();
}

void TMainForm::tmrDrawTimer() {
  if (Context.Preview)
    PreviewTick();
  else
    DrawNextImage();
}

void TMainForm::DrawNextImage() {
  // Without settings (their reading failed at creation) there is nothing to
  // draw; the snapshot stays until the saver is ended.
  if (Drawing || !SaverSettings) return;
  Drawing = true;
  struct TClearDrawing {
    bool& Flag;
    ~TClearDrawing() { Flag = false; }
  } ClearDrawing{Drawing};

  const std::string Shown = CurrentImageFile;
  LoadNextImage();
  ComposeSaverFrame(*FrameBitmap, Picture, *SaverSettings);
  if (Picture.Abandoned()) {
    // A key or the mouse came first: the picture on screen stays the last
    // one shown, for Keep As Wallpaper too, and the input is read next.
    CurrentImageFile = Shown;
    return;
  }
  TWindowDC Own(Handle());
  FrameBitmap->CopyTo(Own.Get(), 0, 0);
}

void TMainForm::LoadNextImage() {
  CurrentImageFile = SaverSettings->NextImage();
  Picture.Open(CurrentImageFile);
}

void TMainForm::FormKeyDown(WORD, TShiftState) { Close(); }

void TMainForm::FormMouseMove(TShiftState, int X, int Y) {
  if (!SaverSettings || !SaverSettings->EndOnMouse) return;
  if (LastMouseX == -1 && LastMouseY == -1) {
    LastMouseX = X;
    LastMouseY = Y;
    return;
  }
  if (std::abs(X - LastMouseX) >= 3 && std::abs(Y - LastMouseY) >= 3) {
    LastMouseX = X;
    LastMouseY = Y;
    Close();
  }
}

void TMainForm::FormCloseQuery(bool& CanClose) {
  if (Context.Preview) return;
  tmrDraw.SetEnabled(false);
  ShowCursor(TRUE);
  CanClose = !Context.MayClose || Context.MayClose(Handle());
  if (!CanClose) {
    ShowCursor(FALSE);
    tmrDraw.SetEnabled(true);
  }
}

void TMainForm::FormDestroy() {
  if (!Context.Preview) {
    SetScreenSaverRunning(false);
    ReleaseCapture();
    ShowCursor(TRUE);
    // Only a picture is kept: with no name taken from the queue (a second
    // instance, an empty group) the user's wallpaper stays as it is.
    if (SaverSettings && SaverSettings->KeepAsWallpaper && !CurrentImageFile.empty())
      SetWallpaperImage(CurrentImageFile, *SaverSettings);
  }
  FrameBitmap.reset();
  SaverSettings.reset();
}
