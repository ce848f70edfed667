#pragma once
// Files and folders. Every open file is held for one call only, with read
// sharing only, and closed on every path. Failures raise EInOutError whose
// text describes the cause ("File access denied", "Disk full", ...).
#include <string>

// Whether Path names an existing file (a folder does not count; the empty
// path never exists).
bool FileExists(const std::string& Path);

// Raises the I/O error of a file that cannot be opened for reading.
void CheckReadable(const std::string& Path);

// The whole content of a file.
std::string ReadWholeFile(const std::string& Path);
// The same into Data, whose storage is reused when it is large enough.
void ReadWholeFile(const std::string& Path, std::string& Data);

// Replaces the file at Path with Data in one step: the data goes to a
// temporary file in the same folder first, which then takes the place of the
// old file. On any failure the old file is left as it was, the temporary file
// is removed and the error is raised.
void ReplaceFile(const std::string& Path, const std::string& Data);

// Creates a folder together with its missing parents; true when it exists
// afterwards.
bool ForceDirectories(const std::string& Path);

// The full form of a path, a relative one resolved against the current
// folder as the file functions resolve it ("." and ".." taken out, a
// trailing backslash kept); Path itself when it cannot be resolved.
std::string FullPathName(const std::string& Path);

// The folder part of a path, without the trailing backslash.
std::string ExtractFileDir(const std::string& Path);

// The text of an I/O error for a Windows error code.
std::string InOutErrorText(unsigned long Code);
// Raises EInOutError for a Windows error code.
[[noreturn]] void RaiseInOutError(unsigned long Code);
