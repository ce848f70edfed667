#include "picture/InstalledPictureKinds.h"

const TPictureKinds& InstalledPictureKinds() {
  static const TPictureKinds Kinds;
  return Kinds;
}
