// The configuration dialog's Images and Groups pages end to end: the picture
// list of a group with Add (through the open-picture dialog), Delete, the
// folder load, Add Folder, the folder dialog and the group switch, the
// preview, the viewer's command line, and the group names added and deleted
// in all five lists. Each dialog start
// costs the splash's 5 seconds, so each test checks one related set of steps
// on one dialog; a step that fails is reported and the later ones still run,
// except where they need what it should have made.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <set>
#include <thread>

#include "e2e/ConfigureFixture.h"
#include "platform/Files.h"
#include "platform/WideText.h"
#include "support/TestEnvironment.h"
#include "support/TestPictures.h"

namespace {

std::string Lines(const std::vector<std::string>& Entries) {
  std::string Text;
  for (const std::string& E : Entries) Text += E + "\r\n";
  return Text;
}

class TConfigurePagesTest : public TConfigureTest {
 protected:
  // The open-picture dialog the program shows over the configuration
  // dialog, ready for input.
  HWND WaitForOpenDialog() const {
    const HWND Open = OwnedDialog();
    if (Open) {
      EXPECT_TRUE(WaitForReady(Open)) << "the open-picture dialog answers";
    }
    return Open;
  }
  static HWND FileNameBox(HWND Open) {
    HWND Name = FindControl(Open, 0x47C);  // a combo box or an edit field
    return Name ? Name : FindControl(Open, 0x480);
  }
  // The folder dialog's name field: its one edit field.
  static HWND FolderNameBox(HWND Chooser) {
    HWND Found = nullptr;
    EnumChildWindows(Chooser, FirstVisibleEdit, reinterpret_cast<LPARAM>(&Found));
    EXPECT_NE(Found, nullptr) << "the folder dialog has a name field";
    return Found;
  }
  static BOOL CALLBACK FirstVisibleEdit(HWND Child, LPARAM Found) {
    char Class[32] = "";
    GetClassNameA(Child, Class, sizeof Class);
    if (lstrcmpiA(Class, "Edit") != 0 || !IsWindowVisible(Child)) return TRUE;
    *reinterpret_cast<HWND*>(Found) = Child;
    return FALSE;
  }
  // Types a text into the file name box and presses Open; returns once the
  // dialog has handled it (opened the folder typed, or ended on files).
  static void TypeAndOpen(HWND Open, const std::string& Text) {
    SetControlText(FileNameBox(Open), Text);
    EXPECT_TRUE(SendClick(GetDlgItem(Open, IDOK)).WaitHandledOrModal(Open, 10000)) << Text;
  }
  // Waits until a dialog shown over the configuration dialog is gone and the
  // click that showed it has been handled to its end.
  static void WaitGone(HWND Window) {
    EXPECT_TRUE(WaitUntil([Window] { return !IsWindow(Window); }, 5000));
    EXPECT_TRUE(WaitForSentMessages(5000)) << "the click that opened it handled";
  }
  // Clicks Add, goes to Folder in the open-picture dialog and chooses the
  // files typed there, as a user would type several names.
  void AddFiles(const std::string& Folder, const std::vector<std::string>& Names) {
    Click(idAddImages);
    HWND Open = WaitForOpenDialog();
    ASSERT_NE(Open, nullptr) << "no open-picture dialog";
    EXPECT_EQ(ControlText(Open), "Select some images");
    TypeAndOpen(Open, Folder);  // a folder's name opens that folder
    ASSERT_TRUE(IsWindow(Open));
    std::string Typed;
    for (const std::string& Name : Names) Typed += "\"" + Name + "\" ";
    TypeAndOpen(Open, Typed);
    WaitGone(Open);
    ASSERT_FALSE(IsWindow(Open));
  }
  // Clicks an Images-page entry, with Ctrl held to add it to the selection,
  // and waits until the click is handled: the preview has its size then (its
  // picture is drawn after). A file that cannot be previewed shows an error
  // box instead, which only ThenBox expects.
  enum TAfterClick { ThenPreview, ThenBox };
  void ClickEntry(int Index, bool Ctrl = false, TAfterClick Then = ThenPreview) const {
    HWND List = Control(idImageList);
    DWORD_PTR Top = 0, Height = 13;
    SendMessageTimeoutA(List, LB_GETTOPINDEX, 0, 0, SMTO_NORMAL, 5000, &Top);
    SendMessageTimeoutA(List, LB_GETITEMHEIGHT, 0, 0, SMTO_NORMAL, 5000, &Height);
    const LPARAM At = MAKELPARAM(30, (Index - static_cast<int>(Top)) * static_cast<int>(Height) + 5);
    const WPARAM Keys = Ctrl ? MK_CONTROL : 0;
    EXPECT_TRUE(IsWindowEnabled(Dialog)) << "nothing is open over the dialog before the click on entry " << Index;
    const TSentMessage Press(List, WM_LBUTTONDOWN, MK_LBUTTON | Keys, At);
    const TSentMessage Release(List, WM_LBUTTONUP, Keys, At);
    EXPECT_TRUE(Release.WaitHandledOrModal(Dialog, 10000)) << "the click on entry " << Index;
    if (Then == ThenPreview) EXPECT_TRUE(Release.Handled()) << "entry " << Index << " previewed without a box";
  }
  // The preview's picture once Shows answers true for it (up to 5 seconds),
  // else as last seen.
  template <typename TShows>
  TPixelBuffer WaitForPreview(TShows Shows) const {
    TPixelBuffer Shown;
    WaitUntil(
        [&] {
          Shown = CaptureWindow(Control(idPreview));
          return Shows(Shown);
        },
        5000);
    return Shown;
  }
  SIZE PreviewSize() const {
    RECT R;
    GetWindowRect(Control(idPreview), &R);
    return SIZE{R.right - R.left, R.bottom - R.top};
  }
  // Picks a group in a combo box as the user's choice in its list does.
  void ChooseGroup(int Id, int Index) const {
    HWND Combo = Control(Id);
    DWORD_PTR Ignored = 0;
    SendMessageTimeoutA(Combo, CB_SETCURSEL, Index, 0, SMTO_NORMAL, 5000, &Ignored);
    const TSentMessage Change(GetParent(Combo), WM_COMMAND, MAKEWPARAM(Id, CBN_SELCHANGE),
                              reinterpret_cast<LPARAM>(Combo));
    EXPECT_TRUE(Change.WaitHandledOrModal(Dialog, 10000)) << "the group change";
  }
  std::vector<std::string> Images() const { return Items(idImageList, false); }
  // Expects an error box with Message and dismisses it.
  void ExpectErrorBox(const std::string& Message) {
    const std::optional<TMessageBox> Box = Saver->WaitForMessageBox(5000);
    ASSERT_TRUE(Box.has_value()) << Message;
    EXPECT_EQ(Box->Caption, Title);
    EXPECT_EQ(Box->Text, Message);
    Box->Dismiss();
    EXPECT_TRUE(WaitForSentMessages(5000)) << "the handler ends with the box";
    EXPECT_TRUE(Saver->Running());
  }
};

TEST_F(TConfigurePagesTest, AddedPicturesArePreviewedAndWrittenToTheGroupFileOnOk) {
  const TSamplePicture NoSample(false);
  StoreGroups({"Holiday", "Alps"});
  SettingsKey().WriteString("Selected Group", "Holiday");
  const std::string Pics = Scratch + "\\pics";
  ForceDirectories(Pics);
  TPixelBuffer Small = SolidPicture(100, 50, 0x0000C000);
  WriteBmpFile(Pics + "\\small.bmp", Small);
  // Red throughout, with green growing to the right and blue downwards.
  TPixelBuffer Large(1024, 768);
  for (int Y = 0; Y < 768; ++Y)
    for (int X = 0; X < 1024; ++X) Large.View().Row(Y)[X] = MakePixel(0xC0, X / 4, Y / 3);
  WriteJpegFile(Pics + "\\large.jpg", Large);
  const std::string Unknown = MakeFile("pics\\moving.XyZ", "GIF89a");
  const std::string SmallBmp = Pics + "\\small.bmp", LargeJpg = Pics + "\\large.jpg";
  THost Host;
  ASSERT_NO_FATAL_FAILURE(Start(Host));
  EXPECT_EQ(Images(), std::vector<std::string>{});
  EXPECT_EQ(Text(idImageCount), "Images = 0");

  // Add: three files in the order the dialog returns them, full paths.
  ASSERT_NO_FATAL_FAILURE(AddFiles(Pics, {"large.jpg", "small.bmp", "moving.XyZ"}));
  const std::vector<std::string> Added{LargeJpg, SmallBmp, Unknown};
  EXPECT_EQ(Images(), Added);
  EXPECT_EQ(Text(idImageCount), "Images = 3");

  // The preview: no enlargement, shrinking by FitImage with the box's
  // current state, and a file the loader refuses leaves the preview alone.
  ClickEntry(1);
  SIZE S = PreviewSize();
  EXPECT_EQ(S.cx, 100);
  EXPECT_EQ(S.cy, 50);
  ClickEntry(0);
  S = PreviewSize();
  EXPECT_EQ(S.cx, 215);
  EXPECT_EQ(S.cy, 161);
  const TPixelBuffer Before =
      WaitForPreview([](const TPixelBuffer& Shown) { return std::abs(PixelR(Shown.At(100, 80)) - 0xC0) <= 8; });
  EXPECT_NEAR(PixelR(Before.At(100, 80)), 0xC0, 8) << "the picture is shown";
  SaveScreenshot(Dialog, "configure-images-filled");
  ClickEntry(2, false, ThenBox);
  ExpectErrorBox("Unknown picture file extension (.XyZ)");
  S = PreviewSize();
  EXPECT_EQ(S.cx, 215);
  EXPECT_EQ(S.cy, 161);
  EXPECT_EQ(CaptureWindow(Control(idPreview)).Data, Before.Data) << "the previous preview stays";
  Click(idMaintainAspect);  // unticked now
  ClickEntry(0);
  S = PreviewSize();
  EXPECT_EQ(S.cx, 217);
  EXPECT_EQ(S.cy, 161);

  // Add Folder: the folder that the Directory field names, its mask
  // dropped, becomes one entry ending in a backslash, also a folder that is
  // not there now, and a relative one in full, against the current folder
  // as Load takes it (the file dialog of Add left it in pics); an empty
  // field adds nothing. Choosing a folder entry shows, once found off the
  // dialog's thread, how many pictures it holds and its first; a folder not
  // there holds none, and no box comes.
  SetControlText(Control(idLoadDir), Pics + "\\*.*");
  Click(idAddFolder);
  SetControlText(Control(idLoadDir), Scratch + "\\unplugged");
  Click(idAddFolder);
  SetControlText(Control(idLoadDir), "later\\*.jpg");
  Click(idAddFolder);
  SetControlText(Control(idLoadDir), "");
  Click(idAddFolder);
  std::vector<std::string> Saved = Added;
  for (const char* Folder : {"\\pics\\", "\\unplugged\\", "\\pics\\later\\"}) Saved.push_back(Scratch + Folder);
  EXPECT_EQ(Images(), Saved);
  EXPECT_EQ(Text(idImageCount), "Images = 6");
  SaveScreenshot(Dialog, "configure-images-folders");
  ClickEntry(1);  // the small picture first, so that the folder's first cannot pass for it
  ClickEntry(3);
  EXPECT_TRUE(WaitUntil([&] { return Text(idPreviewBox) == "Preview: 2 pictures"; }, 10000))
      << Text(idPreviewBox) << ": large.jpg and small.bmp, not moving.XyZ";
  S = PreviewSize();
  EXPECT_EQ(S.cx, 215) << "its first in Explorer's order, large.jpg, fitted";
  EXPECT_EQ(S.cy, 161);
  WaitForPreview([](const TPixelBuffer& Shown) { return std::abs(PixelR(Shown.At(100, 80)) - 0xC0) <= 8; });
  SaveScreenshot(Dialog, "configure-images-folder-preview");
  ClickEntry(4);
  EXPECT_TRUE(WaitUntil([&] { return Text(idPreviewBox) == "Preview: 0 pictures"; }, 10000)) << "unplugged";
  ClickEntry(1);
  S = PreviewSize();
  EXPECT_EQ(S.cx, 100) << "a file's preview";
  EXPECT_EQ(Text(idPreviewBox), "Preview") << "a file's preview";

  // OK writes the list as the group's file, one path per line with CR LF,
  // the folder entries among them.
  Click(idOk);
  ExpectEnds();
  EXPECT_EQ(FileContent(GroupFile("Holiday")), Lines(Saved));
}

TEST_F(TConfigurePagesTest, ThePreviewShowsPhotosUprightAndEveryKindOfPicture) {
  const TSamplePicture NoSample(false);
  StoreGroups({"Photos"});
  SettingsKey().WriteString("Selected Group", "Photos");
  const TPixelBuffer Upright = QuadrantPicture(160, 120);
  std::vector<std::string> Photos;
  ForceDirectories(Scratch + "\\pics");
  for (int Orientation = 1; Orientation <= 8; ++Orientation) {
    Photos.push_back(Scratch + "\\pics\\photo" + std::to_string(Orientation) + ".jpg");
    WriteExifJpegFile(Photos.back(), Upright, Orientation);
  }
  const std::vector<std::string> Kinds = WriteWicKinds(Scratch + "\\pics");
  WriteEnhancedMetafile(Scratch + "\\pics\\chart.emf", MakePixel(200, 0, 200));
  std::vector<std::string> All = Photos;
  All.insert(All.end(), Kinds.begin(), Kinds.end());
  All.push_back(Scratch + "\\pics\\chart.emf");
  WriteGroupFile("Photos", Lines(All));
  THost Host;
  ASSERT_NO_FATAL_FAILURE(Start(Host));
  ASSERT_EQ(Images(), All);
  // The eight photos look alike when shown right, so each follows the red
  // opaque.png (entry 8): a preview that no longer shows red shows the photo.
  auto ShowsRed = [](const TPixelBuffer& Shown) {
    for (const POINT P : {POINT{40, 30}, POINT{120, 30}, POINT{40, 90}, POINT{120, 90}})
      if (P.x >= Shown.Width || P.y >= Shown.Height || PixelRgb(Shown.At(P.x, P.y)) != MakePixel(220, 0, 0))
        return false;
    return true;
  };
  for (int Orientation = 1; Orientation <= 8; ++Orientation) {
    ClickEntry(8);
    EXPECT_TRUE(ShowsRed(WaitForPreview(ShowsRed))) << "opaque.png before orientation " << Orientation;
    ClickEntry(Orientation - 1);
    const SIZE S = PreviewSize();
    EXPECT_EQ(S.cx, 160) << "orientation " << Orientation;
    EXPECT_EQ(S.cy, 120) << "orientation " << Orientation;
    TPixelBuffer Shown = WaitForPreview([&](const TPixelBuffer& P) { return !ShowsRed(P); });
    EXPECT_EQ(QuadrantMismatch(Shown.View(), 0, 0, S.cx, S.cy), "") << "orientation " << Orientation;
  }
  // Each kind at its own size (none larger than the pane), its colour in the
  // middle; the transparent frame of alpha.png shows the dialog's face.
  const struct {
    int W, H;
    std::uint32_t Centre;
  } Expected[] = {{160, 120, MakePixel(220, 0, 0)}, {160, 120, MakePixel(0, 200, 0)}, {100, 60, MakePixel(0, 0, 220)},
                  {120, 80, MakePixel(230, 230, 0)}, {64, 64, MakePixel(200, 0, 200)}};
  for (int I = 0; I < 5; ++I) {
    ClickEntry(8 + I);
    const SIZE S = PreviewSize();
    EXPECT_EQ(S.cx, Expected[I].W) << Kinds[I];
    EXPECT_EQ(S.cy, Expected[I].H) << Kinds[I];
    // Each centre differs from the one before it.
    const TPixelBuffer Shown = WaitForPreview(
        [&](const TPixelBuffer& P) { return PixelRgb(P.At(S.cx / 2, S.cy / 2)) == Expected[I].Centre; });
    EXPECT_EQ(PixelRgb(Shown.At(S.cx / 2, S.cy / 2)), Expected[I].Centre) << Kinds[I];
    const COLORREF Face = GetSysColor(COLOR_BTNFACE);
    if (I == 1) EXPECT_EQ(PixelRgb(Shown.At(5, 5)), MakePixel(GetRValue(Face), GetGValue(Face), GetBValue(Face))) << Kinds[I];
  }
  ClickEntry(13);
  const TPixelBuffer Chart = WaitForPreview(
      [](const TPixelBuffer& P) { return PixelRgb(P.At(P.Width * 3 / 4, P.Height / 2)) == MakePixel(200, 0, 200); });
  EXPECT_EQ(PixelRgb(Chart.At(Chart.Width * 3 / 4, Chart.Height / 2)), MakePixel(200, 0, 200)) << "chart.emf";
  Click(idCancel);
  ExpectEnds();
}

TEST_F(TConfigurePagesTest, AStoredGroupIsShownAndLoadAppendsTheFolderPictures) {
  const TSamplePicture NoSample(false);
  StoreGroups({"Holiday"});
  SettingsKey().WriteString("Selected Group", "Holiday");
  const std::vector<std::string> Stored{MakeFile("pics\\large.jpg"), MakeFile("pics\\small.bmp"),
                                        MakeFile("pics\\moving.gif")};
  WriteGroupFile("Holiday", Lines(Stored));
  // Load appends the pictures found directly in the folder, hidden ones too,
  // in the file system's order, and leaves the count as it was.
  const std::string Folder = Scratch + "\\load";
  const std::set<std::string> Taken{"p1.jpg", "p2.JPEG", "p3.bmp", "p4.ico", "p5.emf",
                                    "q.gif",  "r.wmf",   "t.png",  "u.TIF",  "hidden.jpg"};
  for (const std::string& Name : Taken) MakeFile("load\\" + Name);
  SetFileAttributesA((Folder + "\\hidden.jpg").c_str(), FILE_ATTRIBUTE_HIDDEN);
  for (const char* Name : {"v.txt", "s.jpg.bak", "sub.jpg\\inner.jpg"}) MakeFile(std::string("load\\") + Name);
  std::vector<std::string> Found;  // the order the file system lists them in
  WIN32_FIND_DATAA Entry;
  HANDLE Search = FindFirstFileA((Folder + "\\*").c_str(), &Entry);
  ASSERT_NE(Search, INVALID_HANDLE_VALUE);
  do
    if (Taken.count(Entry.cFileName)) Found.push_back(Folder + "\\" + Entry.cFileName);
  while (FindNextFileA(Search, &Entry));
  FindClose(Search);
  ASSERT_EQ(Found.size(), Taken.size());
  THost Host;
  ASSERT_NO_FATAL_FAILURE(Start(Host));
  EXPECT_EQ(Images(), Stored);
  EXPECT_EQ(Text(idImageCount), "Images = 3");

  // The folder button: the folder chosen in the folder dialog, with "*.*".
  Click(idOpenDir);
  HWND Chooser = WaitForOpenDialog();
  EXPECT_NE(Chooser, nullptr) << "no folder dialog";
  if (Chooser) {
    SetControlText(FolderNameBox(Chooser), Folder);
    EXPECT_TRUE(SendClick(GetDlgItem(Chooser, IDOK)).WaitHandledOrModal(Chooser, 10000));
    WaitGone(Chooser);
  }
  EXPECT_EQ(Text(idLoadDir), Folder + "\\*.*");

  // The loads below take the folder as typed, whatever the button did.
  SetControlText(Control(idLoadDir), Folder + "\\*.*");
  Click(idLoad);
  std::vector<std::string> Expected = Stored;
  Expected.insert(Expected.end(), Found.begin(), Found.end());
  EXPECT_EQ(Images(), Expected);
  EXPECT_EQ(Text(idImageCount), "Images = 3") << "a load does not count";
  // Twice: every file twice. A folder without a wildcard: nothing.
  Click(idLoad);
  Expected.insert(Expected.end(), Found.begin(), Found.end());
  EXPECT_EQ(Images(), Expected);
  SetControlText(Control(idLoadDir), Folder);
  Click(idLoad);
  EXPECT_EQ(Images(), Expected);

  // Add, then Cancel in the file dialog: nothing added, the count right.
  Click(idAddImages);
  HWND Open = WaitForOpenDialog();
  EXPECT_NE(Open, nullptr) << "no open-picture dialog";
  if (Open) {
    ClickButton(GetDlgItem(Open, IDCANCEL));
    WaitGone(Open);
  }
  EXPECT_EQ(Images(), Expected);
  EXPECT_EQ(Text(idImageCount), "Images = " + std::to_string(Expected.size())) << "3 stored and each found file twice";

  Click(idCancel);
  ExpectEnds();
}

TEST_F(TConfigurePagesTest, SwitchingGroupsWritesTheEditedOneAndDeleteRemovesTheSelection) {
  const TSamplePicture NoSample(false);
  StoreGroups({"Holiday", "Alps"});
  SettingsKey().WriteString("Selected Group", "Holiday");
  // Pictures, so that an entry clicked is previewed without an error box.
  const auto Bmp = [this](const std::string& Name) {
    TPixelBuffer Picture = SolidPicture(8, 8, MakePixel(0, 200, 0));
    const std::string Path = MakeFile(Name);
    WriteBmpFile(Path, Picture);
    return Path;
  };
  const std::string Gone = Bmp("holiday\\gone.bmp");
  const std::vector<std::string> Holiday{Bmp("holiday\\h1.bmp"), Bmp("holiday\\h2.bmp"), Gone, Bmp("holiday\\h3.bmp"),
                                         Gone};
  const std::vector<std::string> Alps{Bmp("alps\\e1.bmp"), Bmp("alps\\e2.bmp"), Bmp("alps\\e3.bmp"), Bmp("alps\\e4.bmp"),
                                      Bmp("alps\\e5.bmp")};
  WriteGroupFile("Holiday", Lines(Holiday));
  WriteGroupFile("Alps", Lines(Alps));
  THost Host;
  ASSERT_NO_FATAL_FAILURE(Start(Host));
  EXPECT_EQ(Images(), Holiday);

  // An edit of Holiday: its second entry deleted.
  ClickEntry(1);
  Click(idDeleteImages);
  const std::vector<std::string> Edited{Holiday[0], Gone, Holiday[3], Gone};
  EXPECT_EQ(Images(), Edited);
  EXPECT_EQ(Text(idImageCount), "Images = 4");

  // Switching to Alps writes Holiday's list to its file first.
  ChooseGroup(idEditGroup, 0);
  EXPECT_EQ(Text(idEditGroup), "Alps");
  EXPECT_EQ(FileContent(GroupFile("Holiday")), Lines(Edited));
  EXPECT_EQ(Images(), Alps);
  EXPECT_EQ(Text(idImageCount), "Images = 5");

  // Delete with three of five selected leaves the other two in order.
  ClickEntry(0);
  ClickEntry(2, true);
  ClickEntry(3, true);
  Click(idDeleteImages);
  EXPECT_EQ(Images(), (std::vector<std::string>{Alps[1], Alps[4]}));
  EXPECT_EQ(Text(idImageCount), "Images = 2");

  // Back to Holiday: Alps is saved, Holiday shows as saved without the
  // entries whose file was deleted meanwhile.
  DeleteFileA(Gone.c_str());
  ChooseGroup(idEditGroup, 1);
  EXPECT_EQ(FileContent(GroupFile("Alps")), Lines({Alps[1], Alps[4]}));
  const std::vector<std::string> Remaining{Holiday[0], Holiday[3]};
  EXPECT_EQ(Images(), Remaining);
  EXPECT_EQ(Text(idImageCount), "Images = 2");

  // Every switch away rewrites the file, also when nothing changed.
  WriteGroupFile("Holiday", "changed elsewhere\r\n");
  ChooseGroup(idEditGroup, 0);
  EXPECT_EQ(FileContent(GroupFile("Holiday")), Lines(Remaining));

  Click(idCancel);
  ExpectEnds();
}

TEST_F(TConfigurePagesTest, GroupsAddedAndDeletedInAllFiveListsAndTheViewerStartedOnTheEditedGroup) {
  const TSamplePicture NoSample(false);
  // Installed in a folder whose name has a blank, with a stand-in viewer
  // that records how it was started.
  const std::string Install = Scratch + "\\Program Files";
  ForceDirectories(Install);
  ASSERT_TRUE(CopyFileA((ProgramFolder() + "\\stand-in\\Vistaloop.exe").c_str(), (Install + "\\Vistaloop.exe").c_str(),
                        FALSE));
  TRegistryKey Key = SettingsKey();
  Key.WriteString("Install Dir", Install);
  StoreGroups({"Zoo", "Alps", "Beach"});
  Key.WriteString("Selected Group", "Beach");
  Key.WriteString("WallPaper Group", "Zoo");
  Key.WriteString("SlideShow Group", "Alps");
  const std::string AlpsPicture = MakeFile("a.bmp"), BeachPicture = MakeFile("b.bmp");
  ForceDirectories(Install + "\\Image Data");
  std::ofstream(Install + "\\Image Data\\Alps.dat", std::ios::binary) << AlpsPicture << "\r\n";
  std::ofstream(Install + "\\Image Data\\Beach.dat", std::ios::binary) << BeachPicture << "\r\n";
  // Where a group's file was once looked for beside the program: deleting
  // the group must not remove it either.
  const std::string BesideProgram = ProgramFolder() + "\\Beach.dat";
  std::ofstream(BesideProgram, std::ios::binary) << "not a group file";
  THost Host;
  ASSERT_NO_FATAL_FAILURE(Start(Host));
  auto ExpectLists = [this](const std::vector<std::string>& Names, const char* Step) {
    EXPECT_EQ(Items(idGroupsList, false), Names) << Step;
    for (int Id : {idEditGroup, idGroupSelect, idSlideShowGroup, idWallPaperGroup})
      EXPECT_EQ(Items(Id, true), Names) << Step << " " << Id;
  };
  ExpectLists({"Alps", "Beach", "Zoo"}, "at start");
  EXPECT_EQ(Text(idEditGroup), "Beach");
  EXPECT_EQ(Images(), std::vector<std::string>{BeachPicture});

  // View starts the viewer from the install folder loaded at the start,
  // whatever the Install Directory box says now, on the edited group.
  SetControlText(Control(idInstallDir), "C:\\elsewhere");
  Click(idView);
  const std::string Record = Install + "\\command-line.txt";
  WaitUntil([&] { return !FileContent(Record).empty(); }, 10000);
  EXPECT_EQ(FileContent(Record), "\"" + Install + "\\Vistaloop.exe\" /s \"Beach\"");

  // Add: the same name twice is two entries in every list; no selection moves.
  SetControlText(Control(idNewGroupName), "Holiday");
  Click(idAddGroup);
  Click(idAddGroup);
  ExpectLists({"Alps", "Beach", "Holiday", "Holiday", "Zoo"}, "Holiday twice");
  EXPECT_EQ(Text(idEditGroup), "Beach");
  EXPECT_EQ(Text(idGroupSelect), "Beach");
  EXPECT_EQ(Text(idSlideShowGroup), "Alps");
  EXPECT_EQ(Text(idWallPaperGroup), "Zoo");
  auto SelectGroup = [this](int Index) {
    DWORD_PTR Ignored = 0;
    SendMessageTimeoutA(Control(idGroupsList), LB_SETCURSEL, Index, 0, SMTO_NORMAL, 5000, &Ignored);
  };
  SelectGroup(2);
  Click(idDeleteGroup);
  ExpectLists({"Alps", "Beach", "Holiday", "Zoo"}, "one Holiday deleted");

  // Names that cannot be file names in the group folder are refused; one
  // that ends in a dot is taken (its file is "Trip..dat").
  for (const std::string Bad : {"Trip\\2024", "..", "Say \"cheese\"", "con.txt", "Trip|2024"}) {
    SetControlText(Control(idNewGroupName), Bad);
    Click(idAddGroup);
    ExpectErrorBox("\"" + Bad +
                   "\" cannot be a group name: a group is kept in a file of that name, so the name may not contain any "
                   "of < > : \" / \\ | ? * or control characters, and may not be a device name such as CON, PRN, "
                   "AUX, NUL, COM1 or LPT1.");
    ExpectLists({"Alps", "Beach", "Holiday", "Zoo"}, Bad.c_str());
  }
  SetControlText(Control(idNewGroupName), "Trip.");
  Click(idAddGroup);
  ExpectLists({"Alps", "Beach", "Holiday", "Trip.", "Zoo"}, "Trip.");
  SelectGroup(3);
  Click(idDeleteGroup);
  ExpectLists({"Alps", "Beach", "Holiday", "Zoo"}, "Trip. deleted");
  // Delete with nothing selected.
  SelectGroup(-1);
  Click(idDeleteGroup);
  ExpectErrorBox("List index out of bounds (-1)");
  ExpectLists({"Alps", "Beach", "Holiday", "Zoo"}, "none selected");

  // The wallpaper group deleted: its combo box is left empty.
  SelectGroup(3);
  Click(idDeleteGroup);
  ExpectLists({"Alps", "Beach", "Holiday"}, "Zoo deleted");
  EXPECT_EQ(Selected(idWallPaperGroup), -1);
  EXPECT_EQ(Text(idWallPaperGroup), "");
  EXPECT_EQ(Text(idEditGroup), "Beach");

  // The edited (and selected) group deleted: the Images page shows the first
  // group; the group's file stays where it is.
  SelectGroup(1);
  Click(idDeleteGroup);
  ExpectLists({"Alps", "Holiday"}, "Beach deleted");
  EXPECT_EQ(Text(idEditGroup), "Alps");
  EXPECT_EQ(Images(), std::vector<std::string>{AlpsPicture});
  EXPECT_EQ(Text(idImageCount), "Images = 1");
  EXPECT_EQ(Text(idGroupSelect), "");
  EXPECT_EQ(FileContent(Install + "\\Image Data\\Beach.dat"), BeachPicture + "\r\n");
  EXPECT_EQ(FileContent(BesideProgram), "not a group file");
  DeleteFileA(BesideProgram.c_str());

  // An empty name goes to the top of every list.
  SetControlText(Control(idNewGroupName), "");
  Click(idAddGroup);
  ExpectLists({"", "Alps", "Holiday"}, "empty name");
  Foreground();
  PressKeys({VK_CONTROL, VK_TAB});
  WaitUntil([this] { return ActivePage() == 1; }, 5000);
  EXPECT_EQ(ActivePage(), 1);
  SendMessageTimeoutA(Control(idGroupsList), LB_SETCURSEL, 1, 0, SMTO_NORMAL, 5000, nullptr);
  SaveScreenshot(Dialog, "configure-groups-filled");

  // OK stores the names of GroupsList and empty names for the emptied boxes.
  Click(idOk);
  ExpectEnds();
  const TRegistryKey After = TRegistryKey::Open(SettingsKeyPath);
  EXPECT_EQ(After.ReadString("Selected Group"), "");
  EXPECT_EQ(After.ReadString("WallPaper Group"), "");
  EXPECT_EQ(After.ReadString("SlideShow Group"), "Alps");
  const TRegistryKey Names = After.OpenSubKey("Images");
  EXPECT_EQ(Names.ValueNames().size(), 3u);
  EXPECT_EQ(Names.ReadString("0"), "");
  EXPECT_EQ(Names.ReadString("1"), "Alps");
  EXPECT_EQ(Names.ReadString("2"), "Holiday");
  EXPECT_EQ(FileContent(Install + "\\Image Data\\Beach.dat"), BeachPicture + "\r\n");
}

TEST_F(TConfigurePagesTest, NamesInEveryScriptAreLoadedSavedAndShownAndAGroupMayHaveOne) {
  const TSamplePicture NoSample(false);
  // A folder of pictures named in Japanese, Greek and with an emoji, and a
  // wallpaper to be saved in a folder called Ellada in Greek.
  constexpr std::uint32_t Green = MakePixel(0, 200, 0), Blue = MakePixel(0, 0, 220), Red = MakePixel(220, 0, 0);
  constexpr std::uint32_t BackgroundPixel = MakePixel(0x99, 0x66, 0x33);
  // The folder's path is short, so that the list shows the names whole.
  const std::string Folder = "C:\\\u5199\u771F";  // "photos"
  DeleteTree(Folder);
  ForceDirectories(Folder);
  struct TRemoved {
    std::string Folder;
    ~TRemoved() { DeleteTree(Folder); }
  } const Removed{Folder};
  const struct {
    std::string Name;
    std::uint32_t Pixel;
  } Pictures[] = {{"\u6771\u4EAC.bmp", Green},                                  // Tokyo
                  {"\u0395\u03BB\u03BB\u03AC\u03B4\u03B1 2023.jpg", Blue},  // Greece 2023
                  {"Birthday \U0001F382.bmp", Red}};
  for (const auto& P : Pictures) {
    TPixelBuffer Picture = SolidPicture(120, 80, P.Pixel);
    if (P.Name.back() == 'g')
      WriteJpegFile(Folder + "\\" + P.Name, Picture);
    else
      WriteBmpFile(Folder + "\\" + P.Name, Picture);
  }
  std::vector<std::string> Found;  // in the order the file system lists them
  for (const std::string& Name : FolderListing(Folder)) Found.push_back(Folder + "\\" + Name);
  ASSERT_EQ(Found.size(), 3u);
  const std::string Greek = Scratch + "\\\u0395\u03BB\u03BB\u03AC\u03B4\u03B1";
  ForceDirectories(Greek);
  const std::string Wallpaper = Greek + "\\wall.bmp";
  const std::string Tokyo = "\u6771\u4EAC";
  StoreGroups({"Photos"});
  TRegistryKey Key = SettingsKey();
  Key.WriteString("Selected Group", "Photos");
  Key.WriteString("WallPaper Group", "Photos");
  Key.WriteString("Save WallPaper As", Wallpaper);
  Key.WriteBool("Random", false);
  Key.WriteInteger("Background", 0x00336699);
  // The View button starts a stand-in viewer that records its command line.
  ASSERT_TRUE(CopyFileW(Wide(ProgramFolder() + "stand-in\\Vistaloop.exe").c_str(),
                        Wide(Scratch + "\\Vistaloop.exe").c_str(), FALSE));
  THost Host;
  ASSERT_NO_FATAL_FAILURE(Start(Host));

  // Load lists the folder's pictures with their names as they are.
  SetControlText(Control(idLoadDir), Folder + "\\*.*");
  EXPECT_EQ(Text(idLoadDir), Folder + "\\*.*");
  Click(idLoad);
  EXPECT_EQ(Images(), Found);
  SaveScreenshot(Dialog, "configure-images-names");

  // A group named in Japanese, made on the Groups page and edited.
  SetControlText(Control(idNewGroupName), Tokyo);
  Click(idAddGroup);
  EXPECT_EQ(Items(idGroupsList, false), (std::vector<std::string>{"Photos", Tokyo}));
  EXPECT_EQ(Items(idEditGroup, true), (std::vector<std::string>{"Photos", Tokyo}));
  ChooseGroup(idEditGroup, 1);
  EXPECT_EQ(Text(idEditGroup), Tokyo);
  // The group left is written as UTF-8 after the byte-order mark: its names
  // do not fit the ANSI code page.
  std::string Written;
  for (const std::string& Path : Found) Written += Path + "\r\n";
  EXPECT_EQ(FileContent(GroupFile("Photos")), "\xEF\xBB\xBF" + Written);
  Click(idView);
  const std::string Record = Scratch + "\\command-line.txt";
  WaitUntil([&] { return !FileContent(Record).empty(); }, 10000);
  EXPECT_EQ(FileContent(Record), "\"" + Scratch + "\\Vistaloop.exe\" /s \"" + Tokyo + "\"");
  Foreground();
  PressKeys({VK_CONTROL, VK_TAB});
  WaitUntil([this] { return ActivePage() == 1; }, 5000);
  SaveScreenshot(Dialog, "configure-groups-names");
  Click(idOk);
  ExpectEnds();
  EXPECT_EQ(TRegistryKey::Open(SettingsKeyPath).OpenSubKey("Images").ReadString("1"), Tokyo);
  EXPECT_TRUE(FileExists(Scratch + "\\Image Data\\" + Tokyo + ".dat"));

  // The saver shows each of them (the dialog stored its interval in whole
  // seconds).
  SettingsKey().WriteInteger("Timer interval", 800);
  {
    TSaverProcess Shown("/s");
    ASSERT_TRUE(Shown.WaitForWindow(15000).has_value());
    for (const auto& P : Pictures)
      EXPECT_EQ(WaitForScreen({{512, 384, P.Pixel}, {0, 0, BackgroundPixel}}, 15000), "") << P.Name;
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(Shown.WaitForExit(10000).has_value());
  }
  // /w makes one of them the wallpaper, saved in the Greek folder.
  {
    TSaverProcess Changer("/w");
    EXPECT_EQ(Changer.WaitForExit(20000), std::optional<DWORD>(0));
  }
  EXPECT_EQ(ReadBmpFileInfo(Wallpaper).Width, 120) << "a picture, not the message of a file that cannot be read";
  EXPECT_EQ(TRegistryKey::Open("Control Panel\\Desktop").ReadString("Wallpaper"), Wallpaper);
  // The viewer shows them under its caption with the group's name.
  TSaverProcess Viewer(TSaverProcess::TCommandLine{"\"" + ProgramFolder() + "Vistaloop.exe\" /s Photos"});
  const auto Window = Viewer.WaitForWindow(15000);
  ASSERT_TRUE(Window.has_value());
  EXPECT_EQ(Window->Caption, "Pictarine Screen Saver - Photos");
  RECT Client{};
  GetClientRect(Window->Window, &Client);
  POINT Centre{Client.right / 2, Client.bottom / 2};
  ClientToScreen(Window->Window, &Centre);
  EXPECT_TRUE(WaitUntil(
      [&] {
        const std::uint32_t P = CaptureScreen().At(Centre.x, Centre.y);
        return P == Green || P == Blue || P == Red;
      },
      15000))
      << "a picture of the group";
  PostMessageW(Window->Window, WM_CLOSE, 0, 0);
  EXPECT_EQ(Viewer.WaitForExit(10000), std::optional<DWORD>(0));
  TSaverProcess Japanese(TSaverProcess::TCommandLine{"\"" + ProgramFolder() + "Vistaloop.exe\" /s \"" + Tokyo + "\""});
  const auto Named = Japanese.WaitForWindow(15000);
  ASSERT_TRUE(Named.has_value());
  EXPECT_EQ(Named->Caption, "Pictarine Screen Saver - " + Tokyo);
  SaveScreenshot(Named->Window, "viewer-caption-names");
  PostMessageW(Named->Window, WM_CLOSE, 0, 0);
  EXPECT_EQ(Japanese.WaitForExit(10000), std::optional<DWORD>(0));
}

TEST_F(TConfigurePagesTest, TenThousandEntriesLoadAndSaveAndTheDialogAnswersWhileABigFolderLoads) {
  const TSamplePicture NoSample(false);
  StoreGroups({"Big"});
  SettingsKey().WriteString("Selected Group", "Big");
  // 10,000 entries naming 1,000 files ten times over (files are slow to make
  // under Wine; the benchmark loads a folder of 10,000).
  const int N = 10000, Files = 1000;
  const std::string Folder = Scratch + "\\big";
  ForceDirectories(Folder);
  std::string Group, FolderEntries;
  for (int I = 0; I < N; ++I) {
    char Name[32];
    std::snprintf(Name, sizeof Name, "\\photo%05d.jpg", I % Files);
    if (I < Files) {
      CloseHandle(CreateFileA((Folder + Name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
      FolderEntries += Folder + Name + "\r\n";
    }
    Group += Folder + Name + "\r\n";
  }
  WriteGroupFile("Big", Group);
  char Separator[8] = ",";
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, Separator, sizeof Separator);
  THost Host;
  ASSERT_NO_FATAL_FAILURE(Start(Host));
  auto Count = [this](DWORD& Answered) {
    DWORD_PTR Result = 0;
    const DWORD Asked = GetTickCount();
    if (!SendMessageTimeoutA(Control(idImageList), LB_GETCOUNT, 0, 0, SMTO_NORMAL, 10000, &Result)) Result = 0;
    Answered = GetTickCount() - Asked;
    return static_cast<int>(Result);
  };
  DWORD Answered = 0;
  EXPECT_EQ(Count(Answered), N);
  EXPECT_EQ(Text(idImageCount), std::string("Images = 10") + Separator + "000");

  // A folder of 1,000 files: while it loads the dialog answers at once and
  // the list grows visibly. Here such a folder loads in a few milliseconds,
  // too fast to watch whatever the machine, so a stand-in for a slow disk or
  // network folder holds the dialog's thread still for 120 ms at a time
  // (longer than the dialog's progress interval), from before the click on,
  // and lets it go on only until it has answered. A question about the count
  // always waits in its queue: each time the dialog goes on, it must answer
  // with how far it got (at its first entry, then at the first after each
  // hold), not once the whole folder is in.
  const TKernelHandle DialogThread(
      OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(Dialog, nullptr)));
  ASSERT_TRUE(DialogThread.Valid());
  SetControlText(Control(idLoadDir), Folder + "\\*.*");
  ASSERT_NE(SuspendThread(DialogThread.Get()), static_cast<DWORD>(-1));
  ClickButton(Control(idLoad));
  std::mutex Lock;
  std::condition_variable Changed;
  int Answers = 0;
  bool LetGo = false;
  std::thread SlowDisk([&] {
    for (;;) {
      std::unique_lock<std::mutex> Held(Lock);
      const int Before = Answers;
      ResumeThread(DialogThread.Get());
      Changed.wait_for(Held, std::chrono::seconds(10), [&] { return LetGo || Answers != Before; });
      if (LetGo) return;
      Held.unlock();
      if (SuspendThread(DialogThread.Get()) == static_cast<DWORD>(-1)) return;
      Sleep(120);
    }
  });
  const DWORD Started = GetTickCount();
  DWORD Slowest = 0;     // of the questions asked once the load was seen going
  std::set<int> During;  // the counts answered while the folder loaded
  int Now = 0;
  for (;;) {
    const bool Loading = !During.empty();
    Now = Count(Answered);
    {
      std::lock_guard<std::mutex> Held(Lock);
      ++Answers;
      Changed.notify_all();
    }
    if (Loading) Slowest = std::max(Slowest, Answered);
    if (Now >= N + Files || GetTickCount() - Started >= 60000) break;
    if (Now > N) During.insert(Now);
    if (During.size() == 3) break;
  }
  {
    std::lock_guard<std::mutex> Held(Lock);
    LetGo = true;
    Changed.notify_all();
  }
  SlowDisk.join();
  // The rest loads at full speed.
  while (Now < N + Files && GetTickCount() - Started < 60000) {
    Sleep(20);
    Now = Count(Answered);
  }
  EXPECT_EQ(Now, N + Files);
  EXPECT_GE(During.size(), 2u) << "progress is seen while it loads";
  EXPECT_LT(Slowest, 1000u) << "the dialog answers at once when it goes on";
  EXPECT_EQ(Text(idImageCount), std::string("Images = 10") + Separator + "000");
  SaveScreenshot(Dialog, "configure-images-big");

  // OK saves all of them without error.
  Click(idOk);
  EXPECT_EQ(Saver->WaitForExit(60000), std::optional<DWORD>(0));
  EXPECT_EQ(FileContent(GroupFile("Big")), Group + FolderEntries);
}

}  // namespace
