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
void SetScreenSaverRunning(bool Running) {
  UINT Previous = 0;
  SystemParametersInfoW(SpiSetScreenSaverRunning, Running ? 1 : 0, &Previous, 0);
}

}  // namespace

TMainForm::TMainForm(TApplication& Application, const TMainFormContext& Context)
    : TForm(Application), Context(Context), tmrDraw(*this), tmrFade(*this) {
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
  LastMouseX = -1;
  LastMouseY = -1;
  const HWND Preview = Context.HostWindow;
  RECT Covered{};
  std::vector<RECT> Monitors;
  if (!Context.Preview) {
    // Every monitor is covered, each to show a picture of its own.
    Covered = VirtualScreen();
    const std::vector<RECT> Rects = MonitorRects();
    if (Rects.size() > 1)
      for (RECT Monitor : Rects) {
        OffsetRect(&Monitor, -Covered.left, -Covered.top);
        Monitors.push_back(Monitor);
      }
  } else if (Preview && IsWindow(Preview)) {
    GetWindowRect(Preview, &Covered);
    OffsetRect(&Covered, -Covered.left, -Covered.top);
  }
  const int Width = Covered.right - Covered.left, Height = Covered.bottom - Covered.top;
  RECT Bounds;
  GetWindowRect(Handle(), &Bounds);
  SetBounds(0, 0, Bounds.right - Bounds.left, Bounds.bottom - Bounds.top);
  SaverSettings = std::make_unique<TSettings>(std::string(), TSettings::ValuesOnly);
  SetBounds(Covered.left, Covered.top, Width, Height);
  // The first picture is prepared while the window comes up.
  TPicturePipeline::TSourceMaker MakeSource = Context.MakeSource;
  if (!MakeSource) {
    TGroupSourceOptions Options;
    Options.Fit = Context.Preview ? TGroupSourceOptions::WholeFrame : TGroupSourceOptions::SaverScreen;
    MakeSource = TGroupFrameSource::Maker(Options);
  }
  Presenter = std::make_unique<TFramePresenter>(static_cast<THost&>(*this), Handle(), MakeSource, Width, Height,
                                                Monitors, Context.FadeMs);
  Presenter->Shown().SetSize(Width, Height);
  if (!Context.Preview) {
    // A snapshot of the desktop as it is now, shown until the first picture.
    TWindowDC Screen(nullptr, TWindowDC::WholeWindow);
    Presenter->Shown().CopyFrom(Screen.Get(), Covered.left, Covered.top);
  }
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
    TBitmap& Shown = Presenter->Shown();
    if (R.right - R.left != Shown.Width() || R.bottom - R.top != Shown.Height()) {
      Shown.SetSize(R.right - R.left, R.bottom - R.top);
      Presenter->Resize(R.right - R.left, R.bottom - R.top);
    }
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
  if (Message == TFramePresenter::FrameReadyMessage) {
    if (Presenter) Presenter->FrameReady();
    return 0;
  }
  return TForm::WindowProc(Message, WParam, LParam);
}

void TMainForm::PictureDue() {
  // Without settings (their reading failed at creation) there is nothing to
  // show; the snapshot stays until the saver is ended.
  if (SaverSettings && Presenter) Presenter->Tick();
}

void TMainForm::tmrFadeTimer() {
  if (Presenter) Presenter->FadeStep();
}

void TMainForm::FadeTicking(bool On) { tmrFade.SetEnabled(On); }

void TMainForm::Presented(const std::string& Entry, bool PassStart, double TickToFrameMs) {
  CurrentImageFile = Entry;
  if (PassStart) {
    try {
      SaverSettings->LoadSettings(TSettings::ValuesOnly);
    } catch (const std::exception& Error) {
      Presenter->ReportOnce(Error.what());
    }
  }
  if (Context.Presented) Context.Presented(Entry, TickToFrameMs);
}

void TMainForm::ShowFrame() {
  const TBitmap& Frame = Presenter->Shown();
  if (Context.Preview) {
    const HWND Preview = Context.HostWindow;
    if (!PreviewStarted || !IsWindowVisible(Preview)) return;
    TWindowDC PreviewDC(Preview);
    Frame.CopyTo(PreviewDC.Get(), 0, 0);
    return;
  }
  TWindowDC Own(Handle());
  Frame.CopyTo(Own.Get(), 0, 0);
}

void TMainForm::ShowError(const std::string& Error) {
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
    if (Presenter && Presenter->Fading()) tmrFade.SetEnabled(true);
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
  Presenter.reset();
  // Only a picture is kept: with no name taken from the queue (a second
  // instance, an empty group) the user's wallpaper stays as it is.
  if (!Context.Preview && SaverSettings && SaverSettings->KeepAsWallpaper && !CurrentImageFile.empty())
    SetWallpaperImage(CurrentImageFile, *SaverSettings);
  SaverSettings.reset();
}
