#include "picture/InstalledPictureKinds.h"

#include "picture/WicPicture.h"
#include "platform/SharedCaches.h"

const TPictureKinds& InstalledPictureKinds() {
  return TSharedCaches::Current().PictureKinds(
      [] { return std::unique_ptr<const TPictureKinds>(new TPictureKinds(TWicPicture::DecoderExtensions())); });
}
