#include "picture/FramePresenter.h"

#include "platform/SharedCaches.h"

namespace {

double MsSince(std::chrono::steady_clock::time_point Start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Start).count();
}

}  // namespace

TFramePresenter::TFramePresenter(THost& Host, HWND Window, TPicturePipeline::TSourceMaker MakeSource, int Width,
                                 int Height, std::vector<RECT> Monitors, unsigned FadeMs)
    : Host(Host), Width(Width), Height(Height), Monitors(std::move(Monitors)), Fader(FadeMs) {
  // The worker posts to the window only while the pipeline lives: the
  // window outlives its presenter.
  Pipeline = std::make_unique<TPicturePipeline>(
      std::move(MakeSource), [Window] { PostMessageW(Window, FrameReadyMessage, 0, 0); }, TSharedCaches::Hold());
  RequestNext(nullptr);
}

TFramePresenter::~TFramePresenter() = default;

void TFramePresenter::Tick() {
  if (!IsDue) {
    IsDue = true;
    DueSince = std::chrono::steady_clock::now();
  }
  Pipeline->Tick();
  Advance();
}

void TFramePresenter::FrameReady() { Advance(); }

void TFramePresenter::Resize(int NewWidth, int NewHeight) {
  if (NewWidth == Width && NewHeight == Height) return;
  Width = NewWidth;
  Height = NewHeight;
  // Before the first picture there is nothing to redo: the frame under way
  // comes back at the old size and is prepared again.
  if (Count > 0) RedoShown = true;
  Advance();
}

void TFramePresenter::Advance() {
  if (Fader.Active()) return;
  if (RedoShown) {
    // The picture on screen is redone at the new size. A next picture
    // prepared meanwhile was taken from the queue already: what it shows is
    // redone after it, and its frame serves the first redo.
    std::unique_ptr<TFrame> Frame;
    if (Pipeline->Busy()) {
      Frame = Pipeline->Take();
      if (!Frame) {
        // Back here once it is ready; a pass's first picture, held for its
        // tick, has its pass checked now rather than keep the picture on
        // screen waiting for the tick.
        Pipeline->Tick();
        return;
      }
      if (!Redoing && Frame->Error.empty()) Held = ShowsOf(*Frame);
    }
    RedoShown = false;
    Redoing = true;
    RequestAgain(std::move(Frame), ShownNow);
    return;
  }
  if (Redoing) {
    std::unique_ptr<TFrame> Frame = Pipeline->Take();
    if (!Frame) return;
    Redoing = false;
    if (Frame->Error.empty() && Frame->Width == Width && Frame->Height == Height) {
      std::swap(ShownBitmap, Frame->Bitmap);
      Host.ShowFrame();
    }
    if (Held) {
      const TShows Next = *Held;
      Held.reset();
      RequestAgain(std::move(Frame), Next);
    } else {
      RequestNext(std::move(Frame));
    }
    return;
  }
  if (!IsDue) return;
  if (std::unique_ptr<TFrame> Frame = Pipeline->Take()) Present(std::move(Frame));
}

void TFramePresenter::Present(std::unique_ptr<TFrame> Frame) {
  if (!Frame->Error.empty()) {
    // The next tick tries the next picture; the one on screen stays.
    const std::string Error = Frame->Error;
    IsDue = false;
    RequestNext(std::move(Frame));
    ReportOnce(Error);
    return;
  }
  if (Frame->Width != Width || Frame->Height != Height) {
    // Asked for before the size changed: the same entries again, at the
    // size wanted now, so no entry is skipped (nor a pass's beginning).
    const TShows Same = ShowsOf(*Frame);
    RequestAgain(std::move(Frame), Same);
    return;
  }
  IsDue = false;
  LastError.clear();
  ShownNow = ShowsOf(*Frame);
  ShownNow.PassStart = false;  // a redo of it begins no pass
  ++Count;
  const bool PassStart = Frame->PassStart;
  if (Frame->Fade) {
    Fader.Start(std::move(Frame));
    Host.FadeTicking(true);
    FadeStep();
  } else {
    std::swap(ShownBitmap, Frame->Bitmap);
    Host.ShowFrame();
    RequestNext(std::move(Frame));
  }
  GdiFlush();
  Host.Presented(ShownNow.Entry, PassStart, MsSince(DueSince));
}

void TFramePresenter::FadeStep() {
  if (!Fader.Active()) return;
  std::unique_ptr<TFrame> Free = Fader.Step(*ShownBitmap);
  Host.ShowFrame();
  if (!Free) return;
  Host.FadeTicking(false);
  RequestNext(std::move(Free));
  Advance();
}

void TFramePresenter::RequestNext(std::unique_ptr<TFrame> Frame) {
  if (!Frame) Frame = std::make_unique<TFrame>();
  Frame->Again = false;
  Request(std::move(Frame));
}

void TFramePresenter::RequestAgain(std::unique_ptr<TFrame> Frame, const TShows& What) {
  if (!Frame) Frame = std::make_unique<TFrame>();
  Frame->Again = true;
  Frame->Entry = What.Entry;
  Frame->Entries = What.Entries;
  Frame->PassStart = What.PassStart;
  Request(std::move(Frame));
}

void TFramePresenter::Request(std::unique_ptr<TFrame> Frame) {
  Frame->Width = Width;
  Frame->Height = Height;
  Frame->Monitors = Monitors;
  if (!Pipeline->Request(Frame)) return;
  // The frame taken answered the tick that stood; a picture still due has
  // its tick stand for the one asked for now.
  if (IsDue) Pipeline->Tick();
}

void TFramePresenter::ReportOnce(const std::string& Error) {
  if (Error == LastError) return;
  LastError = Error;
  Host.ShowError(Error);
}
