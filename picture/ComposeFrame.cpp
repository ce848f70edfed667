#include "picture/ComposeFrame.h"

#include <algorithm>

#include "core/FitImage.h"

void ComposeFrame(TBitmap& Frame, TImageLoader& Picture, const TSettings& Settings, int AreaW, int AreaH) {
  Frame.Fill(Settings.Background);
  int PW = Picture.Width(), PH = Picture.Height();
  FitImage(AreaW, AreaH, Settings.MaintainAspect, Settings.MaxPercent, PW, PH);
  Picture.DrawInto(Frame, (Frame.Width() - PW) / 2, (Frame.Height() - PH) / 2, PW, PH);
}

void ComposeSaverFrame(TBitmap& Frame, TImageLoader& Picture, TSettings& Settings) {
  if (Frame.Width() < Settings.MaxScreenX) Settings.MaxScreenX = Frame.Width();
  if (Frame.Height() < Settings.MaxScreenY) Settings.MaxScreenY = Frame.Height();
  Frame.Fill(Settings.Background);
  ComposeSaverArea(Frame, RECT{0, 0, Frame.Width(), Frame.Height()}, Picture, Settings);
}

void ComposeSaverArea(TBitmap& Frame, const RECT& Area, TImageLoader& Picture, const TSettings& Settings) {
  const int MonitorW = Area.right - Area.left, MonitorH = Area.bottom - Area.top;
  int AreaW = MonitorW, AreaH = MonitorH;
  if (Settings.LimitScreenSize) {
    AreaW = std::min(AreaW, Settings.MaxScreenX);
    AreaH = std::min(AreaH, Settings.MaxScreenY);
  }
  int PW = Picture.Width(), PH = Picture.Height();
  FitImage(AreaW, AreaH, Settings.MaintainAspect, Settings.MaxPercent, PW, PH);
  Picture.DrawInto(Frame, Area.left + (MonitorW - PW) / 2, Area.top + (MonitorH - PH) / 2, PW, PH);
}
