#pragma once
// A thread of its own that reads the facts (pixel size, orientation, date
// taken) of indexed pictures lacking them, at background priority, through
// a library object of its own over the given database: from when it is made
// until none is left or it is destroyed. Made after the first picture is
// shown, and again after a refresh that found new pictures. Made and
// destroyed on one thread; Done may be asked from any.
#include <atomic>
#include <string>
#include <thread>

#include "core/PictureKinds.h"

class TFactsReader {
 public:
  TFactsReader(std::string DatabasePath, TPictureKinds Kinds);
  // Asks the thread to stop after the file it reads, and waits for it.
  ~TFactsReader();
  TFactsReader(const TFactsReader&) = delete;
  TFactsReader& operator=(const TFactsReader&) = delete;

  // Whether the thread has ended: every picture read, or the database not
  // usable.
  bool Done() const { return Finished; }
  // How many pictures it read (complete once Done).
  std::size_t Read() const { return Count; }

 private:
  std::atomic<bool> Stop{false};
  std::atomic<bool> Finished{false};
  std::atomic<std::size_t> Count{0};
  std::thread Thread;
};
