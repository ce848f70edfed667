#pragma once
// The monitors of the desktop, in screen coordinates.
#include <windows.h>

#include <vector>

// The rectangle that spans every monitor.
RECT VirtualScreen();
// Every monitor's rectangle, the primary monitor first, the others in the
// order the system lists them.
std::vector<RECT> MonitorRects();
