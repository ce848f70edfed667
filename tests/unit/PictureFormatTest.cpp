#include "settings/PictureFormat.h"

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
