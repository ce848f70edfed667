#include "core/PictureKinds.h"

#include <gtest/gtest.h>

TEST(PictureKinds, AFolderLoadListsEveryKindInAnyCase) {
  const TPictureKinds Kinds;
  struct TCase {
    const char* Name;
    bool Taken;
  };
  const TCase Cases[] = {
      {"photo.jpg", true},          {"PHOTO.JPEG", true},        {"x.Bmp", true},
      {"a.ico", true},              {"b.emf", true},             {"C:\\Pics\\c.JpG", true},
      {"a.gif", true},              {"a.wmf", true},             {"a.jpe", false},
      {"a.PNG", true},              {"a.tiff", true},            {"a.txt", false},
      {"a.jpg.bak", false},         {"noextension", false},      {"C:\\my.pics\\photo", false},
      {"C:\\my.jpg\\photo", false}, {"D:x.bmp", true},           {"D:.bmp\\x", false},
      {".bmp", true},               {"", false},                 {"photo.", false},
      {"photo.jpg ", false},        {"photo.j\xE9g", false},    {"photo.\xC9MF", false},
  };
  for (const TCase& C : Cases) EXPECT_EQ(Kinds.ListedByLoad(C.Name), C.Taken) << C.Name;
}

TEST(PictureKinds, KnowsEachKindByItsLastExtensionInAnyCase) {
  const TPictureKinds Kinds;
  const struct {
    const char* Name;
    TPictureReader Reader;
  } Cases[] = {
      {"C:\\p\\photo.bmp", TPictureReader::Bmp},        {"PHOTO.JPG", TPictureReader::Jpeg},
      {"photo.Jpeg", TPictureReader::Jpeg},             {"shot.PNG", TPictureReader::Wic},
      {"a.gif", TPictureReader::Wic},                   {"scan.tif", TPictureReader::Wic},
      {"scan.TIFF", TPictureReader::Wic},               {"x.ico", TPictureReader::Wic},
      {"chart.emf", TPictureReader::Metafile},          {"chart.WMF", TPictureReader::Metafile},
      {"photo.jpe", TPictureReader::None},              {"photo.webp", TPictureReader::None},
      {"photo", TPictureReader::None},                  {"C:\\p.png\\x", TPictureReader::None},
      {"photo.png.txt", TPictureReader::None},          {"photo.png ", TPictureReader::None},
      {"", TPictureReader::None},                       {"C:photo.gif", TPictureReader::Wic},
      {"a.b.BMP", TPictureReader::Bmp},                 {"photo.jfif", TPictureReader::None},
      {"C:\\pictures.old\\photo", TPictureReader::None}, {"C:\\p.jpg\\x", TPictureReader::None},
      {"C:photo.jpg", TPictureReader::Jpeg},            {"D:.jpg", TPictureReader::Jpeg},
      {"photo.jpg.txt", TPictureReader::None},          {"photo.bmp ", TPictureReader::None},
      {".jpeg", TPictureReader::Jpeg},
  };
  for (const auto& C : Cases) EXPECT_EQ(Kinds.ReaderOf(C.Name), C.Reader) << C.Name;
  for (const auto& C : Cases)
    EXPECT_EQ(Kinds.ListedByLoad(C.Name), C.Reader != TPictureReader::None) << "a folder load lists " << C.Name;
}

TEST(PictureKinds, TakesTheInstalledDecodersExtensionsThatNoKindHas) {
  const TPictureKinds Kinds({".WEBP", "heic", ".jpg", ".png", "webp", "", ".", "a;b", "*", "x y", ".avif"});
  EXPECT_EQ(Kinds.ReaderOf("holiday.webp"), TPictureReader::Wic);
  EXPECT_EQ(Kinds.ReaderOf("IMG_0001.HEIC"), TPictureReader::Wic);
  EXPECT_EQ(Kinds.ReaderOf("a.avif"), TPictureReader::Wic);
  EXPECT_EQ(Kinds.ReaderOf("photo.jpg"), TPictureReader::Jpeg) << "the own decoder keeps its kinds";
  ASSERT_EQ(Kinds.Kinds().size(), 8u);
  EXPECT_EQ(Kinds.Kinds().back().Extensions, (std::vector<std::string>{"webp", "heic", "avif"}))
      << "once each, without what could break a pattern";
  EXPECT_EQ(TPictureKinds().Kinds().size(), 7u) << "no extra kind without extra extensions";
}

TEST(PictureKinds, TheDialogFilterNamesEveryKindAndAllOfThemFirst) {
  const std::string Filter = TPictureKinds({"webp"}).DialogFilter();
  const std::string All = "*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff;*.ico;*.emf;*.wmf;*.webp";
  EXPECT_EQ(Filter.substr(0, Filter.find('\0', Filter.find('\0') + 1) + 1),
            "All pictures (" + All + ")" + '\0' + All + '\0');
  EXPECT_NE(Filter.find(std::string("TIFF pictures (*.tif;*.tiff)") + '\0' + "*.tif;*.tiff" + '\0'), std::string::npos);
  EXPECT_NE(Filter.find(std::string("Other pictures (*.webp)") + '\0' + "*.webp" + '\0'), std::string::npos);
  ASSERT_GE(Filter.size(), 2u);
  EXPECT_EQ(Filter.substr(Filter.size() - 2), std::string(2, '\0')) << "the list ends in a second NUL";
}
