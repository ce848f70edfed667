#include "core/ImagePageRules.h"

#include <gtest/gtest.h>

namespace {

TEST(PatternFolder, UpToTheLastBackslashOrColon) {
  EXPECT_EQ(PatternFolder("C:\\Pics\\*.*"), "C:\\Pics\\");
  EXPECT_EQ(PatternFolder("C:\\Pics"), "C:\\");
  EXPECT_EQ(PatternFolder("C:*.jpg"), "C:");
  EXPECT_EQ(PatternFolder("*.*"), "");
  EXPECT_EQ(PatternFolder("\\\\server\\share\\a\\b.jpg"), "\\\\server\\share\\a\\");
}

TEST(ViewerSlideShowCommand, QuotesTheProgramAndTheGroup) {
  EXPECT_EQ(ViewerSlideShowCommand("C:\\Program Files\\Pictarine", "Summer 2024"),
            "\"C:\\Program Files\\Pictarine\\Vistaloop.exe\" /s \"Summer 2024\"");
  EXPECT_EQ(ViewerSlideShowCommand("C:\\P", ""), "\"C:\\P\\Vistaloop.exe\" /s \"\"");
}

TEST(GroupNameRefusal, RefusesNamesThatCannotBeFileNamesInTheGroupFolder) {
  for (const char* Good : {"Holiday", "", "My Pictures 2024", "a.b", "x..y", ".hidden", "Trip.", "Trip ", " ", "..."})
    EXPECT_EQ(GroupNameRefusal(Good), "") << Good;
  for (const char* Bad : {"a\\b", "a/b", "C:x", ".", "..", "\\", "..\\..\\x", "a|b", "Say \"hi\"", "CON",
                          "lpt9.old"}) {
    const std::string Message = GroupNameRefusal(Bad);
    EXPECT_NE(Message.find(std::string("\"") + Bad + "\""), std::string::npos) << Message;
    EXPECT_NE(Message.find("may not contain"), std::string::npos) << Message;
  }
  EXPECT_EQ(GroupNameRefusal("nul.txt"),
            "\"nul.txt\" cannot be a group name: a group is kept in a file of that name, so the name may not contain "
            "any of < > : \" / \\ | ? * or control characters, and may not be a device name such as CON, PRN, AUX, "
            "NUL, COM1 or LPT1");
}

}  // namespace
