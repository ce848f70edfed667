// A group's pictures pass by pass when its lines hold folder entries: the
// expansion in list order, the passes mixing folders evenly, pictures gone
// since the index saw them, and a picture added found by the background
// refresh for a later pass.
#include <algorithm>
#include <map>
#include <set>

#include "library/IndexRefresh.h"
#include "picture/GroupPictures.h"
#include "picture/InstalledPictureKinds.h"
#include "platform/Files.h"
#include "platform/WideText.h"
#include "support/SettingsFixture.h"

namespace {

class TGroupPicturesTest : public TSettingsTest {
 protected:
  void SetUp() override {
    TSettingsTest::SetUp();
    UseScratchGroup("Selected Group", "G");
    Database = Scratch + "\\Library.db";
  }
  // The pictures of one whole pass, the first call beginning it.
  static std::vector<std::string> Pass(TGroupPictures& Pictures, TSettings& Settings, std::size_t Count) {
    std::vector<std::string> Got;
    for (std::size_t I = 0; I < Count; ++I) Got.push_back(Pictures.Next(Settings, Never));
    return Got;
  }
  std::string Database;
  static inline const std::atomic<bool> Never{false};
  TSamplePicture NoSample{false};
};

TEST_F(TGroupPicturesTest, AFolderEntryGivesItsPicturesInExplorerOrderAmongTheFileLines) {
  SettingsKey().WriteBool("Random", false);
  const std::string Lone = MakeFile("lone.jpg");
  const std::string Ten = MakeFile("photos\\10.jpg"), Two = MakeFile("photos\\2.jpg");
  const std::string Deep = MakeFile("photos\\2019\\beach.png");
  MakeFile("photos\\notes.txt");
  WriteGroupFile("G", Lone + "\r\n" + Scratch + "\\photos\\\r\n" + Scratch + "\\unplugged\\\r\n" + Lone + "\r\n");
  TSettings Settings;
  TGroupPictures Pictures(Database);
  EXPECT_EQ(Pass(Pictures, Settings, 5), (std::vector<std::string>{Lone, Two, Ten, Deep, Lone}));
  EXPECT_TRUE(Pictures.HasFolders());
  EXPECT_EQ(Pictures.Next(Settings, Never), Lone) << "the next pass";
}

TEST_F(TGroupPicturesTest, TheFirstPassOverFoldersNotIndexedYetGivesEachPictureOnce) {
  // Listed for the first time, the first picture may come before the rest
  // is listed: it still comes once in its pass, and first in list order.
  std::vector<std::string> All;
  for (int F = 0; F < 20; ++F)
    for (int I = 0; I < 5; ++I) All.push_back(MakeFile("tree\\" + std::to_string(F) + "\\" + std::to_string(I) + ".jpg"));
  WriteGroupFile("G", Scratch + "\\tree\\\r\n");
  for (const bool Random : {false, true}) {
    SettingsKey().WriteBool("Random", Random);
    for (const char* Part : {"", "-wal", "-shm"}) DeleteFileW(Wide(Database + Part).c_str());
    TSettings Settings;
    TGroupPictures Pictures(Database);
    const std::vector<std::string> Got = Pass(Pictures, Settings, 100);
    EXPECT_EQ(std::set<std::string>(Got.begin(), Got.end()), std::set<std::string>(All.begin(), All.end()))
        << "random " << Random;
    if (!Random) EXPECT_EQ(Got, All);
    const std::string Next = Pictures.Next(Settings, Never);
    EXPECT_TRUE(Random ? std::count(All.begin(), All.end(), Next) == 1 : Next == All.front()) << "a new pass: " << Next;
  }
}

TEST_F(TGroupPicturesTest, MixingFoldersEvenlyPicksABigAndASmallFolderAlikeEachPictureOnceAPass) {
  SettingsKey().WriteBool("Mix Folders Evenly", true);
  for (int I = 0; I < 60; ++I) MakeFile("big\\" + std::to_string(I) + ".jpg");
  for (int I = 0; I < 3; ++I) MakeFile("small\\" + std::to_string(I) + ".jpg");
  WriteGroupFile("G", Scratch + "\\big\\\r\n" + Scratch + "\\small\\\r\n");
  TSettings Settings;
  TGroupPictures Pictures(Database);
  int SmallFirst = 0;
  for (int Round = 0; Round < 100; ++Round) {
    const std::vector<std::string> Got = Pass(Pictures, Settings, 63);
    EXPECT_EQ(std::set<std::string>(Got.begin(), Got.end()).size(), 63u) << "each once, pass " << Round;
    // In a pass mixed evenly the small folder's three come among the first
    // picks; at random they would be spread over the whole pass.
    SmallFirst += static_cast<int>(std::count_if(Got.begin(), Got.begin() + 6, [](const std::string& P) {
      return P.find("\\small\\") != std::string::npos;
    }));
  }
  EXPECT_GT(SmallFirst, 200) << "of 300 small-folder pictures, most in the first six picks";
}

TEST_F(TGroupPicturesTest, APictureGoneIsPassedOverAndOneAddedComesAfterARefresh) {
  SettingsKey().WriteBool("Random", false);
  const std::string A = MakeFile("photos\\a.jpg"), B = MakeFile("photos\\b.jpg");
  WriteGroupFile("G", Scratch + "\\photos\\\r\n");
  TSettings Settings;
  TGroupPictures Pictures(Database);
  EXPECT_EQ(Pass(Pictures, Settings, 2), (std::vector<std::string>{A, B}));

  ASSERT_TRUE(DeleteFileW(Wide(A).c_str()));
  const std::string C = MakeFile("photos\\c.jpg");
  EXPECT_EQ(Pictures.Next(Settings, Never), B) << "the index has not looked yet: a is passed over, c unknown";
  {
    TIndexRefresh Refresh(Database, InstalledPictureKinds(), Pictures.Lines());
    for (int Waited = 0; !Refresh.Done() && Waited < 10000; Waited += 10) Sleep(10);
    ASSERT_TRUE(Refresh.Done());
  }
  EXPECT_EQ(Pass(Pictures, Settings, 2), (std::vector<std::string>{B, C}));
}

TEST_F(TGroupPicturesTest, FoldersThatGiveNothingShowTheSamplePicture) {
  WriteGroupFile("G", Scratch + "\\empty\\\r\n" + Scratch + "\\unplugged\\\r\n");
  ForceDirectories(Scratch + "\\empty");
  TSettings Settings;
  TGroupPictures Pictures(Database);
  EXPECT_EQ(Pictures.Next(Settings, Never), "");
  TSamplePicture Sample(true);
  EXPECT_EQ(Pictures.Next(Settings, Never), TSettings::SamplePicturePath());
}

}  // namespace
