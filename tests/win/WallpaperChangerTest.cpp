// The viewer's wallpaper changer in this process, with a period short enough
// to watch: it changes the wallpaper again on every period and ends the
// message loop when the session ends.
#include "platform/Application.h"
#include "platform/Files.h"
#include "support/SettingsFixture.h"
#include "support/TestPictures.h"
#include "viewer/WallpaperChanger.h"

namespace {

class TWallpaperChangerTest : public TSettingsTest {};

TEST_F(TWallpaperChangerTest, ChangesAgainEveryPeriodUntilTheSessionEnds) {
  UseScratchGroup("WallPaper Group", "W");
  const std::string Wallpaper = Scratch + "\\wall.bmp";
  SettingsKey().WriteString("Save WallPaper As", Wallpaper);
  TPixelBuffer Picture = SolidPicture(64, 32, MakePixel(200, 0, 0));
  WriteBmpFile(Scratch + "\\red.bmp", Picture);
  WriteGroupFile("W", Scratch + "\\red.bmp\r\n");

  TApplication App;
  App.ShowMainForm = false;
  TForm* Changer = App.AddForm(std::make_unique<TWallpaperChanger>(App, 300));
  ASSERT_TRUE(static_cast<TWallpaperChanger*>(Changer)->ChangeWallpaper());
  ASSERT_TRUE(FileExists(Wallpaper));
  for (int Change = 0; Change < 2; ++Change) {
    DeleteFileA(Wallpaper.c_str());
    for (int Waited = 0; Waited < 5000 && !FileExists(Wallpaper); Waited += 50) {
      App.ProcessMessages();
      Sleep(50);
    }
    EXPECT_TRUE(FileExists(Wallpaper)) << "change " << Change + 2;
  }
  EXPECT_FALSE(IsWindowVisible(Changer->Handle()));
  EXPECT_TRUE(SendMessageA(Changer->Handle(), WM_QUERYENDSESSION, 0, 0));
  SendMessageA(Changer->Handle(), WM_ENDSESSION, TRUE, 0);
  App.Run();  // returns once the end of the session has ended the loop
  EXPECT_TRUE(App.Terminated());
}

}  // namespace
