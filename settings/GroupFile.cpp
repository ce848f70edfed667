#include "settings/GroupFile.h"

std::vector<std::string> ParseGroupFile(const std::string& Data) {
  std::vector<std::string> Entries;
  std::string Line;
  bool LineOpen = false;
  for (const char C : Data) {
    if (C == '\x1A') break;
    if (C == '\n') {
      Entries.push_back(std::move(Line));
      Line.clear();
      LineOpen = false;
    } else {
      LineOpen = true;
      if (C != '\r') Line += C;
    }
  }
  if (LineOpen) Entries.push_back(std::move(Line));
  return Entries;
}

std::string FormatGroupFile(const std::vector<std::string>& Entries) {
  std::string Data;
  for (const std::string& Entry : Entries) {
    Data += Entry;
    Data += "\r\n";
  }
  return Data;
}

bool IsSafeGroupName(const std::string& Name) {
  if (Name == "." || Name == "..") return false;
  return Name.find_first_of("\\/:") == std::string::npos;
}
