#pragma once
// A picture source whose every read blocks, as a read of a picture on a
// network share that has gone away does: until Release is called, forever
// when it never is.
#include <windows.h>

#include <memory>

#include "picture/Frame.h"

class TBlockingSource : public TPictureSource {
 public:
  void Prepare(TFrame&) override { WaitForSingleObject(Released(), INFINITE); }
  bool PassStillCurrent() override { return true; }

  static TPicturePipeline::TSourceMaker Maker() {
    return [](const std::atomic<bool>&) -> std::unique_ptr<TPictureSource> {
      return std::make_unique<TBlockingSource>();
    };
  }
  // Lets every read blocked so far, and every later one, return.
  static void Release() { SetEvent(Released()); }

 private:
  static HANDLE Released() {
    static const HANDLE Event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    return Event;
  }
};
