#pragma once
// Presents the frames of a picture pipeline in a window: the one way the
// saver, its preview and the slide show viewer show their pictures. The
// worker prepares the next frame while the current one is shown; when the
// window says a picture is due, the presenter takes the prepared frame and
// cuts to it or fades it in, hands the free frame back for the next picture,
// and has each error shown once while it repeats. When the window's size
// changes, the picture on screen is prepared again at the new size, then the
// next one if it was ready already; a frame that comes back at a size no
// longer wanted is prepared again for the same entry, never skipped.
//
// Only two frames are alive: the one on screen (Shown) and the one in the
// pipeline or fading in. The window's thread never reads a file.
#include <windows.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "picture/Frame.h"
#include "picture/FrameFader.h"
#include "platform/Bitmap.h"

class TFramePresenter {
 public:
  // What the window does for its presenter; called on the window's thread.
  class THost {
   public:
    virtual ~THost() = default;
    // Copies the shown frame to the screen.
    virtual void ShowFrame() = 0;
    // Steps of a fade are wanted every TFrameFader::StepMs() (On), or no
    // longer; each step is a call of FadeStep.
    virtual void FadeTicking(bool On) = 0;
    // A picture was presented (cut to, or its fade begun): its entry (the
    // primary monitor's), whether a pass began with it, and the time from
    // the tick that asked for it.
    virtual void Presented(const std::string& Entry, bool PassStart, double TickToFrameMs) = 0;
    // Shows an error (the same text is not shown again until a picture was
    // presented meanwhile).
    virtual void ShowError(const std::string& Error) = 0;
  };
  // Posted to Window by the worker when a frame is ready: the window then
  // calls FrameReady.
  static constexpr UINT FrameReadyMessage = WM_APP + 1;

  // Starts the pipeline on MakeSource's pictures and asks for the first
  // frame at Width x Height (each monitor of Monitors, in frame coordinates,
  // showing a picture of its own; none: one picture on the whole frame).
  // Shown starts empty, for the window to fill (a snapshot, the
  // background). A fade takes FadeMs.
  TFramePresenter(THost& Host, HWND Window, TPicturePipeline::TSourceMaker MakeSource, int Width, int Height,
                  std::vector<RECT> Monitors = {}, unsigned FadeMs = 500);
  // Ends the pipeline without waiting for a worker that blocks.
  ~TFramePresenter();
  TFramePresenter(const TFramePresenter&) = delete;
  TFramePresenter& operator=(const TFramePresenter&) = delete;

  // The next picture is due: it is presented as soon as it is ready.
  void Tick();
  void FrameReady();
  void FadeStep();
  // Frames are wanted at this size from now on.
  void Resize(int Width, int Height);

  TBitmap& Shown() { return *ShownBitmap; }
  // The entry of the picture on screen (empty before the first): the one
  // Keep As Wallpaper keeps, never the one being prepared.
  const std::string& ImageFile() const { return ShownNow.Entry; }
  int PicturesShown() const { return Count; }
  bool Due() const { return IsDue; }
  bool Fading() const { return Fader.Active(); }
  // Has the host show Error, unless it was the last one shown and no
  // picture was presented since.
  void ReportOnce(const std::string& Error);

 private:
  // What a frame shows: its entries, and whether a pass begins with it.
  struct TShows {
    std::string Entry;
    std::vector<std::string> Entries;
    bool PassStart = false;
  };
  static TShows ShowsOf(const TFrame& Frame) { return TShows{Frame.Entry, Frame.Entries, Frame.PassStart}; }

  // Moves on: a redo at a new size first, then the due picture.
  void Advance();
  void Present(std::unique_ptr<TFrame> Frame);
  // Hands Frame (a new one when null) to the pipeline for the next entry.
  void RequestNext(std::unique_ptr<TFrame> Frame);
  // Hands Frame in to be prepared again, at the wanted size, to show What.
  void RequestAgain(std::unique_ptr<TFrame> Frame, const TShows& What);
  void Request(std::unique_ptr<TFrame> Frame);

  THost& Host;
  std::unique_ptr<TBitmap> ShownBitmap = std::make_unique<TBitmap>();
  int Width;
  int Height;
  std::vector<RECT> Monitors;
  TFrameFader Fader;  // holds the frame fading in
  std::unique_ptr<TPicturePipeline> Pipeline;
  bool IsDue = false;
  std::chrono::steady_clock::time_point DueSince;
  // What is on screen; its Entry is empty before the first picture.
  TShows ShownNow;
  int Count = 0;
  // The size changed with a picture on screen: it is to be redone.
  bool RedoShown = false;
  bool Redoing = false;
  // A next frame taken from the pipeline to make room for the redo: what it
  // shows, prepared again after it.
  std::optional<TShows> Held;
  std::string LastError;
};
