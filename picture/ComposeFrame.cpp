#include "picture/ComposeFrame.h"

#include "core/FitImage.h"

void ComposeFrame(TBitmap& Frame, TImageLoader& Picture, const TSettings& Settings, int AreaW, int AreaH) {
  Frame.Fill(Settings.Background);
  int PW = Picture.Width(), PH = Picture.Height();
  FitImage(AreaW, AreaH, Settings.MaintainAspect, Settings.MaxPercent, PW, PH);
  Picture.DrawInto(Frame, (Frame.Width() - PW) / 2, (Frame.Height() - PH) / 2, PW, PH);
}

void ComposeSaverFrame(TBitmap& Frame, TImageLoader& Picture, TSettings& Settings) {
  int AreaW = Frame.Width(), AreaH = Frame.Height();
  if (AreaW < Settings.MaxScreenX) Settings.MaxScreenX = AreaW;
  if (AreaH < Settings.MaxScreenY) Settings.MaxScreenY = AreaH;
  if (Settings.LimitScreenSize) {
    AreaW = Settings.MaxScreenX;
    AreaH = Settings.MaxScreenY;
  }
  ComposeFrame(Frame, Picture, Settings, AreaW, AreaH);
}
