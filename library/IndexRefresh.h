#pragma once
// One background bringing-up-to-date of the index for a group's folder
// entries, on a thread of its own with a library object of its own: the
// refresh (a look at each known folder, new and changed folders listed
// again), then the facts of pictures that lack them, read at background
// priority. Made once a pass's first picture is ready, so neither holds up
// the show; what it finds comes in the passes after it. Made and destroyed
// on one thread; Done may be asked from any.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "core/PictureKinds.h"

class TIndexRefresh {
 public:
  TIndexRefresh(std::string DatabasePath, TPictureKinds Kinds, std::vector<std::string> Lines);
  // Asks the thread to stop after the folder or file at hand, and waits for
  // it: a folder on a share that hangs holds this up until its look ends.
  ~TIndexRefresh();
  TIndexRefresh(const TIndexRefresh&) = delete;
  TIndexRefresh& operator=(const TIndexRefresh&) = delete;

  bool Done() const { return Finished; }

 private:
  std::atomic<bool> Stop{false};
  std::atomic<bool> Finished{false};
  std::thread Thread;
};
