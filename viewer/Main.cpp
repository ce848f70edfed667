// Entry point of Vistaloop.exe, the companion slide show viewer.
#include <windows.h>

#include "viewer/ViewerMain.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunViewer(); }
