#pragma once
// The text form of a group file: one picture path per line. Portable.
#include <string>
#include <vector>

// Reads the entries of a group file: LF ends a line; CR bytes are never part
// of an entry; byte 26 ends the data; a last line without a line end is still
// an entry, and a line end at the very end adds no empty one. Empty lines are
// empty entries.
std::vector<std::string> ParseGroupFile(const std::string& Data);

// Writes entries one per line, each followed by CR LF.
std::string FormatGroupFile(const std::vector<std::string>& Entries);

// Whether a group name keeps its file inside the "Image Data" folder: no
// "\", "/" or ":" and not "." or "..". The empty name is allowed.
bool IsSafeGroupName(const std::string& Name);
