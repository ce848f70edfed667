#pragma once
// The text form of a group file: one picture path per line. Portable.
#include <string>
#include <vector>

// Reads the entries of a group file: LF ends a line; CR bytes are never part
// of an entry; byte 26 ends the data; a last line without a line end is still
// an entry, and a line end at the very end adds no empty one. Empty lines are
// empty entries.
std::vector<std::string> ParseGroupFile(const std::string& Data);

// Calls Visit(const std::string&) with each entry that ParseGroupFile would
// return, in order, without holding more than one entry at a time, so a
// large file costs its own size and not a string object per line.
template <typename F>
void ForEachGroupEntry(const std::string& Data, F&& Visit) {
  std::string Line;
  bool LineOpen = false;
  for (const char C : Data) {
    if (C == '\x1A') break;
    if (C == '\n') {
      Visit(static_cast<const std::string&>(Line));
      Line.clear();
      LineOpen = false;
    } else {
      LineOpen = true;
      if (C != '\r') Line += C;
    }
  }
  if (LineOpen) Visit(static_cast<const std::string&>(Line));
}

// Writes entries one per line, each followed by CR LF.
std::string FormatGroupFile(const std::vector<std::string>& Entries);

// Whether a group name keeps its file inside the "Image Data" folder: no
// "\", "/" or ":" and not "." or "..". The empty name is allowed.
bool IsSafeGroupName(const std::string& Name);

// Whether a new group may take the name: its file name must be one that
// Windows can create. Besides what IsSafeGroupName refuses, no < > " | ? *
// and no control characters, and no device name (CON, PRN, AUX, NUL, COM1 to
// COM9, LPT1 to LPT9, in any case, with or without an extension). A dot or a
// blank at the end is allowed: the file name ends in ".dat" after it. The
// empty name is allowed.
bool IsValidGroupName(const std::string& Name);
