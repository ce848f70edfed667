#pragma once
// A picture pipeline: one worker thread prepares the frame of the next queue
// entry (reads, decodes, composes it) while the window thread shows the
// current one, so that at the tick the window thread only presents it and
// never waits on a file. Portable.
//
// One frame is in the pipeline at a time: the window hands a frame in with
// Request (its storage reused), and takes it back prepared with Take. So the
// frame on screen and the one being prepared are the only two alive.
//
// The first picture of a pass is prepared ahead like any other, with the
// settings and the group as they were then. It is held until the tick that is
// to show it; the source is then asked whether the pass it began is still
// what the settings and the group describe. When it is not, the prepared
// frame is thrown away and the first picture of the pass they describe now
// is prepared instead: a change made between passes is never hidden behind a
// frame prepared before it.
//
// The pipeline never waits for a busy worker when it ends (a read on a share
// that has gone away can block for minutes): after a short grace the worker
// is left to finish on its own, holding its own state and whatever it was
// given to keep alive, or to be ended with the process. Once the pipeline is
// gone the worker calls nothing of its owner's: Ready is never called again.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

// What the worker prepares frames from: the queue and the files behind it.
// Every call is made on the worker thread, one at a time. TFrame is the
// window's frame type; it has the fields Entry (the queue entry it shows),
// Again (the window asks for Entry once more, at another size), PassStart
// (the settings were read again for it) and Error (the text of an error
// raised while it was prepared). A frame asked for Again keeps the PassStart
// its owner gives it: it shows the same entry, and its pass was confirmed
// when it was first prepared.
template <typename TFrame>
class TFrameSource {
 public:
  virtual ~TFrameSource() = default;
  // Takes the next entry of the queue into Frame and composes its picture,
  // beginning a new pass first when the last is over (and then setting
  // PassStart); with Again, composes Frame's entry and takes nothing. May
  // raise; the frame then carries the error.
  virtual void Prepare(TFrame& Frame) = 0;
  // Whether the pass begun last is still the one that the settings and the
  // group describe now. When it is not, the source holds that fresh pass
  // instead, and the next Prepare takes its first entry.
  virtual bool PassStillCurrent() = 0;
};

template <typename TFrame>
class TFramePipeline {
 public:
  using TSource = TFrameSource<TFrame>;
  // Made on the worker thread before its first frame, so that whatever the
  // source reads when it is made (the settings, the group) is read there.
  // Stopping turns true when the pipeline ends; a source may poll it to give
  // up a long decode.
  using TSourceMaker = std::function<std::unique_ptr<TSource>(const std::atomic<bool>& Stopping)>;

  // Ready is called on the worker thread each time a frame is ready to take,
  // under the pipeline's lock: it must only signal (post a message, notify),
  // never call back into the pipeline. KeepAlive is held by the worker until
  // its very end, after its source and its frames are gone: what they use
  // that must outlive a worker left running as the process ends.
  TFramePipeline(TSourceMaker MakeSource, std::function<void()> Ready, std::shared_ptr<void> KeepAlive = nullptr)
      : Shared(std::make_shared<TShared>()) {
    Shared->Ready = std::move(Ready);
    std::thread(&TFramePipeline::Work, std::move(KeepAlive), Shared, std::move(MakeSource)).detach();
  }
  ~TFramePipeline() {
    std::unique_lock<std::mutex> Lock(Shared->Lock);
    Shared->Stopping = true;
    Shared->Wake.notify_all();
    // A worker between two steps ends at once; a decode that polls Stopping
    // ends soon after. One that blocks is not waited for.
    Shared->Wake.wait_for(Lock, std::chrono::milliseconds(250), [this] { return Shared->Finished; });
  }
  TFramePipeline(const TFramePipeline&) = delete;
  TFramePipeline& operator=(const TFramePipeline&) = delete;

  // Hands in a frame to fill with the next entry (or, with Again, with its
  // own entry at its size). Only one frame is in the
  // pipeline: a request made while one is still there is ignored and
  // returns false (the frame is given back in Frame).
  bool Request(std::unique_ptr<TFrame>& Frame) {
    std::lock_guard<std::mutex> Lock(Shared->Lock);
    if (Shared->Busy) return false;
    Shared->Busy = true;
    Shared->Requested = std::move(Frame);
    Shared->Wake.notify_all();
    return true;
  }
  // The tick that is to show the next frame has come. It stands until a
  // frame is taken, so a tick that comes before the frame is asked for, or
  // while it is prepared, counts for it.
  void Tick() {
    std::lock_guard<std::mutex> Lock(Shared->Lock);
    Shared->TickCame = true;
    Shared->Wake.notify_all();
  }
  // The prepared frame, or null while none is ready. A frame taken answers
  // the tick that stood: an owner that takes a frame it does not show and is
  // still due calls Tick again.
  std::unique_ptr<TFrame> Take() {
    std::lock_guard<std::mutex> Lock(Shared->Lock);
    if (!Shared->Prepared) return nullptr;
    Shared->Busy = false;
    Shared->TickCame = false;
    return std::move(Shared->Prepared);
  }
  // Whether a frame is in the pipeline (being prepared or ready).
  bool Busy() const {
    std::lock_guard<std::mutex> Lock(Shared->Lock);
    return Shared->Busy;
  }

 private:
  // What the window thread and the worker share; the worker keeps it alive
  // for as long as it runs.
  struct TShared {
    mutable std::mutex Lock;
    std::condition_variable Wake;
    std::function<void()> Ready;
    std::unique_ptr<TFrame> Requested;
    std::unique_ptr<TFrame> Prepared;
    bool Busy = false;
    bool TickCame = false;
    bool Finished = false;
    std::atomic<bool> Stopping{false};
  };

  // Runs Step, turning whatever it raises into the frame's error.
  template <typename F>
  static bool Caught(TFrame& Frame, F&& Step) {
    try {
      Step();
      return true;
    } catch (const std::exception& Error) {
      Frame.Error = Error.what();
    } catch (...) {
      Frame.Error = "Unknown error";
    }
    return false;
  }

  static void Prepare(const std::shared_ptr<TShared>& Shared, std::unique_ptr<TSource>& Source,
                      const TSourceMaker& MakeSource, TFrame& Frame) {
    Frame.Error.clear();
    if (!Frame.Again) Frame.PassStart = false;
    Caught(Frame, [&] {
      if (!Source) Source = MakeSource(Shared->Stopping);
      Source->Prepare(Frame);
    });
  }

  // Holds a pass's first frame until its tick, then has the source confirm
  // the pass; false when the pipeline stops meanwhile.
  static bool ConfirmPass(const std::shared_ptr<TShared>& Shared, std::unique_ptr<TSource>& Source,
                          const TSourceMaker& MakeSource, TFrame& Frame) {
    {
      std::unique_lock<std::mutex> Lock(Shared->Lock);
      Shared->Wake.wait(Lock, [&] { return Shared->Stopping || Shared->TickCame; });
      if (Shared->Stopping) return false;
    }
    bool Current = true;
    if (!Caught(Frame, [&] { Current = Source->PassStillCurrent(); })) return true;
    if (!Current) {
      Frame.Again = false;
      Prepare(Shared, Source, MakeSource, Frame);
      Frame.PassStart = true;  // the settings were read for it just now
    }
    return true;
  }

  static void Work(std::shared_ptr<void> KeepAlive, std::shared_ptr<TShared> Shared, TSourceMaker MakeSource) {
    {
      std::unique_ptr<TSource> Source;
      for (;;) {
        std::unique_ptr<TFrame> Frame;
        {
          std::unique_lock<std::mutex> Lock(Shared->Lock);
          Shared->Wake.wait(Lock, [&] { return Shared->Stopping || Shared->Requested; });
          if (Shared->Stopping) break;
          Frame = std::move(Shared->Requested);
        }
        const bool Again = Frame->Again;
        Prepare(Shared, Source, MakeSource, *Frame);
        // A pass begun by this frame (not one it shows again) is held for
        // its tick and confirmed then.
        if (!Again && Frame->PassStart && Frame->Error.empty() && !ConfirmPass(Shared, Source, MakeSource, *Frame))
          break;
        // Ready is called under the lock that the pipeline's end takes to
        // set Stopping: once the pipeline is gone it is never called.
        std::lock_guard<std::mutex> Lock(Shared->Lock);
        if (Shared->Stopping) break;
        Shared->Prepared = std::move(Frame);
        if (Shared->Ready) Shared->Ready();
      }
      // The frame being prepared when the pipeline ended, and the source,
      // are let go here, before what they use is.
    }
    {
      std::lock_guard<std::mutex> Lock(Shared->Lock);
      Shared->Finished = true;
      Shared->Wake.notify_all();
    }
    Shared.reset();
    KeepAlive.reset();
  }

  std::shared_ptr<TShared> Shared;
};
