#pragma once
// The composition of a shown picture: the background, and the picture fitted
// and centred on it. Shared by the saver, the preview and the viewer.
#include "picture/LoadImageFile.h"
#include "platform/Bitmap.h"
#include "settings/Settings.h"

// Fills Frame with the background and draws the picture that Picture has
// open fitted into the area (AreaW x AreaH) and centred in the whole frame.
void ComposeFrame(TBitmap& Frame, TImageLoader& Picture, const TSettings& Settings, int AreaW, int AreaH);
// The saver's composition: the area is the frame, or MaxScreenX x MaxScreenY
// with LimitScreenSize, after both are lowered to the frame's size in Settings.
void ComposeSaverFrame(TBitmap& Frame, TImageLoader& Picture, TSettings& Settings);
// The saver's picture on one monitor (Area, in Frame's coordinates), over
// what Frame holds: fitted into the monitor, or into MaxScreenX x MaxScreenY
// (at most the monitor's size) with LimitScreenSize, and centred on it.
void ComposeSaverArea(TBitmap& Frame, const RECT& Area, TImageLoader& Picture, const TSettings& Settings);
