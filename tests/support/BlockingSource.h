#pragma once
// A picture source whose every read blocks, as a read of a picture on a
// network share that has gone away does: until Release is called, forever
// when it never is.
#include <windows.h>

#include <memory>

#include "picture/Frame.h"

class TBlockingSource : public TPictureSource {
 public:
  void Prepare(TFrame&) override {
    SetEvent(Event(ReadBegun));
    WaitForSingleObject(Event(Released), INFINITE);
  }
  bool PassStillCurrent() override { return true; }

  static TPicturePipeline::TSourceMaker Maker() {
    return [](const std::atomic<bool>&) -> std::unique_ptr<TPictureSource> {
      return std::make_unique<TBlockingSource>();
    };
  }
  // Waits until a read has begun (since the last call), up to TimeoutMs.
  static bool WaitForRead(DWORD TimeoutMs) {
    const bool Begun = WaitForSingleObject(Event(ReadBegun), TimeoutMs) == WAIT_OBJECT_0;
    ResetEvent(Event(ReadBegun));
    return Begun;
  }
  // Lets every read blocked so far, and every later one, return.
  static void Release() { SetEvent(Event(Released)); }

 private:
  enum TWhich { ReadBegun, Released };
  static HANDLE Event(TWhich Which) {
    static const HANDLE Events[] = {CreateEventA(nullptr, TRUE, FALSE, nullptr),
                                    CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    return Events[Which];
  }
};
