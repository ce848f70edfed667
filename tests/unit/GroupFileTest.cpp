#include "core/GroupFile.h"

#include <gtest/gtest.h>

namespace {

using TEntries = std::vector<std::string>;

TEST(ParseGroupFile, ReadsEveryLineEndAndStopsAtCtrlZ) {
  const struct {
    const char* Name;
    std::string Data;
    TEntries Expected;
  } Cases[] = {
      {"CR LF, last line open", "a\r\nb\r\nc", {"a", "b", "c"}},
      {"CR LF, last line closed", "a\r\nb\r\nc\r\n", {"a", "b", "c"}},
      {"LF only", "a\nb\nc\n", {"a", "b", "c"}},
      {"CR alone is dropped", "a\rb\nc", {"ab", "c"}},
      {"CR inside a line", "C:\\x\ry.jpg\r\r\n", {"C:\\xy.jpg"}},
      {"Ctrl-Z ends the data", std::string("a\r\nb\x1A" "c\r\nd\r\n"), {"a", "b"}},
      {"Ctrl-Z at a line start", std::string("a\r\n\x1A" "b"), {"a"}},
      {"empty lines are empty entries", "\r\na\r\n\r\n\nb", {"", "a", "", "", "b"}},
      {"duplicates kept", "a\na\n", {"a", "a"}},
      {"empty data", "", {}},
      {"a lone line end", "\n", {""}},
      {"a lone CR", "\r", {""}},
  };
  for (const auto& C : Cases) EXPECT_EQ(ParseGroupFile(C.Data), C.Expected) << C.Name;
}

TEST(ParseGroupFile, ReadsLinesOfAnyLength) {
  const std::string Long(70000, 'x');
  EXPECT_EQ(ParseGroupFile("a\r\n" + Long + "\r\nb"), (TEntries{"a", Long, "b"}));
}

TEST(FormatGroupFile, EndsEveryLineWithCrLfAndReadsBack) {
  const TEntries Entries{"C:\\p\\a.jpg", "C:\\p q\\b.bmp"};
  EXPECT_EQ(FormatGroupFile(Entries), "C:\\p\\a.jpg\r\nC:\\p q\\b.bmp\r\n");
  EXPECT_EQ(ParseGroupFile(FormatGroupFile(Entries)), Entries);
  EXPECT_EQ(FormatGroupFile({}), "");
}

TEST(IsValidGroupName, TakesOnlyNamesWindowsCanCreateAFileOf) {
  // A dot or a blank at the end harms nothing: the file name goes on with
  // ".dat" ("Trip..dat", "Trip .dat").
  for (const char* Name : {"", "Photos", "My Pictures", ".hidden", "a.b", "x..y", "CONSOLE", "COM0", "COM10", "LPT",
                           "Auxiliary", "NULL.txt", "Con Air", "prn1", "Trip 2024 (best)", "caf\xE9", "a'b", "Trip.",
                           "Trip ", " ", "...", "Trip. . ", "CON1", "LPT10."})
    EXPECT_TRUE(IsValidGroupName(Name)) << Name;
  for (const char* Name : {".", "..", "a\\b", "a/b", "C:x", "a<b", "a>b", "Say \"hi\"", "a|b", "why?", "*",
                           "tab\there", "\x1F", "end\n", "CON", "con", "Nul.txt", "aux.tar.gz",
                           "COM1", "com9.dat", "LPT1", "lpt5", "PRN ", "CON .txt", "con.", "NUL ", "Trip?.", "Trip:."})
    EXPECT_FALSE(IsValidGroupName(Name)) << Name;
}

TEST(IsSafeGroupName, RefusesNamesThatLeaveTheFolder) {
  for (const char* Name : {"", "Photos", "My Pictures", ".hidden", "a.b", "...", "x..y"})
    EXPECT_TRUE(IsSafeGroupName(Name)) << Name;
  for (const char* Name : {".", "..", "..\\evil", "a/b", "C:evil", "\\\\server\\share", "a\\"})
    EXPECT_FALSE(IsSafeGroupName(Name)) << Name;
}

}  // namespace
