#include "picture/GroupFrameSource.h"

#include <cstdio>

#include "picture/ComposeFrame.h"

TGroupFrameSource::TGroupFrameSource(const TGroupSourceOptions& Options, const std::atomic<bool>& Stopping)
    : Options(Options) {
  Picture.SetAbandonCheck([&Stopping] { return Stopping.load(); });
  Settings = ReadPass();
  Contents = PassContents(*Settings);
}

TPicturePipeline::TSourceMaker TGroupFrameSource::Maker(const TGroupSourceOptions& Options) {
  return [Options](const std::atomic<bool>& Stopping) -> std::unique_ptr<TPictureSource> {
    return std::make_unique<TGroupFrameSource>(Options, Stopping);
  };
}

std::unique_ptr<TSettings> TGroupFrameSource::ReadPass() const {
  auto Fresh = std::make_unique<TSettings>(Settings ? Settings->CurrentGroup : Options.Group);
  if (Options.ReloadGroupWithoutKey && Fresh->ImageQueue.Empty()) Fresh->LoadGroup(Fresh->CurrentGroup);
  return Fresh;
}

std::string TGroupFrameSource::PassContents(const TSettings& S) {
  char Values[160];
  std::snprintf(Values, sizeof Values, "%u %.17g %d %d %d %d %d\n", static_cast<unsigned>(S.Background),
                S.MaxPercent, S.MaintainAspect, S.LimitScreenSize, S.MaxScreenX, S.MaxScreenY, S.RandomOrder);
  std::string Contents = Values;
  for (std::size_t I = 0; I < S.ImageQueue.Count(); ++I) Contents.append(S.ImageQueue[I]).push_back('\n');
  return Contents;
}

void TGroupFrameSource::Prepare(TFrame& Frame) {
  if (!Frame.Again) {
    // A new pass is begun here rather than inside NextImage, so that what it
    // loaded is known before the first entry is taken.
    if (Settings->ImageQueue.Empty() && Settings->GroupImageCount > 0) {
      Settings->LoadSettings();
      if (Options.ReloadGroupWithoutKey && Settings->ImageQueue.Empty()) Settings->LoadGroup(Settings->CurrentGroup);
      Contents = PassContents(*Settings);
      Frame.PassStart = true;
    }
    Frame.Entry = Settings->NextImage();
  }
  Frame.Bitmap->SetSize(Frame.Width, Frame.Height, TBitmap::Overwritten);
  Picture.Open(Frame.Entry);
  if (Options.Fit == TGroupSourceOptions::SaverScreen)
    ComposeSaverFrame(*Frame.Bitmap, Picture, *Settings);
  else
    ComposeFrame(*Frame.Bitmap, Picture, *Settings, Frame.Width, Frame.Height);
}

bool TGroupFrameSource::PassStillCurrent() {
  std::unique_ptr<TSettings> Fresh = ReadPass();
  std::string FreshContents = PassContents(*Fresh);
  if (FreshContents == Contents) return true;
  Settings = std::move(Fresh);
  Contents = std::move(FreshContents);
  return false;
}
