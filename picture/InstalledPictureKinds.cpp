#include "picture/InstalledPictureKinds.h"

#include "picture/WicPicture.h"

const TPictureKinds& InstalledPictureKinds() {
  static const TPictureKinds Kinds(TWicPicture::DecoderExtensions());
  return Kinds;
}
