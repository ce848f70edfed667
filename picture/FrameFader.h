#pragma once
// A cross-fade of a window's frames: the incoming frame fades in over the
// one on screen, in place (no third frame), in a given time. The window
// steps it on a timer of StepMs and copies its shown frame to the screen
// after each step.
#include <windows.h>

#include <chrono>
#include <memory>

#include "core/CrossFade.h"
#include "picture/Frame.h"

class TFrameFader {
 public:
  explicit TFrameFader(unsigned DurationMs = 500) : DurationMs(DurationMs) {}
  // Milliseconds between two steps: one refresh of the screen.
  static UINT StepMs();

  // Starts fading Incoming (of the shown frame's size) in.
  void Start(std::unique_ptr<TFrame> Incoming);
  bool Active() const { return Incoming != nullptr; }
  // Moves Shown on by the time passed since the start. Once the fade is over
  // Shown holds the incoming picture and the incoming frame is given back,
  // free; null before.
  std::unique_ptr<TFrame> Step(TBitmap& Shown);

 private:
  unsigned DurationMs;
  std::unique_ptr<TFrame> Incoming;
  TCrossFade Fade;
  std::chrono::steady_clock::time_point Started;
};
