#include "picture/GroupPictures.h"

#include <windows.h>

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

TGroupPictures::TGroupPictures(std::string DatabasePath) : DatabasePath(std::move(DatabasePath)) {}

TGroupPictures::~TGroupPictures() = default;

void TGroupPictures::Begin(const TSettings& Settings, const std::atomic<bool>& Stop) {
  PassLines = Settings.ImageQueue.ToVector();
  Folders = false;
  for (const std::string& Line : PassLines) Folders = Folders || IsFolderEntry(Line);
  List.Clear();
  if (Folders) {
    if (!Library) Library = std::make_unique<TPictureLibrary>(DatabasePath, InstalledPictureKinds());
    Library->Expand(PassLines, List, Stop);
  } else {
    for (const std::string& Line : PassLines) List.AddFileLine(Line);
  }
  const TPassOrder::TMode Mode = !Settings.RandomOrder       ? TPassOrder::ListOrder
                                 : Settings.MixFoldersEvenly ? TPassOrder::MixFolders
                                                             : TPassOrder::Random;
  Order.Begin(Mode, List.FolderNumbers(), List.Folders());
  Begun = true;
}

std::string TGroupPictures::Next(TSettings& Settings, const std::atomic<bool>& Stop,
                                 const std::function<void()>& BeginPass) {
  bool Renewed = false;  // at most one pass begun a call
  for (;;) {
    if (!Begun) {
      Begin(Settings, Stop);
      Renewed = true;
    } else if (Order.Empty()) {
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
    // The index may still list a picture deleted or moved away since its
    // folder was last looked at: it is passed over without a word.
    if (!Folders || FileExists(Path)) return Path;
  }
  // Lines that give no picture (folders empty or missing now): the sample
  // picture stands in, as it does for a group without lines.
  if (!PassLines.empty() && FileExists(TSettings::SamplePicturePath())) return TSettings::SamplePicturePath();
  return std::string();
}
