#include "picture/GroupPictures.h"

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "core/FolderEntry.h"
#include "library/PictureLibrary.h"
#include "picture/InstalledPictureKinds.h"
#include "platform/Files.h"
#include "settings/Settings.h"

namespace {

// The clock reading that seeds each random pick.
std::uint32_t ClockSeed() {
  LARGE_INTEGER Counter;
  if (QueryPerformanceCounter(&Counter)) return static_cast<std::uint32_t>(Counter.LowPart);
  return GetTickCount();
}

}  // namespace

// The first pass's expansion, on a thread of its own: the first picture is
// known (FirstKnown) as soon as the folders up to the first holding one are
// listed, the whole list once Done. List is the thread's until Done.
struct TGroupPictures::TFirstExpansion {
  std::mutex Lock;
  std::condition_variable Changed;
  bool FirstKnown = false;
  bool Done = false;
  std::string First;
  TPictureList List;
  std::thread Thread;

  ~TFirstExpansion() {
    if (Thread.joinable()) Thread.join();
  }
};

TGroupPictures::TGroupPictures(std::string DatabasePath) : DatabasePath(std::move(DatabasePath)) {}

TGroupPictures::~TGroupPictures() = default;

void TGroupPictures::Begin(const TSettings& Settings, const std::atomic<bool>& Stop) {
  Expansion.reset();  // a first pass given up before its list was taken
  PassLines = Settings.ImageQueue.ToVector();
  Folders = false;
  for (const std::string& Line : PassLines) Folders = Folders || IsFolderEntry(Line);
  Mode = !Settings.RandomOrder       ? TPassOrder::ListOrder
         : Settings.MixFoldersEvenly ? TPassOrder::MixFolders
                                     : TPassOrder::Random;
  RandomFirst = Settings.RandomOrder;
  List.Clear();
  Skip.clear();
  Begun = true;
  if (Folders && !Library) {
    // The first pass with folders: expanded beside the caller, which takes
    // its first picture as soon as it is known.
    Library = std::make_unique<TPictureLibrary>(DatabasePath, InstalledPictureKinds());
    Expansion = std::make_unique<TFirstExpansion>();
    TFirstExpansion* E = Expansion.get();
    E->Thread = std::thread([E, Lines = PassLines, Path = DatabasePath, &Stop] {
      try {
        TPictureLibrary Own(Path, InstalledPictureKinds());
        Own.Expand(Lines, E->List, Stop, [E](const std::string& First) {
          std::lock_guard<std::mutex> Guard(E->Lock);
          E->First = First;
          E->FirstKnown = true;
          E->Changed.notify_all();
        });
      } catch (...) {
        // Memory ran out: the pass holds what was found.
      }
      std::lock_guard<std::mutex> Guard(E->Lock);
      E->Done = true;
      E->Changed.notify_all();
    });
    return;
  }
  if (Folders)
    Library->Expand(PassLines, List, Stop);
  else
    for (const std::string& Line : PassLines) List.AddFileLine(Line);
  Order.Begin(Mode, List.FolderNumbers(), List.Folders());
}

bool TGroupPictures::TakeEarlyFirst(std::string& First) {
  TFirstExpansion& E = *Expansion;
  std::unique_lock<std::mutex> Guard(E.Lock);
  if (!EarlyGiven) {
    // At random, a first picture drawn from the whole group is worth a
    // moment's wait: an index that knows the folders gives it at once. Only
    // a folder listed for the first time hands out the first picture found.
    if (RandomFirst) E.Changed.wait_for(Guard, std::chrono::milliseconds(300), [&E] { return E.Done; });
    E.Changed.wait(Guard, [&E] { return E.Done || E.FirstKnown; });
    if (!E.Done) {
      EarlyGiven = true;
      Skip = First = E.First;
      return true;
    }
  }
  E.Changed.wait(Guard, [&E] { return E.Done; });
  Guard.unlock();
  List = std::move(E.List);
  Expansion.reset();
  Order.Begin(Mode, List.FolderNumbers(), List.Folders());
  return false;
}

std::string TGroupPictures::Next(TSettings& Settings, const std::atomic<bool>& Stop,
                                 const std::function<void()>& BeginPass) {
  bool Renewed = false;  // at most one pass begun a call
  for (;;) {
    if (!Begun) {
      Begin(Settings, Stop);
      Renewed = true;
    }
    if (Expansion) {
      std::string First;
      if (TakeEarlyFirst(First)) return First;
    }
    if (Order.Empty()) {
      if (Renewed || Settings.GroupImageCount <= 0) break;
      if (BeginPass)
        BeginPass();
      else
        Settings.LoadSettings();
      Begin(Settings, Stop);
      Renewed = true;
    }
    if (Order.Empty()) break;
    std::string Path = List.Path(Order.Next(ClockSeed()));
    // The first picture, handed out before the pass was begun, comes once.
    if (!Skip.empty() && Path == Skip) {
      Skip.clear();
      continue;
    }
    // The index may still list a picture deleted or moved away since its
    // folder was last looked at: it is passed over without a word.
    if (!Folders || FileExists(Path)) return Path;
  }
  // Lines that give no picture (folders empty or missing now): the sample
  // picture stands in, as it does for a group without lines.
  if (!PassLines.empty() && FileExists(TSettings::SamplePicturePath())) return TSettings::SamplePicturePath();
  return std::string();
}
