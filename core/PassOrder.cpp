#include "core/PassOrder.h"

#include <limits>
#include <numeric>
#include <string>
#include <utility>

#include "core/Errors.h"
#include "core/RandomIndex.h"

void TPassOrder::Begin(TMode NewMode, std::vector<std::uint32_t> FolderOf, std::uint32_t Folders) {
  if (FolderOf.size() > std::numeric_limits<std::uint32_t>::max())
    throw EListError("List index out of bounds (" + std::to_string(FolderOf.size()) + ")");
  for (const std::uint32_t Folder : FolderOf)
    if (Folder >= Folders) throw EListError(Format("List index out of bounds (%u)", Folder));

  Mode = NewMode;
  Count = static_cast<std::uint32_t>(FolderOf.size());
  Pool = {};
  Start = {};
  Remaining = {};
  Open = {};
  if (Mode == Random) {
    Pool.resize(Count);
    std::iota(Pool.begin(), Pool.end(), 0u);
    Start = {0, Count};
    Remaining = {Count};
  } else if (Mode == MixFolders) {
    // Pictures grouped by folder, each folder's in list order.
    Start.assign(std::size_t{Folders} + 1, 0);
    for (const std::uint32_t Folder : FolderOf) ++Start[Folder + std::size_t{1}];
    std::partial_sum(Start.begin(), Start.end(), Start.begin());
    Remaining.assign(Folders, 0);
    Pool.resize(Count);
    for (std::uint32_t Picture = 0; Picture < Count; ++Picture) {
      const std::uint32_t Folder = FolderOf[Picture];
      Pool[Start[Folder] + Remaining[Folder]++] = Picture;
    }
  }
  Restart();
}

void TPassOrder::Restart() {
  NextInList = 0;
  PoolLeft = Pool.size();
  Open.clear();
  for (std::uint32_t Folder = 0; Folder < Remaining.size(); ++Folder) {
    Remaining[Folder] = Start[Folder + std::size_t{1}] - Start[Folder];
    if (Mode == MixFolders && Remaining[Folder] > 0) Open.push_back(Folder);
  }
}

std::size_t TPassOrder::Left() const { return Mode == ListOrder ? Count - NextInList : PoolLeft; }

std::uint32_t TPassOrder::Next(std::uint32_t Seed) {
  if (Empty()) throw EListError("List index out of bounds (0)");
  if (Mode == ListOrder) return NextInList++;

  // The folder (Random has one) from the seed's first stream, the picture in
  // it from its second.
  std::uint32_t Folder = 0, OpenAt = 0;
  if (Mode == MixFolders) {
    OpenAt = RandomIndex(Seed, static_cast<std::uint32_t>(Open.size()));
    Folder = Open[OpenAt];
  }
  std::uint32_t& Left = Remaining[Folder];
  const std::uint32_t At = Start[Folder] + RandomIndex(Seed, Left, 1);
  const std::uint32_t Last = Start[Folder] + Left - 1;
  // The picture handed out moves behind those left, inside its folder's
  // slice, so that Restart finds every slice whole again.
  std::swap(Pool[At], Pool[Last]);
  --Left;
  --PoolLeft;
  if (Left == 0 && Mode == MixFolders) {
    Open[OpenAt] = Open.back();
    Open.pop_back();
  }
  return Pool[Last];
}
