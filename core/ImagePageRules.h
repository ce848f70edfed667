#pragma once
// The rules of the configuration dialog's Images and Groups pages that need no
// window: where a search pattern's files live, the viewer's command line and
// which group names are accepted. Which files a folder load takes is a rule of
// the picture kinds (PictureKinds.h). Portable.
#include <string>

// The folder part of a search pattern: everything up to and including its
// last "\" or ":", empty when it has neither.
std::string PatternFolder(const std::string& Pattern);

// The command line that starts the companion viewer's slide show of Group:
// "<InstallDir>\Vistaloop.exe" /s "<Group>". The program's path is quoted so
// that a folder name with blanks cannot start another program in its place.
std::string ViewerSlideShowCommand(const std::string& InstallDir, const std::string& Group);

// The message that refuses a new group name that cannot be a file name of its
// own inside the group folder (IsValidGroupName); empty when the name is
// accepted (an empty name and duplicates are).
std::string GroupNameRefusal(const std::string& Name);
