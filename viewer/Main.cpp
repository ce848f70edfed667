// Entry point of Vistaloop.exe, the companion slide show viewer.
#include <windows.h>

#include "viewer/ViewerMain.h"

// The picture pipeline's worker may still be reading a file that does not
// answer: the process ends here, which ends the worker, rather than run the
// program's static destructors while it may still use what they destroy.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { ExitProcess(static_cast<UINT>(RunViewer())); }
