// Entry point of Pictarine.scr: the start-up sequence and the dispatch to the
// run mode chosen on the command line.
#include <windows.h>

#include "app/MainSequence.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunScreenSaver(); }
