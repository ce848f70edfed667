#pragma once
// The frame that the picture pipeline prepares and a window presents: a
// picture composed on the background at the size the window asked for.
#include <memory>
#include <string>
#include <vector>

#include "core/FramePipeline.h"
#include "platform/Bitmap.h"

struct TFrame {
  // The size the window asks for; the worker gives Bitmap that size.
  int Width = 0;
  int Height = 0;
  std::unique_ptr<TBitmap> Bitmap = std::make_unique<TBitmap>();
  // The monitors the frame spans, in frame coordinates, the primary first,
  // each to show a picture of its own; none: one picture on the whole frame.
  std::vector<RECT> Monitors;
  // The queue entry shown (on the primary monitor; empty when the queue had
  // none), and with several monitors every entry shown, in monitor order.
  std::string Entry;
  std::vector<std::string> Entries;
  // Asks for Entry again (at a new size) rather than the next entry.
  bool Again = false;
  // The settings were read again for this frame: a new pass begins with it.
  bool PassStart = false;
  // It fades in over the picture before it rather than replace it at once
  // ("Fade Between Pictures" of its pass).
  bool Fade = false;
  // The text of an error raised while it was prepared; the frame then shows
  // nothing new.
  std::string Error;
};

using TPictureSource = TFrameSource<TFrame>;
using TPicturePipeline = TFramePipeline<TFrame>;
