#include "core/CommandLine.h"

#include <gtest/gtest.h>

namespace {

struct TParseCase {
  std::vector<std::string> Args;
  TSaverMode Mode;
  std::int32_t Handle;
};

TEST(ParseArguments, ChoosesModeAndHandle) {
  const TParseCase Cases[] = {
      {{}, smConfigure, 0},
      // Prefixes: at most one "/" then at most one "-", letters in either case.
      {{"/S"}, smSaver, 0},
      {{"/s"}, smSaver, 0},
      {{"-s"}, smSaver, 0},
      {{"/-s"}, smSaver, 0},
      {{"s"}, smSaver, 0},
      {{"//s"}, smConfigure, 0},
      {{"-/s"}, smConfigure, 0},
      {{"/"}, smConfigure, 0},
      {{"/", "77"}, smConfigure, 77},
      {{"-"}, smConfigure, 0},
      {{"/settings"}, smSaver, 0},
      {{"/preview", "1234"}, smPreview, 1234},
      {{"/l", "42"}, smPreview, 42},
      {{"/W"}, smWallpaper, 0},
      {{"/a"}, smChangePassword, 0},
      {{"/q"}, smConfigure, 0},
      // Colon form wins over a second argument.
      {{"/c:1234"}, smConfigure, 1234},
      {{"/c", "1234"}, smConfigure, 1234},
      {{"/p:1234", "99"}, smPreview, 1234},
      {{"/P:$1F"}, smPreview, 31},
      // Handle fallback: the stripped first argument itself.
      {{"/p"}, smPreview, 0},
      {{"/5"}, smConfigure, 5},
      {{"-12"}, smConfigure, 12},
      {{"/p", "abc"}, smPreview, 0},
      {{"/p:12ab"}, smPreview, 0},
      {{"/p:"}, smPreview, 0},
      // The second argument is read unchanged (not lower-cased).
      {{"/p", "$FF"}, smPreview, 255},
      {{"/p", "0XfF"}, smPreview, 255},
      {{"/p", "  -7"}, smPreview, -7},
      {{"/p", "2147483647"}, smPreview, 2147483647},
      {{"/p", "2147483648"}, smPreview, 0},
      {{"/p", "-2147483648"}, smPreview, INT32_MIN},
      {{"/p", "$80000000"}, smPreview, 0},
  };
  for (const auto& C : Cases) {
    std::string Name;
    for (const auto& A : C.Args) Name += "[" + A + "]";
    const TParsedCommandLine R = ParseArguments(C.Args);
    EXPECT_EQ(R.Mode, C.Mode) << Name;
    EXPECT_EQ(R.ParentWindow, C.Handle) << Name;
  }
}

TEST(ReadInteger, AcceptsOnlyWholeSigned32BitNumbers) {
  const struct {
    const char* Text;
    bool Ok;
    std::int32_t Value;
  } Cases[] = {
      {"0", true, 0},         {"   42", true, 42},      {"+42", true, 42},
      {"-42", true, -42},     {"$7fffffff", true, INT32_MAX}, {"x10", true, 16},
      {"X10", true, 16},      {"0x10", true, 16},       {"0X10", true, 16},
      {"-$10", true, -16},    {"007", true, 7},         {"", false, 0},
      {" ", false, 0},        {"-", false, 0},          {"$", false, 0},
      {"0x", false, 0},       {"42 ", false, 0},        {"4 2", false, 0},
      {"1e3", false, 0},      {"$G", false, 0},         {"99999999999", false, 0},
      {"-2147483649", false, 0}, {"\t5", false, 0},      {"--5", false, 0},
  };
  for (const auto& C : Cases) {
    std::int32_t V = 12345;
    EXPECT_EQ(ReadInteger(C.Text, V), C.Ok) << "'" << C.Text << "'";
    if (C.Ok) {
      EXPECT_EQ(V, C.Value) << "'" << C.Text << "'";
    }
  }
}

TEST(SplitCommandLine, SplitsOnBlanksAndHonoursQuotes) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitCommandLine("prog /p 1234"), (V{"prog", "/p", "1234"}));
  EXPECT_EQ(SplitCommandLine("  \"C:\\Program Files\\x.scr\"   /s  "),
            (V{"C:\\Program Files\\x.scr", "/s"}));
  EXPECT_EQ(SplitCommandLine("a\"b c\"d e"), (V{"ab cd", "e"}));
  EXPECT_EQ(SplitCommandLine("prog \"\""), (V{"prog", ""}));
  EXPECT_EQ(SplitCommandLine("prog \"unclosed tail"), (V{"prog", "unclosed tail"}));
  EXPECT_EQ(SplitCommandLine(""), V{});
}

}  // namespace
