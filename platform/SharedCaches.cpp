#include "platform/SharedCaches.h"

namespace {

// The live caches and the count of their holders, under HoldLock. The lock
// is never destroyed, so that a holder let go at any time, even while the
// process's statics are being destroyed, finds it.
std::mutex& HoldLock() {
  static std::mutex* const Lock = new std::mutex;
  return *Lock;
}
TSharedCaches* Live = nullptr;
long Holders = 0;

}  // namespace

std::shared_ptr<TSharedCaches> TSharedCaches::Hold() {
  TSharedCaches* Caches;
  {
    const std::lock_guard<std::mutex> Guard(HoldLock());
    if (!Live) Live = new TSharedCaches;
    ++Holders;
    Caches = Live;
  }
  return std::shared_ptr<TSharedCaches>(Caches, [](TSharedCaches* Held) {
    bool Last;
    {
      const std::lock_guard<std::mutex> Guard(HoldLock());
      Last = --Holders == 0;
      if (Last) Live = nullptr;
    }
    if (Last) delete Held;
  });
}

TSharedCaches& TSharedCaches::Current() {
  {
    const std::lock_guard<std::mutex> Guard(HoldLock());
    if (Live) return *Live;
  }
  static const std::shared_ptr<TSharedCaches>* const Forever = new std::shared_ptr<TSharedCaches>(Hold());
  return **Forever;
}

const TPictureKinds& TSharedCaches::PictureKinds(std::unique_ptr<const TPictureKinds> (*Make)()) {
  std::call_once(KindsMade, [&] { Kinds = Make(); });
  return *Kinds;
}
