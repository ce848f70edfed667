#pragma once
// The viewer's start-up: reads the command line and runs the slide show or
// the wallpaper changer. Returns the process exit code: 0, or 1 after an
// error that ended the run (shown in a box captioned "Vistaloop").
int RunViewer();
