#include "core/GroupFile.h"

#include <gtest/gtest.h>

#include "support/Windows1252.h"

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

// Names as the program holds them (UTF-8) and as a Western system's ANSI
// code page stores them.
const std::string Ete = "\xC3\x89t\xC3\xA9.bmp", EteAnsi = "\xC9t\xE9.bmp";  // Été.bmp
const std::string Tokyo = "C:\\\xE6\x9D\xB1\xE4\xBA\xAC.jpg";                       // C:\東京.jpg
const std::string Greece = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1 2023.jpg";  // Ελλάδα 2023.jpg
const std::string Birthday = "Birthday \xF0\x9F\x8E\x82.jpg";                      // Birthday 🎂.jpg
const std::string Mark = "\xEF\xBB\xBF";

TEntries ReadAsUtf8(const std::string& Data) {
  TEntries Entries;
  ForEachGroupEntryAsUtf8(Data, TWindows1252(), [&Entries](const std::string& Entry) { Entries.push_back(Entry); });
  return Entries;
}

TEST(GroupFileEncoding, WritesTheAnsiCodePageWhenEveryNameFitsIt) {
  const TWindows1252 CodePage;
  const struct {
    const char* Name;
    TEntries Entries;
    std::string Bytes;
  } Cases[] = {
      {"ASCII", {"C:\\p\\a.jpg", ""}, "C:\\p\\a.jpg\r\n\r\n"},
      {"Latin letters", {"C:\\" + Ete, "caf\xC3\xA9"}, "C:\\" + EteAnsi + "\r\ncaf\xE9\r\n"},
      {"the characters of 0x80 to 0x9F", {"\xE2\x82\xAC 5 \xC5\x92\xE2\x80\x9Cx\xE2\x80\x9D.jpg"},
       "\x80 5 \x8C\x93x\x94.jpg\r\n"},  // € 5 Œ“x”.jpg
      {"nothing", {}, ""},
  };
  for (const auto& C : Cases) {
    const std::string Data = FormatGroupFile(C.Entries, CodePage);
    EXPECT_EQ(Data, C.Bytes) << C.Name;
    EXPECT_EQ(ReadAsUtf8(Data), C.Entries) << C.Name;
  }
}

TEST(GroupFileEncoding, WritesUtf8AfterTheMarkWhenANameDoesNotFit) {
  const TWindows1252 CodePage;
  for (const std::string& Other : {Tokyo, Greece, Birthday, std::string("\xC2\x81"), std::string("\xEF\xBF\xBD")}) {
    // One name outside the code page puts the whole file in UTF-8.
    const TEntries Entries{"C:\\a.jpg", Ete, Other, ""};
    const std::string Data = FormatGroupFile(Entries, CodePage);
    EXPECT_EQ(Data, Mark + "C:\\a.jpg\r\n" + Ete + "\r\n" + Other + "\r\n\r\n") << Other;
    EXPECT_EQ(Data.find('?'), std::string::npos) << Other;
    EXPECT_EQ(GroupFileEncoding(Data), TGroupFileEncoding::Utf8WithMark);
    EXPECT_EQ(ReadAsUtf8(Data), Entries) << Other;
  }
  // Names whose Windows-1252 bytes are valid UTF-8 ("Ã©" is C3 A9, "é" in
  // UTF-8) would read back wrong in that code page.
  const TEntries Lookalike{"\xC3\x83\xC2\xA9.jpg"};
  EXPECT_EQ(FormatGroupFile(Lookalike, CodePage), Mark + Lookalike[0] + "\r\n");
  EXPECT_EQ(ReadAsUtf8(FormatGroupFile(Lookalike, CodePage)), Lookalike);
}

TEST(GroupFileEncoding, ReadsUtf8ByTheMarkOrByItsValidity) {
  const struct {
    const char* Name;
    std::string Data;
    TGroupFileEncoding Encoding;
    TEntries Entries;
  } Cases[] = {
      {"ASCII", "C:\\a.jpg\r\nb.bmp", TGroupFileEncoding::Ansi, {"C:\\a.jpg", "b.bmp"}},
      {"Windows-1252", EteAnsi + "\r\n\x80.jpg\r\n", TGroupFileEncoding::Ansi, {Ete, "\xE2\x82\xAC.jpg"}},
      {"UTF-8 without the mark", Tokyo + "\r\n" + Ete + "\r\n", TGroupFileEncoding::Utf8, {Tokyo, Ete}},
      {"the mark, ASCII", Mark + "a.jpg\r\n", TGroupFileEncoding::Utf8WithMark, {"a.jpg"}},
      {"the mark alone", Mark, TGroupFileEncoding::Utf8WithMark, {}},
      {"the mark, one empty line", Mark + "\r\n", TGroupFileEncoding::Utf8WithMark, {""}},
      {"a second mark is text", Mark + Mark + "a\n" + Mark, TGroupFileEncoding::Utf8WithMark, {Mark + "a", Mark}},
      {"half a mark", "\xEF\xBB" "a.jpg", TGroupFileEncoding::Ansi, {"\xC3\xAF\xC2\xBB" "a.jpg"}},
      // One line in UTF-8 and one in the code page: the file is one or the
      // other, and the UTF-8 line comes out as its Windows-1252 reading.
      {"mixed", Ete + "\r\n" + EteAnsi + "\r\n", TGroupFileEncoding::Ansi,
       {"\xC3\x83\xE2\x80\xB0t\xC3\x83\xC2\xA9.bmp", Ete}},
      // The undefined bytes of Windows-1252 are read as U+FFFD, not dropped.
      {"undefined bytes", "\x81\x8D\x8F\x90\x9D", TGroupFileEncoding::Ansi,
       {"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(GroupFileEncoding(C.Data), C.Encoding) << C.Name;
    EXPECT_EQ(ReadAsUtf8(C.Data), C.Entries) << C.Name;
  }
}

TEST(GroupFileEncoding, ReplacesInvalidUtf8AfterTheMarkAndKeepsEveryEntry) {
  const std::string Data = Mark + "a\xFF.jpg\r\n" + Tokyo + "\r\n\xE6\x9D\r\n\xC0\x80\n\xF0\x9F\x8E";
  EXPECT_EQ(ReadAsUtf8(Data), (TEntries{"a\xEF\xBF\xBD.jpg", Tokyo, "\xEF\xBF\xBD", "\xEF\xBF\xBD\xEF\xBF\xBD",
                                        "\xEF\xBF\xBD"}));
}

TEST(GroupFileEncoding, KeepsTheLineRulesInEveryEncoding) {
  // CR is never part of an entry, LF ends one, byte 26 ends the data and
  // what follows it does not count towards the encoding.
  const std::string Tail = std::string("\x1A") + "\xFF\xFE" + EteAnsi;
  EXPECT_EQ(GroupFileEncoding(Tokyo + "\r\n" + Tail), TGroupFileEncoding::Utf8);
  EXPECT_EQ(ReadAsUtf8(Tokyo + "\r\r\n\r" + Greece + "\n" + Birthday + Tail), (TEntries{Tokyo, Greece, Birthday}));
  EXPECT_EQ(ReadAsUtf8(EteAnsi + "\r\n\r\n" + EteAnsi + Tail), (TEntries{Ete, "", Ete}));
  EXPECT_EQ(ReadAsUtf8(Mark + Tail), TEntries{});
  EXPECT_EQ(ReadAsUtf8(Mark + Tokyo + "\n\r\xC3\r\xA9"), (TEntries{Tokyo, "\xC3\xA9"}));
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
