#include "core/TextEncoding.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The text in a heap block of exactly its size, so that AddressSanitizer
// reports any read past its end (a std::string has room after its bytes).
class TExact {
 public:
  explicit TExact(std::string_view Text) : Bytes(new char[Text.size() + !Text.size()]), Size(Text.size()) {
    Text.copy(Bytes.get(), Size);
  }
  std::string_view View() const { return {Bytes.get(), Size}; }

 private:
  std::unique_ptr<char[]> Bytes;
  std::size_t Size;
};

std::u16string Utf16Of(std::string_view Utf8) { return Utf8ToUtf16(TExact(Utf8).View()); }

TEST(TextEncoding, ConvertsEveryLengthOfSequenceBothWays) {
  const struct {
    const char* Utf8;
    std::u16string Utf16;
  } Cases[] = {
      {"", u""},
      {"C:\\Pictures\\a.jpg", u"C:\\Pictures\\a.jpg"},
      {"\x7F", u"\x007F"},
      {"\xC2\x80", u"\x0080"},
      {"\xC3\xA9t\xC3\xA9", u"\x00E9t\x00E9"},
      {"\xDF\xBF", u"\x07FF"},
      {"\xE0\xA0\x80", u"\x0800"},
      {"\xE6\x9D\xB1\xE4\xBA\xAC.jpg", u"\x6771\x4EAC.jpg"},  // 東京.jpg
      {"\xED\x9F\xBF", u"\xD7FF"},
      {"\xEE\x80\x80", u"\xE000"},
      {"\xEF\xBB\xBF", u"\xFEFF"},
      {"\xEF\xBF\xBD", u"\xFFFD"},
      {"\xEF\xBF\xBF", u"\xFFFF"},
      {"\xF0\x90\x80\x80", u"\xD800\xDC00"},
      {"Birthday \xF0\x9F\x8E\x82.jpg", u"Birthday \xD83C\xDF82.jpg"},  // 🎂
      {"\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
      {"\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1", u"\x0395\x03BB\x03BB\x03AC\x03B4\x03B1"},  // Ελλάδα
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(Utf16Of(C.Utf8), C.Utf16) << C.Utf8;
    EXPECT_EQ(Utf16ToUtf8(C.Utf16), C.Utf8) << C.Utf8;
    EXPECT_TRUE(IsValidUtf8(TExact(C.Utf8).View())) << C.Utf8;
  }
  // A NUL is a character like any other, not the end.
  EXPECT_EQ(Utf8ToUtf16(std::string_view("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(TextEncoding, ReplacesEachInvalidUtf8SequenceWithOneReplacementCharacter) {
  const struct {
    const char* Name;
    std::string Utf8;
    std::u16string Utf16;
  } Cases[] = {
      {"stray continuation bytes", "a\x80" "b\xBF\xBF", u"a\xFFFD" u"b\xFFFD\xFFFD"},
      {"cut 2-byte at the end", "x\xC3", u"x\xFFFD"},
      {"cut 3-byte at the end", "\xE6\x9D", u"\xFFFD"},
      {"cut 4-byte at the end", "\xF0\x9F\x8E", u"\xFFFD"},
      {"cut by ASCII", "\xE6\x9Dx\xF0\x9F" "y", u"\xFFFDx\xFFFDy"},
      {"cut by a new lead", "\xE6\x9D\xE6\x9D\xB1", u"\xFFFD\x6771"},
      {"cut by a line end", "\xC3\r\n", u"\xFFFD\r\n"},
      {"overlong 2-byte", "\xC0\x80\xC1\xBF", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
      {"overlong 3-byte", "\xE0\x80\xAF", u"\xFFFD\xFFFD\xFFFD"},
      {"overlong 4-byte", "\xF0\x8F\xBF\xBF", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
      {"high surrogate", "\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"},
      {"surrogate pair in CESU form", "\xED\xA0\xBD\xED\xB8\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD\xFFFD\xFFFD"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
      {"lead F5", "\xF5\x80\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
      {"bytes never in UTF-8", "\xF8\xFE\xFF", u"\xFFFD\xFFFD\xFFFD"},
      {"Windows-1252 text", "caf\xE9 na\xEFve", u"caf\xFFFD na\xFFFDve"},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(Utf16Of(C.Utf8), C.Utf16) << C.Name;
    EXPECT_FALSE(IsValidUtf8(TExact(C.Utf8).View())) << C.Name;
    // What comes out is valid, and converts back as it is.
    const std::string Repaired = Utf16ToUtf8(Utf16Of(C.Utf8));
    EXPECT_TRUE(IsValidUtf8(Repaired)) << C.Name;
    EXPECT_EQ(Utf8ToUtf16(Repaired), C.Utf16) << C.Name;
  }
}

TEST(TextEncoding, ReplacesEachUnpairedSurrogate) {
  const struct {
    const char* Name;
    std::u16string Utf16;
    std::string Utf8;
  } Cases[] = {
      {"high at the end", u"a\xD83C", "a\xEF\xBF\xBD"},
      {"high then ASCII", u"\xD83Cz", "\xEF\xBF\xBDz"},
      {"low alone", u"\xDF82", "\xEF\xBF\xBD"},
      {"low before high", u"\xDF82\xD83C", "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"two highs then a low", u"\xD83C\xD83C\xDF82", "\xEF\xBF\xBD\xF0\x9F\x8E\x82"},
      {"pair then low", u"\xD83C\xDF82\xDF82", "\xF0\x9F\x8E\x82\xEF\xBF\xBD"},
  };
  for (const auto& C : Cases) EXPECT_EQ(Utf16ToUtf8(C.Utf16), C.Utf8) << C.Name;
}

TEST(TextEncoding, IsAsciiLooksAtEveryByte) {
  EXPECT_TRUE(IsAscii(""));
  EXPECT_TRUE(IsAscii(std::string_view("C:\\a\x7F\0", 6)));
  EXPECT_FALSE(IsAscii("C:\\\xC3\xA9"));
  EXPECT_FALSE(IsAscii("\x80"));
}

// "a東b🎂" with its sequences ending after bytes 1, 4, 5 and 9.
TEST(Utf8Prefix, CutsOnlyBetweenSequences) {
  const std::string Text = "a\xE6\x9D\xB1" "b\xF0\x9F\x8E\x82";
  const std::size_t Expected[] = {0, 1, 1, 1, 4, 5, 5, 5, 5, 9, 9, 9};
  for (std::size_t Max = 0; Max < std::size(Expected); ++Max) {
    const TExact Exact(Text);
    const std::string_view Prefix = Utf8Prefix(Exact.View(), Max);
    EXPECT_EQ(Prefix.size(), Expected[Max]) << Max;
    EXPECT_EQ(Prefix.data(), Exact.View().data());
    EXPECT_TRUE(IsValidUtf8(Prefix)) << Max;
  }
  EXPECT_EQ(Utf8Prefix("", 0), "");
  EXPECT_EQ(Utf8Prefix("abc", 100), "abc");
}

TEST(Utf8Prefix, TakesAnInvalidSequenceWholeAsTheConversionDoes) {
  // A stray byte, a 3-byte sequence cut by a 4-byte one, itself cut by ASCII.
  const std::string Text = "x\x80\xE6\x9D\xF0\x9F\x8Ey";
  const std::u16string Whole = Utf16Of(Text);
  std::size_t Last = 0;
  for (std::size_t Max = 0; Max <= Text.size(); ++Max) {
    const TExact Exact(Text);
    const std::string_view Prefix = Utf8Prefix(Exact.View(), Max);
    ASSERT_LE(Prefix.size(), Max);
    ASSERT_GE(Prefix.size(), Last);
    Last = Prefix.size();
    const std::u16string Part = Utf16Of(Prefix);
    EXPECT_EQ(Whole.substr(0, Part.size()), Part) << Max;
  }
  EXPECT_EQ(Utf8Prefix(Text, 3), "x\x80");
  EXPECT_EQ(Utf8Prefix(Text, 4), "x\x80\xE6\x9D");
  EXPECT_EQ(Utf8Prefix(Text, 6), "x\x80\xE6\x9D");
  EXPECT_EQ(Utf8Prefix(Text, 7), "x\x80\xE6\x9D\xF0\x9F\x8E");
}

}  // namespace
