#include "forms/MainFrm.h"

#include <windowsx.h>

#include <cstdlib>
#include <stdexcept>

#include "core/ProductInfo.h"
#include "picture/GroupFrameSource.h"
#include "picture/Wallpaper.h"
#include "platform/Application.h"
#include "platform/Gdi.h"
#include "platform/Monitors.h"

namespace {

constexpr UINT SpiSetScreenSaverRunning = 97;
// Posted by the worker when a frame is ready to take.
constexpr UINT WmFrameReady = WM_APP + 1;

void SetScreenSaverRunning(bool Running) {
  UINT Previous = 0;
  SystemParametersInfoA(SpiSetScreenSaverRunning, Running ? 1 : 0, &Previous, 0);
}

double MsSince(std::chrono::steady_clock::time_point Start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Start).count();
}

}  // namespace

TMainForm::TMainForm(TApplication& Application, const TMainFormContext& Context)
    : TForm(Application), Context(Context), tmrDraw(*this), tmrFade(*this), Fader(Context.FadeMs) {
  tmrDraw.SetEnabled(false);
  tmrDraw.SetInterval(5);
  tmrDraw.SetHandler(&TMainForm::tmrDrawTimer);
  tmrFade.SetEnabled(false);
  tmrFade.SetInterval(TFrameFader::StepMs());
  tmrFade.SetHandler(&TMainForm::tmrFadeTimer);
  TFormStyle Style;
  Style.Style = WS_POPUP;
  Style.ExStyle = WS_EX_TOPMOST;
  Style.Width = 320;
  Style.Height = 240;
  Style.ClassName = "TMainForm";
  Style.Caption = ProductName;
  CreateForm(Style);
}

// A worker still reading is not waited for beyond the pipeline's grace.
TMainForm::~TMainForm() = default;

void TMainForm::FormCreate() {
  Activated = false;
  Due = false;
  LastMouseX = -1;
  LastMouseY = -1;
  FrameBitmap = std::make_unique<TBitmap>();
  const HWND Preview = Context.HostWindow;
  RECT Covered{};
  if (!Context.Preview) {
    // Every monitor is covered, each to show a picture of its own; first a
    // snapshot of the desktop as it is now, shown until the first picture.
    Covered = VirtualScreen();
    const std::vector<RECT> Rects = MonitorRects();
    if (Rects.size() > 1)
      for (RECT Monitor : Rects) {
        OffsetRect(&Monitor, -Covered.left, -Covered.top);
        Monitors.push_back(Monitor);
      }
    TWindowDC Screen(nullptr, TWindowDC::WholeWindow);
    FrameBitmap->SetSize(Covered.right - Covered.left, Covered.bottom - Covered.top);
    FrameBitmap->CopyFrom(Screen.Get(), Covered.left, Covered.top);
  } else if (Preview && IsWindow(Preview)) {
    RECT R;
    GetWindowRect(Preview, &R);
    FrameBitmap->SetSize(R.right - R.left, R.bottom - R.top);
  }
  RECT Bounds;
  GetWindowRect(Handle(), &Bounds);
  SetBounds(0, 0, Bounds.right - Bounds.left, Bounds.bottom - Bounds.top);
  SaverSettings = std::make_unique<TSettings>(std::string(), TSettings::ValuesOnly);
  SetBounds(Covered.left, Covered.top, FrameBitmap->Width(), FrameBitmap->Height());
  // The first picture is prepared while the window comes up.
  const HWND Own = Handle();
  TPicturePipeline::TSourceMaker MakeSource = Context.MakeSource;
  if (!MakeSource) {
    TGroupSourceOptions Options;
    Options.Fit = Context.Preview ? TGroupSourceOptions::WholeFrame : TGroupSourceOptions::SaverScreen;
    MakeSource = TGroupFrameSource::Maker(Options);
  }
  Pipeline = std::make_unique<TPicturePipeline>(MakeSource, [Own] { PostMessageA(Own, WmFrameReady, 0, 0); });
  RequestNext();
  if (Context.Preview)
    StartPreview();
  else
    StartSaver();
}

void TMainForm::StartSaver() {
  SetScreenSaverRunning(true);
  SetCapture(Handle());
  ShowCursor(FALSE);
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
    RECT R;
    GetWindowRect(Preview, &R);
    if (R.right - R.left != FrameBitmap->Width() || R.bottom - R.top != FrameBitmap->Height())
      FrameBitmap->SetSize(R.right - R.left, R.bottom - R.top);
  }
  PictureDue();
}

void TMainForm::FormActivate() {
  if (Activated) return;
  Activated = true;
  Application().ProcessMessages();
  ShowFrame();
  if (SaverSettings) tmrDraw.SetInterval(static_cast<UINT>(SaverSettings->TimerInterval));
  tmrDraw.SetEnabled(true);
  PictureDue();
}

void TMainForm::tmrDrawTimer() {
  if (Context.Preview)
    PreviewTick();
  else
    PictureDue();
}

LRESULT TMainForm::WindowProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == WmFrameReady) {
    PresentReady();
    return 0;
  }
  return TForm::WindowProc(Message, WParam, LParam);
}

void TMainForm::PictureDue() {
  // Without settings (their reading failed at creation) there is nothing to
  // show; the snapshot stays until the saver is ended. Ticks that come while
  // a picture is still awaited are not stacked up.
  if (!SaverSettings || !Pipeline) return;
  if (!Due) {
    Due = true;
    DueSince = std::chrono::steady_clock::now();
  }
  Pipeline->Tick();
  PresentReady();
}

void TMainForm::PresentReady() {
  if (!Due || Fader.Active() || !Pipeline) return;
  std::unique_ptr<TFrame> Frame = Pipeline->Take();
  if (!Frame) return;
  Present(std::move(Frame));
}

void TMainForm::Present(std::unique_ptr<TFrame> Frame) {
  Spare = std::move(Frame);
  if (!Spare->Error.empty()) {
    // The next tick tries again; the picture on screen stays.
    const std::string Error = Spare->Error;
    Due = false;
    RequestNext();
    ReportOnce(Error);
    return;
  }
  // Asked for before the box took its size: prepared again at that size.
  if (Spare->Width != FrameBitmap->Width() || Spare->Height != FrameBitmap->Height()) {
    RequestNext();
    return;
  }
  Due = false;
  LastError.clear();
  CurrentImageFile = Spare->Entry;
  if (Spare->PassStart) {
    try {
      SaverSettings->LoadSettings(TSettings::ValuesOnly);
    } catch (const std::exception& Error) {
      ReportOnce(Error.what());
    }
  }
  if (SaverSettings->FadeBetweenPictures) {
    Fader.Start(std::move(Spare));
    tmrFade.SetEnabled(true);
    FadeStep();
  } else {
    std::swap(FrameBitmap, Spare->Bitmap);
    ShowFrame();
    RequestNext();
  }
  GdiFlush();
  if (Context.Presented) Context.Presented(CurrentImageFile, MsSince(DueSince));
}

void TMainForm::tmrFadeTimer() { FadeStep(); }

void TMainForm::FadeStep() {
  if (!Fader.Active()) return;
  std::unique_ptr<TFrame> Free = Fader.Step(*FrameBitmap);
  ShowFrame();
  if (!Free) return;
  tmrFade.SetEnabled(false);
  Spare = std::move(Free);
  RequestNext();
}

void TMainForm::RequestNext() {
  std::unique_ptr<TFrame> Frame = Spare ? std::move(Spare) : std::make_unique<TFrame>();
  Frame->Width = FrameBitmap->Width();
  Frame->Height = FrameBitmap->Height();
  Frame->Monitors = Monitors;
  if (!Pipeline->Request(Frame)) Spare = std::move(Frame);
}

void TMainForm::ShowFrame() {
  if (Context.Preview) {
    const HWND Preview = Context.HostWindow;
    if (!PreviewStarted || !IsWindowVisible(Preview)) return;
    TWindowDC PreviewDC(Preview);
    FrameBitmap->CopyTo(PreviewDC.Get(), 0, 0);
    return;
  }
  TWindowDC Own(Handle());
  FrameBitmap->CopyTo(Own.Get(), 0, 0);
}

void TMainForm::ReportOnce(const std::string& Error) {
  if (Error == LastError) return;
  LastError = Error;
  // No tick may stack a second box behind this one.
  const bool Ticking = tmrDraw.Enabled();
  tmrDraw.SetEnabled(false);
  Application().ShowException(std::runtime_error(Error));
  tmrDraw.SetEnabled(Ticking);
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
  tmrFade.SetEnabled(false);
  ShowCursor(TRUE);
  CanClose = !Context.MayClose || Context.MayClose(Handle());
  if (!CanClose) {
    ShowCursor(FALSE);
    tmrDraw.SetEnabled(true);
    if (Fader.Active()) tmrFade.SetEnabled(true);
  }
}

void TMainForm::FormDestroy() {
  if (!Context.Preview) {
    // Gone from the screen first: what follows may read a file.
    ShowWindow(Handle(), SW_HIDE);
    SetScreenSaverRunning(false);
    ReleaseCapture();
    ShowCursor(TRUE);
  }
  Pipeline.reset();
  // Only a picture is kept: with no name taken from the queue (a second
  // instance, an empty group) the user's wallpaper stays as it is.
  if (!Context.Preview && SaverSettings && SaverSettings->KeepAsWallpaper && !CurrentImageFile.empty())
    SetWallpaperImage(CurrentImageFile, *SaverSettings);
  Spare.reset();
  FrameBitmap.reset();
  SaverSettings.reset();
}
