#include "viewer/SlideShowFrm.h"

#include "core/ProductInfo.h"
#include "picture/ComposeFrame.h"
#include "picture/LoadImageFile.h"
#include "platform/Application.h"
#include "platform/Gdi.h"

RECT SlideShowBounds(const TSettings& Settings) {
  const int W = Settings.SlideShowSizeX > 0 ? Settings.SlideShowSizeX : 267;
  const int H = Settings.SlideShowSizeY > 0 ? Settings.SlideShowSizeY : 200;
  RECT R{Settings.SlideShowPosX, Settings.SlideShowPosY, Settings.SlideShowPosX + W, Settings.SlideShowPosY + H};
  if (!MonitorFromRect(&R, MONITOR_DEFAULTTONULL)) R = RECT{0, 0, W, H};
  return R;
}

TSlideShowForm::TSlideShowForm(TApplication& Application, std::unique_ptr<TSettings> Settings)
    : TForm(Application), tmrDraw(*this), ViewerSettings(std::move(Settings)) {
  tmrDraw.SetEnabled(false);
  tmrDraw.SetHandler(&TSlideShowForm::tmrDrawTimer);
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

TSlideShowForm::~TSlideShowForm() = default;

void TSlideShowForm::FormCreate() {
  DrawNextImage();
  const std::int32_t Interval = ViewerSettings->TimerInterval;
  tmrDraw.SetInterval(Interval > 0 ? static_cast<UINT>(Interval) : 0);
  tmrDraw.SetEnabled(true);
}

void TSlideShowForm::tmrDrawTimer() {
  // Nobody sees a minimised slide show: no picture is decoded for it.
  if (!IsIconic(Handle())) DrawNextImage();
}

void TSlideShowForm::DrawNextImage() {
  try {
    ShowNextPicture();
    LastError.clear();
  } catch (const std::exception& Error) {
    if (Error.what() == LastError) return;
    LastError = Error.what();
    // No tick may stack a second box behind this one.
    tmrDraw.SetEnabled(false);
    Application().ShowException(Error);
    tmrDraw.SetEnabled(true);
  }
}

void TSlideShowForm::ShowNextPicture() {
  CurrentImageFile = ViewerSettings->NextImage();
  // Without a settings key a new pass reads no group; the group loaded at
  // start (perhaps the sample picture alone) is then read again here.
  if (CurrentImageFile.empty() && ViewerSettings->GroupImageCount > 0) {
    ViewerSettings->LoadGroup(ViewerSettings->CurrentGroup);
    CurrentImageFile = ViewerSettings->NextImage();
  }
  Picture.Open(CurrentImageFile);
  HasPicture = true;
  ComposeFrame();
  TWindowDC Own(Handle());
  FrameBitmap.CopyTo(Own.Get(), 0, 0);
}

void TSlideShowForm::ComposeFrame() {
  RECT Client;
  GetClientRect(Handle(), &Client);
  if (Client.right != FrameBitmap.Width() || Client.bottom != FrameBitmap.Height())
    FrameBitmap.SetSize(Client.right, Client.bottom, TBitmap::Overwritten);
  if (FrameBitmap.Empty()) return;
  if (HasPicture)
    ::ComposeFrame(FrameBitmap, Picture, *ViewerSettings, FrameBitmap.Width(), FrameBitmap.Height());
  else
    FrameBitmap.Fill(ViewerSettings->Background);
}

LRESULT TSlideShowForm::WindowProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  switch (Message) {
    case WM_PAINT:
      FormPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the frame covers the whole client area
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
  if (DC) FrameBitmap.CopyTo(DC, 0, 0);
  EndPaint(Handle(), &Paint);
}

void TSlideShowForm::FormResize() {
  ComposeFrame();
  InvalidateRect(Handle(), nullptr, FALSE);
}

// The process ends after this message without the forms being destroyed.
void TSlideShowForm::FormEndSession() { StorePlacement(); }

void TSlideShowForm::FormDestroy() { StorePlacement(); }

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
  if (GetMonitorInfoA(MonitorFromRect(&R, MONITOR_DEFAULTTOPRIMARY), &Monitor))
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
