#include "forms/FolderPreview.h"

#include <atomic>
#include <mutex>
#include <thread>

#include "library/PictureLibrary.h"
#include "picture/InstalledPictureKinds.h"
#include "platform/SharedCaches.h"

// Shared by the dialog and the one thread of a request.
struct TFolderPreview::TState {
  std::mutex Lock;
  HWND Window = nullptr;  // nullptr once the request is stale or the dialog gone
  bool Ready = false;
  TSummary Summary;
  std::atomic<bool> Stop{false};

  ~TState() {
    if (Summary.Picture) DeleteObject(Summary.Picture);
  }
};

TFolderPreview::~TFolderPreview() { Cancel(); }

void TFolderPreview::Cancel() {
  if (!State) return;
  State->Stop = true;
  {
    std::lock_guard<std::mutex> Guard(State->Lock);
    State->Window = nullptr;
  }
  State.reset();  // the thread's reference, when it still runs, keeps the state alive
}

void TFolderPreview::Request(HWND Window, const std::string& FolderEntry, int Width, int Height, TMake Make) {
  Cancel();
  State = std::make_shared<TState>();
  State->Window = Window;
  std::thread([State = State, Caches = TSharedCaches::Hold(), FolderEntry, Width, Height, Make] {
    TSummary Found;
    try {
      TPictureLibrary Library(TPictureLibrary::DefaultDatabasePath(), InstalledPictureKinds());
      const TEntrySummary Summary = Library.Summarize(FolderEntry, State->Stop);
      Found.Count = Summary.Count;
      if (!Summary.First.empty() && !State->Stop) Found.Picture = Make(Summary.First, Width, Height);
    } catch (...) {
      // Memory ran out: an empty summary.
    }
    std::lock_guard<std::mutex> Guard(State->Lock);
    State->Summary = Found;
    State->Ready = true;
    if (State->Window) PostMessageW(State->Window, ReadyMessage, 0, 0);
  }).detach();
}

bool TFolderPreview::Take(TSummary& Summary) {
  if (!State) return false;
  std::lock_guard<std::mutex> Guard(State->Lock);
  if (!State->Ready) return false;
  Summary = State->Summary;
  State->Summary.Picture = nullptr;
  State->Ready = false;
  return true;
}
