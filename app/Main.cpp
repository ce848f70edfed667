// Entry point of Pictarine.scr: the start-up sequence and the dispatch to the
// run mode chosen on the command line.
#include <windows.h>

#include <cstdlib>

#include "app/MainSequence.h"

// The picture pipeline's worker may still be reading a file that does not
// answer: the process ends here, which ends the worker, rather than run the
// program's static destructors while it may still use what they destroy.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { ExitProcess(static_cast<UINT>(RunScreenSaver())); }
