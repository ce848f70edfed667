#include "core/PictureKinds.h"

#include <gtest/gtest.h>

TEST(PictureFormatOf, GoesByTheLastExtensionOfTheFileName) {
  const struct {
    const char* Name;
    TPictureFormat Format;
  } Cases[] = {
      {"C:\\p\\photo.bmp", TPictureFormat::Bmp},    {"PHOTO.JPG", TPictureFormat::Jpeg},
      {"photo.Jpeg", TPictureFormat::Jpeg},         {"a.b.BMP", TPictureFormat::Bmp},
      {"photo.jpe", TPictureFormat::Other},         {"photo.jfif", TPictureFormat::Other},
      {"photo.gif", TPictureFormat::Other},         {"photo", TPictureFormat::Other},
      {"C:\\pictures.old\\photo", TPictureFormat::Other}, {"C:\\p.jpg\\x", TPictureFormat::Other},
      {"C:photo.jpg", TPictureFormat::Jpeg},        {"D:.jpg", TPictureFormat::Jpeg},
      {"photo.jpg.txt", TPictureFormat::Other},     {"photo.bmp ", TPictureFormat::Other},
      {"", TPictureFormat::Other},                  {".jpeg", TPictureFormat::Jpeg},
  };
  for (const auto& C : Cases) EXPECT_EQ(PictureFormatOf(C.Name), C.Format) << C.Name;
}

TEST(FileInSearchList, TakesTheFivePictureExtensionsInAnyCase) {
  struct TCase {
    const char* Name;
    bool Taken;
  };
  const TCase Cases[] = {
      {"photo.jpg", true},          {"PHOTO.JPEG", true},        {"x.Bmp", true},
      {"a.ico", true},              {"b.emf", true},             {"C:\\Pics\\c.JpG", true},
      {"a.gif", false},             {"a.wmf", false},            {"a.jpe", false},
      {"a.jpg.bak", false},         {"noextension", false},      {"C:\\my.pics\\photo", false},
      {"C:\\my.jpg\\photo", false}, {"D:x.bmp", true},           {"D:.bmp\\x", false},
      {".bmp", true},               {"", false},                 {"photo.", false},
      {"photo.jpg ", false},        {"photo.j\xE9g", false},    {"photo.\xC9MF", false},
  };
  for (const TCase& C : Cases) EXPECT_EQ(FileInSearchList(C.Name), C.Taken) << C.Name;
}
