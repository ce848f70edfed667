#include "core/FolderEntry.h"

#include <gtest/gtest.h>

#include "core/GroupFile.h"

namespace {

TEST(FolderEntry, OnlyATrailingBackslashMakesOne) {
  for (const char* Entry : {"D:\\Photos\\", "D:\\", "\\\\server\\share\\", "Photos\\", "\\", "D:\\Ünïcödé 写真\\"})
    EXPECT_TRUE(IsFolderEntry(Entry)) << Entry;
  for (const char* Entry : {"", "D:\\Photos", "D:\\Photos/", "D:", "D:\\a.jpg", "D:\\Photos\\ ", "D:\\Photos\\."})
    EXPECT_FALSE(IsFolderEntry(Entry)) << Entry;
  // A group mixing both kinds of line reads both back as they were written.
  const std::vector<std::string> Lines = {"D:\\Photos\\", "D:\\a.jpg", "E:\\"};
  const std::vector<std::string> Read = ParseGroupFile(FormatGroupFile(Lines));
  EXPECT_EQ(Read, Lines);
  EXPECT_TRUE(IsFolderEntry(Read[0]));
  EXPECT_FALSE(IsFolderEntry(Read[1]));
}

TEST(FolderEntry, PathDropsTheBackslashExceptForARoot) {
  const struct {
    const char* Entry;
    const char* Path;
  } Cases[] = {
      {"D:\\Photos\\", "D:\\Photos"},
      {"D:\\Photos\\2024\\", "D:\\Photos\\2024"},
      {"D:\\Photos\\\\\\", "D:\\Photos"},
      {"D:\\", "D:\\"},
      {"d:\\\\", "d:\\"},
      {"D:Photos\\", "D:Photos"},
      {"\\", "\\"},
      {"\\Photos\\", "\\Photos"},
      {"\\\\server\\share\\", "\\\\server\\share\\"},
      {"\\\\server\\share\\\\", "\\\\server\\share\\"},
      {"\\\\server\\share\\Photos\\", "\\\\server\\share\\Photos"},
      {"\\\\?\\D:\\", "\\\\?\\D:\\"},
      {"\\\\?\\D:\\Photos\\", "\\\\?\\D:\\Photos"},
      {"\\\\?\\UNC\\server\\share\\", "\\\\?\\UNC\\server\\share\\"},
      {"\\\\?\\unc\\server\\share\\x\\", "\\\\?\\unc\\server\\share\\x"},
      {"\\\\.\\D:\\", "\\\\.\\D:\\"},
      {"\\\\?\\Volume{0a1b}\\", "\\\\?\\Volume{0a1b}\\"},
      {"\\\\?\\Volume{0a1b}\\DCIM\\", "\\\\?\\Volume{0a1b}\\DCIM"},
      {"Photos\\", "Photos"},
  };
  for (const auto& C : Cases) EXPECT_EQ(FolderEntryPath(C.Entry), C.Path) << C.Entry;
}

TEST(FolderEntry, ChildPathAddsOneBackslash) {
  EXPECT_EQ(ChildPath("D:\\Photos", "a.jpg"), "D:\\Photos\\a.jpg");
  EXPECT_EQ(ChildPath("D:\\", "a.jpg"), "D:\\a.jpg");
  EXPECT_EQ(ChildPath("\\\\server\\share\\", "*"), "\\\\server\\share\\*");
  EXPECT_EQ(ChildPath(FolderEntryPath("D:\\Photos\\"), "*"), "D:\\Photos\\*");
}

TEST(FolderEntry, FromTheDirectoryField) {
  const struct {
    const char* Field;
    const char* Entry;
  } Cases[] = {
      {"C:\\Photos\\*.*", "C:\\Photos\\"},
      {"C:\\Photos\\*.jpg", "C:\\Photos\\"},
      {"C:\\Photos\\IMG_????.JPG", "C:\\Photos\\"},
      {"C:\\Photos", "C:\\Photos\\"},
      {"C:\\Photos\\", "C:\\Photos\\"},
      {"C:\\Photos\\\\", "C:\\Photos\\"},
      {"C:\\", "C:\\"},
      {"C:\\*.*", "C:\\"},
      {"C:*.*", "C:\\"},
      {"C:", "C:\\"},
      {"C:/Photos/*.jpg", "C:\\Photos\\"},
      {"\\\\server\\share\\*.*", "\\\\server\\share\\"},
      {"\\\\server\\share", "\\\\server\\share\\"},
      {"\\\\?\\C:\\Photos\\*.*", "\\\\?\\C:\\Photos\\"},
      {"C:\\Fotos 2024 (Ürlaub)\\写真", "C:\\Fotos 2024 (Ürlaub)\\写真\\"},
      // A mask only in the last component: a folder with "?" in the middle is
      // not a name Windows allows, and is left for the listing to refuse.
      {"C:\\a*b\\Photos", "C:\\a*b\\Photos\\"},
      {"", ""},
      {"*.*", ""},
      {"*.jpg", ""},
  };
  for (const auto& C : Cases) {
    const std::string Entry = FolderEntryFromField(C.Field);
    EXPECT_EQ(Entry, C.Entry) << C.Field;
    EXPECT_TRUE(Entry.empty() || IsFolderEntry(Entry)) << C.Field;
  }
}

}  // namespace
