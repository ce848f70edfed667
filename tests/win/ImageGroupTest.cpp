// Group files on real files and the picture queue.
#include <algorithm>
#include <cmath>
#include <map>

#include "core/Errors.h"
#include "core/GroupFile.h"
#include "platform/Files.h"
#include "platform/KernelHandle.h"
#include "support/SettingsFixture.h"

namespace {

class TImageGroupTest : public TSettingsTest {
 protected:
  void SetUp() override {
    TSettingsTest::SetUp();
    UseScratchGroup("Selected Group", "G");
    A = MakeFile("a.jpg");
    B = MakeFile("b.bmp");
    C = MakeFile("c.jpeg");
  }
  std::string A, B, C;
  TSamplePicture NoSample{false};
};

TEST_F(TImageGroupTest, ReadsEveryLineFormAndDropsMissingFiles) {
  const std::string Long = MakeFile("sub folder\\with blanks\\" + std::string(150, 'l') + ".jpg");
  const std::string Junk(70000, 'j');  // a line over 64 KiB naming no file
  WriteGroupFile("G", A + "\r\n" + B + "\n" + "\r\n" + "\n" + Junk + "\r\n" + "C:\\missing.jpg\r\n" + C + "\r" +
                          "\r\n" + A + "\n" + Long + "\n" + B + "\x1A" + C + "\r\n" + C);
  TSettings Settings;
  EXPECT_EQ(Settings.ImageQueue.ToVector(), (std::vector<std::string>{A, B, C, A, Long, B}));
  EXPECT_EQ(Settings.GroupImageCount, 6);
  EXPECT_EQ(Settings.CurrentGroup, "G");

  WriteGroupFile("G", A + "\r\n" + B + "\r\n" + C);
  Settings.LoadGroup("");
  EXPECT_EQ(Settings.ImageQueue.ToVector(), (std::vector<std::string>{A, B, C})) << "no final line end";
}

TEST_F(TImageGroupTest, PicturesInListOrderRereadsSettingsAtEachPass) {
  SettingsKey().WriteBool("Random", false);
  WriteGroupFile("G", A + "\r\n" + B + "\r\n" + C + "\r\n");
  TSettings Settings;
  EXPECT_EQ(NextPicture(Settings), A);
  EXPECT_EQ(NextPicture(Settings), B);
  SettingsKey().WriteInteger("Timer interval", 1234);
  WriteGroupFile("G", C + "\r\n" + A + "\r\n");
  EXPECT_EQ(NextPicture(Settings), C);
  EXPECT_EQ(Settings.TimerInterval, 5000) << "nothing is re-read inside a pass";
  EXPECT_EQ(NextPicture(Settings), C) << "the fourth call starts the next pass at once";
  EXPECT_EQ(Settings.TimerInterval, 1234);
  EXPECT_EQ(Settings.GroupImageCount, 2);
  EXPECT_EQ(NextPicture(Settings), A);
}

TEST_F(TImageGroupTest, RandomPassesArePermutationsWithUniformPositions) {
  const std::string D = MakeFile("d.jpg");
  WriteGroupFile("G", A + "\r\n" + B + "\r\n" + C + "\r\n" + D + "\r\n");
  TSettings Settings;
  const std::vector<std::string> All{A, B, C, D};
  const int Passes = 1500;
  std::vector<std::map<std::string, int>> Seen(4);
  for (int Pass = 0; Pass < Passes; ++Pass) {
    std::vector<std::string> Got;
    for (int I = 0; I < 4; ++I) Got.push_back(NextPicture(Settings));
    for (int I = 0; I < 4; ++I) ++Seen[I][Got[I]];
    std::sort(Got.begin(), Got.end());
    ASSERT_EQ(Got, (std::vector<std::string>{A, B, C, D})) << "pass " << Pass;
  }
  // Chi-square with 3 degrees of freedom; 32.5 is exceeded with p = 1e-6.
  for (int Position = 0; Position < 4; ++Position) {
    double Chi = 0;
    for (const std::string& Entry : All) {
      const double Expected = Passes / 4.0;
      const double Observed = Seen[Position][Entry];
      Chi += (Observed - Expected) * (Observed - Expected) / Expected;
    }
    EXPECT_LT(Chi, 32.5) << "position " << Position;
  }
}

TEST_F(TImageGroupTest, EmptyGroupWithoutSampleGivesEmptyNamesWithoutRereading) {
  TSettings Settings;
  EXPECT_EQ(Settings.GroupImageCount, 0);
  SettingsKey().WriteInteger("Timer interval", 77);
  EXPECT_EQ(NextPicture(Settings), "");
  EXPECT_EQ(NextPicture(Settings), "");
  EXPECT_EQ(Settings.TimerInterval, 5000);
}

TEST_F(TImageGroupTest, SamplePictureStandsInAndEveryLaterCallRereads) {
  TSamplePicture Sample(true);
  TSettings Settings;
  EXPECT_EQ(Settings.GroupImageCount, 1);
  EXPECT_EQ(NextPicture(Settings), TSettings::SamplePicturePath());
  SettingsKey().WriteInteger("Timer interval", 77);
  EXPECT_EQ(NextPicture(Settings), TSettings::SamplePicturePath());
  EXPECT_EQ(Settings.TimerInterval, 77);
}

TEST_F(TImageGroupTest, SaveGroupCreatesFoldersAndWritesExistingFilesOnly) {
  TSettings Settings;
  Settings.InstallDir = Scratch + "\\deeper\\still";
  Settings.ImageQueue.Clear();
  for (const std::string& E : {A, std::string("C:\\gone.jpg"), B, std::string(), A}) Settings.ImageQueue.Add(E);
  Settings.SaveGroup("Saved");
  EXPECT_EQ(FileContent(Scratch + "\\deeper\\still\\Image Data\\Saved.dat"), A + "\r\n" + B + "\r\n" + A + "\r\n");
  EXPECT_EQ(Settings.ImageQueue.Count(), 5u) << "the queue keeps what the file leaves out";

  Settings.SelectedGroup = "";
  Settings.SaveGroup("");
  EXPECT_TRUE(FileExists(Scratch + "\\deeper\\still\\Image Data\\.dat"));
  Settings.LoadGroup("");
  EXPECT_EQ(Settings.ImageQueue.ToVector(), (std::vector<std::string>{A, B, A}));
}

TEST_F(TImageGroupTest, FailedSaveLeavesTheOldFileIntact) {
  WriteGroupFile("G", A + "\r\n");
  TSettings Settings;
  Settings.ImageQueue.Add(B);
  {
    // Another process reading the file holds it with read sharing only.
    TKernelHandle Reader(CreateFileA(GroupFile("G").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     0, nullptr));
    ASSERT_TRUE(Reader.Valid());
    EXPECT_THROW(Settings.SaveGroup("G"), EInOutError);
  }
  EXPECT_EQ(FileContent(GroupFile("G")), A + "\r\n");
  EXPECT_EQ(FolderListing(Scratch + "\\Image Data"), std::vector<std::string>{"G.dat"}) << "no temporary file left";

  // The reading side: a file that another process is writing cannot be read.
  {
    TKernelHandle Writer(CreateFileA(GroupFile("G").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     0, nullptr));
    ASSERT_TRUE(Writer.Valid());
    EXPECT_THROW(Settings.LoadGroup("G"), EInOutError);
  }
  EXPECT_TRUE(Settings.ImageQueue.Empty());
  Settings.ImageQueue.Add(A);
  Settings.ImageQueue.Add(B);
  Settings.SaveGroup("G");
  EXPECT_EQ(FileContent(GroupFile("G")), A + "\r\n" + B + "\r\n");

  // A folder that cannot be created: "Image Data" is a file.
  Settings.InstallDir = Scratch + "\\blocked";
  MakeFile("blocked\\Image Data", "not a folder");
  EXPECT_THROW(Settings.SaveGroup("G"), EInOutError);
  EXPECT_EQ(FileContent(Scratch + "\\blocked\\Image Data"), "not a folder");
}

// Folder entries: lines ending in a backslash, each standing for a folder's
// pictures. They keep their place among the file lines through a load and a
// save, whether or not the folder is there, and are never handed out as
// pictures.
class TFolderEntryTest : public TImageGroupTest {
 protected:
  void SetUp() override {
    TImageGroupTest::SetUp();
    ForceDirectories(Scratch + "\\photos");
    Here = Scratch + "\\photos\\";
    Gone = Scratch + "\\unplugged\\";
  }
  std::string Here, Gone;
};

TEST_F(TFolderEntryTest, KeepTheirPlaceThroughLoadAndSaveWhetherOrNotTheFolderIsThere) {
  WriteGroupFile("G", A + "\r\n" + Here + "\r\n" + "C:\\missing.jpg\r\n" + Gone + "\r\n" + Scratch +
                          "\\slashed/\r\n" + B + "\r\n" + "C:\\\r\n");
  TSettings Settings;
  const std::vector<std::string> Kept{A, Here, Gone, B, "C:\\"};
  EXPECT_EQ(Settings.ImageQueue.ToVector(), Kept) << "a line ending in a slash names a file, and none is there";
  EXPECT_EQ(Settings.GroupImageCount, 5);

  // Saved as they are, also once the folder that was there is gone too.
  RemoveDirectoryA((Scratch + "\\photos").c_str());
  Settings.SaveGroup("Copy");
  EXPECT_EQ(FileContent(GroupFile("Copy")), FormatGroupFile(Kept));
  Settings.LoadGroup("Copy");
  EXPECT_EQ(Settings.ImageQueue.ToVector(), Kept);
}

TEST_F(TFolderEntryTest, PicturesPassThemOverInListOrderAndBeginsTheNextPassOnce) {
  SettingsKey().WriteBool("Random", false);
  WriteGroupFile("G", Here + "\r\n" + A + "\r\n" + Gone + "\r\n" + B + "\r\n" + Here + "\r\n");
  TSettings Settings;
  EXPECT_EQ(NextPicture(Settings), A);
  EXPECT_EQ(NextPicture(Settings), B);
  // The last line and the first are folders: the third call passes over
  // both, reading the settings again once in between.
  SettingsKey().WriteInteger("Timer interval", 1234);
  int Passes = 0;
  EXPECT_EQ(NextPicture(Settings, [&] {
    ++Passes;
    Settings.LoadSettings();
  }),
            A);
  EXPECT_EQ(Passes, 1);
  EXPECT_EQ(Settings.TimerInterval, 1234);
  EXPECT_EQ(NextPicture(Settings), B);
}

TEST_F(TFolderEntryTest, RandomPassesGiveEveryFileOnceAndNoFolder) {
  WriteGroupFile("G", Here + "\r\n" + A + "\r\n" + Gone + "\r\n" + B + "\r\n" + C + "\r\n" + Here + "\r\n");
  TSettings Settings;
  for (int Pass = 0; Pass < 200; ++Pass) {
    std::vector<std::string> Got;
    for (int I = 0; I < 3; ++I) Got.push_back(NextPicture(Settings));
    std::sort(Got.begin(), Got.end());
    std::vector<std::string> Files{A, B, C};
    std::sort(Files.begin(), Files.end());
    ASSERT_EQ(Got, Files) << "pass " << Pass;
  }
}

TEST_F(TFolderEntryTest, AGroupOfFoldersThatGiveNothingShowsTheSamplePictureWithoutSavingIt) {
  WriteGroupFile("G", Here + "\r\n" + Gone + "\r\n");
  {
    TSamplePicture Sample(true);
    TSettings Settings;
    EXPECT_EQ(Settings.ImageQueue.ToVector(), (std::vector<std::string>{Here, Gone}))
        << "the dialog shows and saves the folders alone";
    for (int I = 0; I < 3; ++I) EXPECT_EQ(NextPicture(Settings), TSettings::SamplePicturePath()) << I;
    Settings.LoadGroup("G");
    Settings.SaveGroup("G");
    EXPECT_EQ(FileContent(GroupFile("G")), FormatGroupFile({Here, Gone}));
  }
  TSettings Settings;
  EXPECT_EQ(NextPicture(Settings), "") << "without a sample picture, nothing";
  EXPECT_EQ(NextPicture(Settings), "");
}

TEST_F(TImageGroupTest, GroupNamesCannotLeaveTheImageDataFolder) {
  MakeFile("outside.dat", A + "\r\n");
  MakeFile("Image Data\\sub\\inner.dat", A + "\r\n");
  TSettings Settings;
  Settings.ImageQueue.Add(B);
  for (const std::string Name : {"..\\outside", "../outside", "sub\\inner", "C:evil", ".", ".."}) {
    Settings.LoadGroup(Name);
    EXPECT_TRUE(Settings.ImageQueue.Empty()) << Name;
    EXPECT_EQ(Settings.GroupImageCount, 0) << Name;
    Settings.ImageQueue.Add(B);
    try {
      Settings.SaveGroup(Name);
      ADD_FAILURE() << Name;
    } catch (const EInOutError& Error) {
      EXPECT_NE(std::string(Error.what()).find("'" + Name + "'"), std::string::npos) << Error.what();
    }
  }
  EXPECT_EQ(FileContent(Scratch + "\\outside.dat"), A + "\r\n");
  EXPECT_EQ(FileContent(Scratch + "\\Image Data\\sub\\inner.dat"), A + "\r\n");
  Settings.SaveGroup("..dots are fine..");
  EXPECT_TRUE(FileExists(GroupFile("..dots are fine..")));
}

// A name that ends in a dot or a blank is still the start of a file name that
// goes on with ".dat", so the group is a file of its own: Windows drops dots
// and blanks only at the very end of a name.
TEST_F(TImageGroupTest, GroupsNamedWithADotOrABlankAtTheEndKeepFilesOfTheirOwn) {
  TSettings Settings;
  Settings.InstallDir = Scratch + "\\ends";
  const struct {
    std::string Name, File;
    std::vector<std::string> Entries;
  } Groups[] = {{"Trip", "Trip.dat", {A}}, {"Trip.", "Trip..dat", {B}}, {"Trip ", "Trip .dat", {C}},
                {"Trip. ", "Trip. .dat", {A, B}}};
  for (const auto& G : Groups) {
    Settings.ImageQueue.Clear();
    for (const std::string& Entry : G.Entries) Settings.ImageQueue.Add(Entry);
    Settings.SaveGroup(G.Name);
  }
  std::vector<std::string> Files = FolderListing(Settings.InstallDir + "\\Image Data");
  std::sort(Files.begin(), Files.end());
  EXPECT_EQ(Files, (std::vector<std::string>{"Trip .dat", "Trip. .dat", "Trip..dat", "Trip.dat"}));
  for (const auto& G : Groups) {
    EXPECT_EQ(FileContent(Settings.InstallDir + "\\Image Data\\" + G.File), FormatGroupFile(G.Entries)) << G.Name;
    Settings.LoadGroup(G.Name);
    EXPECT_EQ(Settings.ImageQueue.ToVector(), G.Entries) << G.Name;
  }
}

}  // namespace
