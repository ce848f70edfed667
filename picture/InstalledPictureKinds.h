#pragma once
// The table of picture kinds as this Windows reads them: the built-in kinds,
// and the extensions of the WIC decoders installed, looked up once.
#include "core/PictureKinds.h"

const TPictureKinds& InstalledPictureKinds();
