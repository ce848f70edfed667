#pragma once
// The order of one pass over a group's pictures: every picture once, in the
// order of the list, at random, or at random balanced by folder. Portable.
//
// Pictures are numbered 0 to Count - 1 by the caller, who keeps their names
// and looks them up by number; this holds only numbers. Each picture belongs
// to a folder, numbered 0 to Folders - 1: the folder on disk that holds the
// file, however the group named it, so that a picture listed on a line of its
// own and one found under a folder entry count alike when they lie side by
// side, and a group of hand-picked files is balanced by the folders they come
// from. A subfolder is a folder of its own.
//
// Cost: a pick takes constant time (two draws at most, each of which rejects
// a biased value with a probability below one half), whatever the number of
// pictures; Begin takes time in proportion to pictures and folders. Memory:
// 4 bytes a picture in the random modes (none in list order), 12 bytes a
// folder when mixing folders.
#include <cstddef>
#include <cstdint>
#include <vector>

class TPassOrder {
 public:
  enum TMode {
    ListOrder,   // 0, 1, 2, ...
    Random,      // each picture left in the pass equally likely
    MixFolders,  // a folder with pictures left, each equally likely, then a picture of it
  };

  // A new pass over FolderOf.size() pictures, picture I lying in folder
  // FolderOf[I]. Folders without pictures take no part. EListError when a
  // folder number is not below Folders or there are 2^32 pictures or more.
  void Begin(TMode Mode, std::vector<std::uint32_t> FolderOf, std::uint32_t Folders);
  // A new pass over the same pictures in the same mode, also in the middle of
  // a pass; constant time in list order, in proportion to folders otherwise.
  void Restart();

  bool Empty() const { return Left() == 0; }
  // The pictures the pass has still to hand out.
  std::size_t Left() const;
  // Hands out the next picture of the pass. Seed is a clock reading, as
  // RandomIndex takes it; list order ignores it. EListError when the pass is
  // empty.
  std::uint32_t Next(std::uint32_t Seed);

 private:
  TMode Mode = ListOrder;
  std::uint32_t Count = 0;      // pictures in the pass
  std::uint32_t NextInList = 0;  // list order: the next picture
  // Random modes: the pictures, one slice per folder (one slice for Random),
  // the pictures of a slice still to hand out first: folder F's slice starts
  // at Start[F] and ends at Start[F + 1], and its first Remaining[F] are left.
  std::vector<std::uint32_t> Pool;
  std::vector<std::uint32_t> Start;
  std::vector<std::uint32_t> Remaining;
  std::vector<std::uint32_t> Open;  // MixFolders: the folders with pictures left, in no order
  std::size_t PoolLeft = 0;
};
