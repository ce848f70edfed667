#include "core/GroupFile.h"

std::vector<std::string> ParseGroupFile(const std::string& Data) {
  std::vector<std::string> Entries;
  ForEachGroupEntry(Data, [&Entries](const std::string& Entry) { Entries.push_back(Entry); });
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
