// The screen saver with a picture source whose reads never return: its key
// and mouse must still end it at once.
#include <windows.h>

#include "app/MainSequence.h"
#include "support/BlockingSource.h"

namespace {

TPicturePipeline::TSourceMaker BlockingPictures(bool) { return TBlockingSource::Maker(); }

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunScreenSaver(BlockingPictures); }
