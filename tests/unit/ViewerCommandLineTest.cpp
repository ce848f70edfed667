#include "core/ViewerCommandLine.h"

#include <gtest/gtest.h>

#include "core/CommandLine.h"

namespace {

TViewerCommand Parse(const std::string& CommandLine) {
  std::vector<std::string> Words = SplitCommandLine(CommandLine);
  Words.erase(Words.begin());
  return ParseViewerArguments(Words);
}

TEST(ViewerCommandLine, TheThreeCommandLinesOfTheSettings) {
  TViewerCommand C = Parse("\"C:\\Program Files\\Quellbrook\\Pictarine Screen Saver\\Vistaloop.exe\"");
  EXPECT_EQ(C.Mode, vmSlideShow);
  EXPECT_EQ(C.Group, "");
  C = Parse("\"C:\\Program Files\\Quellbrook\\Pictarine Screen Saver\\Vistaloop.exe\" /w");
  EXPECT_EQ(C.Mode, vmWallpaper);
  C = Parse("\"C:\\Program Files\\Q\\Vistaloop.exe\" /s \"Summer 2024\"");
  EXPECT_EQ(C.Mode, vmSlideShow);
  EXPECT_EQ(C.Group, "Summer 2024");
}

TEST(ViewerCommandLine, SwitchSpellingsAndLooseGroupNames) {
  EXPECT_EQ(Parse("v -W").Mode, vmWallpaper);
  EXPECT_EQ(Parse("v /S Holidays").Group, "Holidays");
  EXPECT_EQ(Parse("v -s My  Holiday   Pictures").Group, "My Holiday Pictures");
  EXPECT_EQ(Parse("v /s").Group, "") << "no name: the stored slide show group";
  EXPECT_EQ(Parse("v /s").Mode, vmSlideShow);
  EXPECT_EQ(Parse("v /x").Mode, vmUnknown);
  EXPECT_EQ(Parse("v /w extra").Mode, vmUnknown);
  EXPECT_EQ(Parse("v Holidays").Mode, vmUnknown);
}

TEST(ViewerCommandLine, WallpaperPeriodInMinutesClampedToTheTimersRange) {
  EXPECT_EQ(WallpaperPeriodMs(0), 0u);
  EXPECT_EQ(WallpaperPeriodMs(-5), 0u);
  EXPECT_EQ(WallpaperPeriodMs(1), 60000u);
  EXPECT_EQ(WallpaperPeriodMs(35791), 2147460000u);
  EXPECT_EQ(WallpaperPeriodMs(35792), 0x7FFFFFFFu) << "would pass 2^31 - 1 ms";
  EXPECT_EQ(WallpaperPeriodMs(2147483647), 0x7FFFFFFFu);
}

}  // namespace
