#pragma once
// A cross-fade drawn in place, so that it needs no third frame: the shown
// picture is moved toward the incoming one step by step. After a step to the
// share T the shown picture is (to within rounding) Old * (1 - T) + New * T,
// whatever steps came before, and after the step to 1 it is exactly New.
// Portable.
#include "core/Pixels.h"

class TCrossFade {
 public:
  // A new fade, from whatever Shown holds now.
  void Restart() { Reached = 0; }
  // Moves Shown toward Incoming (of the same size) until the mix reaches
  // Share, from 0 to 1; a share not above the one reached changes nothing.
  void StepTo(const TPixelView& Shown, const TPixelView& Incoming, double Share);
  double Share() const { return Reached; }

 private:
  double Reached = 0;
};
