#include "core/ImagePageRules.h"

#include "core/GroupFile.h"

std::string PatternFolder(const std::string& Pattern) {
  const std::size_t End = Pattern.find_last_of("\\:");
  return End == std::string::npos ? std::string() : Pattern.substr(0, End + 1);
}

std::string ViewerSlideShowCommand(const std::string& InstallDir, const std::string& Group) {
  return "\"" + InstallDir + "\\Vistaloop.exe\" /s \"" + Group + "\"";
}

std::string GroupNameRefusal(const std::string& Name) {
  if (IsValidGroupName(Name)) return std::string();
  return "\"" + Name +
         "\" cannot be a group name: a group is kept in a file of that name, so the name may not contain any of "
         "< > : \" / \\ | ? * or control characters, and may not be a device name such as CON, PRN, AUX, NUL, COM1 or "
         "LPT1";
}
