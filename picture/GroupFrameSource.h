#pragma once
// The picture source of the saver, the preview and the viewer: the pictures
// of a group, handed out by the settings' queue (each once per pass, in order
// or at random, with the settings and the group read again for each pass),
// read from their files and composed on the background. Lives on the
// pipeline's worker thread: the group's file, the files it names and the
// pictures are read there only.
#include <atomic>
#include <memory>
#include <string>

#include "library/IndexRefresh.h"
#include "picture/Frame.h"
#include "picture/GroupPictures.h"
#include "picture/LoadImageFile.h"
#include "settings/Settings.h"

struct TGroupSourceOptions {
  // The group shown; empty for the selected group.
  std::string Group;
  // How a picture is fitted: as the saver does (the screen, or the limited
  // screen size), or into the whole frame (the preview box, the viewer).
  enum TFit { SaverScreen, WholeFrame } Fit = SaverScreen;
  // Without a settings key a new pass reads no group: the viewer then reads
  // its group again rather than show the empty queue's message.
  bool ReloadGroupWithoutKey = false;
};

class TGroupFrameSource : public TPictureSource {
 public:
  // Reads the settings and loads the group (errors propagate).
  TGroupFrameSource(const TGroupSourceOptions& Options, const std::atomic<bool>& Stopping);
  void Prepare(TFrame& Frame) override;
  bool PassStillCurrent() override;

  // A maker for the pipeline.
  static TPicturePipeline::TSourceMaker Maker(const TGroupSourceOptions& Options);

 private:
  std::unique_ptr<TSettings> ReadPass() const;
  // The next entry of the queue, a new pass begun first when the last is
  // over (noted in Frame).
  std::string TakeNext(TFrame& Frame);
  // What a pass is made of and a prepared frame depends on: the values that
  // compose a frame, the order, and the entries of the freshly loaded queue.
  static std::string PassContents(const TSettings& Settings);

  // Takes the frame's entries and composes it.
  void ComposeNext(TFrame& Frame);
  // After a pass's first picture: the index brought up to date in the
  // background for the passes after it (one refresh at a time).
  void RefreshIndex();

  const TGroupSourceOptions Options;
  const std::atomic<bool>& Stopping;
  std::unique_ptr<TSettings> Settings;
  std::string Contents;  // PassContents of the pass begun last
  TImageLoader Picture;
  TGroupPictures Pictures;
  bool RefreshDue = true;  // a pass began and its index refresh is not started yet
  std::unique_ptr<TIndexRefresh> Refresh;  // destroyed before Pictures' library
};
