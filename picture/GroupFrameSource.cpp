#include "picture/GroupFrameSource.h"

#include <cstdio>

#include "library/PictureLibrary.h"
#include "picture/ComposeFrame.h"
#include "picture/InstalledPictureKinds.h"

TGroupFrameSource::TGroupFrameSource(const TGroupSourceOptions& Options, const std::atomic<bool>& Stopping)
    : Options(Options), Stopping(Stopping), Pictures(TPictureLibrary::DefaultDatabasePath()) {
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
  std::snprintf(Values, sizeof Values, "%u %.17g %d %d %d %d %d %d %d\n", static_cast<unsigned>(S.Background),
                S.MaxPercent, S.MaintainAspect, S.LimitScreenSize, S.MaxScreenX, S.MaxScreenY, S.RandomOrder,
                S.AllMonitors, S.MixFoldersEvenly);
  std::string Contents = Values;
  for (std::size_t I = 0; I < S.ImageQueue.Count(); ++I) Contents.append(S.ImageQueue[I]).push_back('\n');
  return Contents;
}

std::string TGroupFrameSource::TakeNext(TFrame& Frame) {
  // A new pass is begun by this source rather than by the settings alone, so
  // that what it loaded is known, and the frame marked, whenever NextImage
  // begins one (also in the middle of its call, after lines that give no
  // picture).
  return Pictures.Next(*Settings, Stopping, [this, &Frame] {
    Settings->LoadSettings();
    if (Options.ReloadGroupWithoutKey && Settings->ImageQueue.Empty()) Settings->LoadGroup(Settings->CurrentGroup);
    Contents = PassContents(*Settings);
    Frame.PassStart = true;
    RefreshDue = true;
  });
}

void TGroupFrameSource::RefreshIndex() {
  // Called once a frame is composed, so that a pass's first picture is never
  // held up; a refresh still at work (a slow share) is left to finish
  // rather than waited for.
  if (!Pictures.HasFolders() || Pictures.Lines().empty()) return;
  if (Refresh && !Refresh->Done()) return;
  RefreshDue = false;
  Refresh.reset();
  Refresh = std::make_unique<TIndexRefresh>(TPictureLibrary::DefaultDatabasePath(), InstalledPictureKinds(),
                                            Pictures.Lines());
}

void TGroupFrameSource::Prepare(TFrame& Frame) {
  ComposeNext(Frame);
  if (RefreshDue) RefreshIndex();
}

void TGroupFrameSource::ComposeNext(TFrame& Frame) {
  Frame.Bitmap->SetSize(Frame.Width, Frame.Height, TBitmap::Overwritten);
  if (!Frame.Monitors.empty()) {
    // A picture of its own on each monitor, the next entries in monitor
    // order; with "All Monitors" off the others keep the background. Again,
    // the same entries, on as many monitors as there are now.
    if (!Frame.Again || Frame.Entries.empty()) {
      Frame.Entries.clear();
      for (std::size_t I = 0; I < Frame.Monitors.size(); ++I) {
        if (I > 0 && !Settings->AllMonitors) break;
        Frame.Entries.push_back(TakeNext(Frame));
      }
    } else if (Frame.Entries.size() > Frame.Monitors.size()) {
      Frame.Entries.resize(Frame.Monitors.size());
    }
    Frame.Fade = Settings->FadeBetweenPictures;
    // Composed once every entry is taken: a pass begun on the way has its
    // settings in force for the whole frame.
    Frame.Bitmap->Fill(Settings->Background);
    for (std::size_t I = 0; I < Frame.Entries.size(); ++I) {
      Picture.Open(Frame.Entries[I]);
      ComposeSaverArea(*Frame.Bitmap, Frame.Monitors[I], Picture, *Settings);
    }
    Frame.Entry = Frame.Entries.front();
    return;
  }
  if (!Frame.Again) Frame.Entry = TakeNext(Frame);
  Frame.Fade = Settings->FadeBetweenPictures;
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
  Pictures.Reset();
  RefreshDue = true;
  return false;
}
