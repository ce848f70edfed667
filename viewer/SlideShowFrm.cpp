#include "viewer/SlideShowFrm.h"

#include <stdexcept>

#include "core/ProductInfo.h"
#include "picture/GroupFrameSource.h"
#include "platform/Application.h"
#include "platform/Gdi.h"

RECT SlideShowBounds(const TSettings& Settings) {
  const int W = Settings.SlideShowSizeX > 0 ? Settings.SlideShowSizeX : 267;
  const int H = Settings.SlideShowSizeY > 0 ? Settings.SlideShowSizeY : 200;
  RECT R{Settings.SlideShowPosX, Settings.SlideShowPosY, Settings.SlideShowPosX + W, Settings.SlideShowPosY + H};
  if (!MonitorFromRect(&R, MONITOR_DEFAULTTONULL)) R = RECT{0, 0, W, H};
  return R;
}

namespace {

// The window's settings: the values alone (the worker loads the group), with
// the group shown as CurrentGroup.
std::unique_ptr<TSettings> WindowSettings(const std::string& Group) {
  auto Settings = std::make_unique<TSettings>(Group, TSettings::ValuesOnly);
  if (Group.empty()) Settings->CurrentGroup = Settings->SlideShowGroup;
  return Settings;
}

}  // namespace

TSlideShowForm::TSlideShowForm(TApplication& Application, const std::string& Group,
                               TPicturePipeline::TSourceMaker MakeSource)
    : TForm(Application), tmrDraw(*this), tmrFade(*this), ViewerSettings(WindowSettings(Group)) {
  tmrDraw.SetEnabled(false);
  tmrDraw.SetHandler(&TSlideShowForm::tmrDrawTimer);
  tmrFade.SetEnabled(false);
  tmrFade.SetInterval(TFrameFader::StepMs());
  tmrFade.SetHandler(&TSlideShowForm::tmrFadeTimer);
  if (!MakeSource) {
    TGroupSourceOptions Options;
    Options.Group = ViewerSettings->CurrentGroup;
    Options.Fit = TGroupSourceOptions::WholeFrame;
    Options.ReloadGroupWithoutKey = true;
    MakeSource = TGroupFrameSource::Maker(Options);
  }
  Source = std::move(MakeSource);
  const RECT Bounds = SlideShowBounds(*ViewerSettings);
  const std::string Caption = std::string(ProductName) + " - " + ViewerSettings->CurrentGroup;
  TFormStyle Style;
  Style.Style = WS_OVERLAPPEDWINDOW;
  // Owned by the hidden application window, so it asks for a task-bar button.
  Style.ExStyle = WS_EX_APPWINDOW | (ViewerSettings->SlideShowOnTop ? WS_EX_TOPMOST : 0);
  Style.Left = Bounds.left;
  Style.Top = Bounds.top;
  Style.Width = Bounds.right - Bounds.left;
  Style.Height = Bounds.bottom - Bounds.top;
  Style.ClassName = "TSlideShowForm";
  Style.Caption = Caption.c_str();
  CreateForm(Style);
}

// A worker still reading is not waited for beyond the pipeline's grace.
TSlideShowForm::~TSlideShowForm() = default;

void TSlideShowForm::FormCreate() {
  const SIZE Client = ClientSize();
  Presenter = std::make_unique<TFramePresenter>(static_cast<THost&>(*this), Handle(), Source, Client.cx, Client.cy);
  Presenter->Shown().SetSize(Client.cx, Client.cy);
  Presenter->Shown().Fill(ViewerSettings->Background);
  // The first picture is shown as soon as it is ready, whatever the interval.
  Presenter->Tick();
  const std::int32_t Interval = ViewerSettings->TimerInterval;
  tmrDraw.SetInterval(Interval > 0 ? static_cast<UINT>(Interval) : 0);
  tmrDraw.SetEnabled(true);
}

SIZE TSlideShowForm::ClientSize() const {
  RECT Client{};
  GetClientRect(Handle(), &Client);
  return SIZE{Client.right, Client.bottom};
}

void TSlideShowForm::tmrDrawTimer() {
  // Nobody sees a minimised slide show: no picture is prepared for it.
  if (IsIconic(Handle()) || !Presenter) return;
  Presenter->Tick();
}

void TSlideShowForm::tmrFadeTimer() {
  if (Presenter) Presenter->FadeStep();
}

void TSlideShowForm::FadeTicking(bool On) { tmrFade.SetEnabled(On); }

void TSlideShowForm::Presented(const std::string& Entry, bool, double) { CurrentImageFile = Entry; }

void TSlideShowForm::ShowError(const std::string& Error) {
  // No tick may stack a second box behind this one.
  const bool Ticking = tmrDraw.Enabled();
  tmrDraw.SetEnabled(false);
  Application().ShowException(std::runtime_error(Error));
  tmrDraw.SetEnabled(Ticking);
}

void TSlideShowForm::ShowFrame() {
  TWindowDC Own(Handle());
  PaintFrame(Own.Get());
}

void TSlideShowForm::PaintFrame(HDC DC) {
  if (!Presenter) return;
  const TBitmap& Frame = Presenter->Shown();
  const SIZE Client = ClientSize();
  if (Client.cx == Frame.Width() && Client.cy == Frame.Height()) {
    Frame.CopyTo(DC, 0, 0);
    return;
  }
  // Resized: the frame stretched until it is redone at the new size.
  SetStretchBltMode(DC, HALFTONE);
  SetBrushOrgEx(DC, 0, 0, nullptr);
  StretchBlt(DC, 0, 0, Client.cx, Client.cy, Frame.Canvas(), 0, 0, Frame.Width(), Frame.Height(), SRCCOPY);
}

LRESULT TSlideShowForm::WindowProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  switch (Message) {
    case WM_PAINT:
      FormPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the frame covers the whole client area
    case TFramePresenter::FrameReadyMessage:
      if (Presenter) Presenter->FrameReady();
      return 0;
    case WM_SIZE:
      if (WParam != SIZE_MINIMIZED) FormResize();
      break;
    case WM_ENDSESSION:
      if (WParam) FormEndSession();
      return 0;
    default:
      break;
  }
  return TForm::WindowProc(Message, WParam, LParam);
}

void TSlideShowForm::FormPaint() {
  PAINTSTRUCT Paint;
  HDC DC = BeginPaint(Handle(), &Paint);
  if (DC) PaintFrame(DC);
  EndPaint(Handle(), &Paint);
}

void TSlideShowForm::FormResize() {
  InvalidateRect(Handle(), nullptr, FALSE);
  const SIZE Client = ClientSize();
  if (Presenter) Presenter->Resize(Client.cx, Client.cy);
}

// The process ends after this message without the forms being destroyed.
void TSlideShowForm::FormEndSession() { StorePlacement(); }

void TSlideShowForm::FormDestroy() {
  StorePlacement();
  Presenter.reset();
}

RECT TSlideShowForm::NormalBounds() const {
  RECT R{};
  if (!IsIconic(Handle()) && !IsZoomed(Handle())) {
    GetWindowRect(Handle(), &R);
    return R;
  }
  // The restored rectangle is kept in work-area coordinates.
  WINDOWPLACEMENT Placement{};
  Placement.length = sizeof Placement;
  GetWindowPlacement(Handle(), &Placement);
  R = Placement.rcNormalPosition;
  MONITORINFO Monitor{};
  Monitor.cbSize = sizeof Monitor;
  if (GetMonitorInfoW(MonitorFromRect(&R, MONITOR_DEFAULTTOPRIMARY), &Monitor))
    OffsetRect(&R, Monitor.rcWork.left - Monitor.rcMonitor.left, Monitor.rcWork.top - Monitor.rcMonitor.top);
  return R;
}

void TSlideShowForm::StorePlacement() {
  if (!Handle()) return;
  const RECT R = NormalBounds();
  ViewerSettings->SlideShowPosX = R.left;
  ViewerSettings->SlideShowPosY = R.top;
  ViewerSettings->SlideShowSizeX = R.right - R.left;
  ViewerSettings->SlideShowSizeY = R.bottom - R.top;
  ViewerSettings->SaveSlideShowPlacement();
}
