#include "picture/Wallpaper.h"

#include <windows.h>

#include "core/BmpCodec.h"
#include "core/FitImage.h"
#include "library/PictureLibrary.h"
#include "picture/GroupPictures.h"
#include "picture/InstalledPictureKinds.h"
#include "picture/LoadImageFile.h"
#include "platform/Files.h"
#include "platform/WideText.h"
#include "settings/Settings.h"

int DisplayBitsPerPixel() {
  HDC Screen = GetDC(nullptr);
  const int Bits = GetDeviceCaps(Screen, BITSPIXEL) * GetDeviceCaps(Screen, PLANES);
  ReleaseDC(nullptr, Screen);
  // A display depth that the file format cannot hold is written as 24 bits.
  switch (Bits) {
    case 1: case 4: case 8: case 16: case 24: case 32: return Bits;
    default: return 24;
  }
}

void SetWallpaperImage(const std::string& FileName, TSettings& Settings) {
  TBitmap Composed;
  {
    TImageLoader Picture;
    Picture.Open(FileName);
    const int ScreenW = GetSystemMetrics(SM_CXSCREEN);
    const int ScreenH = GetSystemMetrics(SM_CYSCREEN);
    if (ScreenW < Settings.MaxScreenX) Settings.MaxScreenX = ScreenW;
    if (ScreenH < Settings.MaxScreenY) Settings.MaxScreenY = ScreenH;
    const int AreaW = Settings.LimitScreenSize ? Settings.MaxScreenX : ScreenW;
    const int AreaH = Settings.LimitScreenSize ? Settings.MaxScreenY : ScreenH;
    int W = Picture.Width(), H = Picture.Height();
    FitImage(AreaW, AreaH, Settings.MaintainAspect, Settings.MaxPercent, W, H);
    // Transparent parts (metafiles, pictures with alpha) show the background.
    Composed.SetSize(W, H);
    Composed.Fill(Settings.Background);
    Picture.DrawInto(Composed, 0, 0, W, H);
  }
  if (Composed.Empty()) return;
  const std::vector<std::uint8_t> File = EncodeBmp(Composed.Pixels(), DisplayBitsPerPixel());
  ReplaceFile(Settings.SaveWallPaperAs, std::string(File.begin(), File.end()));
  std::wstring Path = Wide(Settings.SaveWallPaperAs);
  SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, Path.data(), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
}

void ChangeWallpaperNow(const std::string& GroupName) {
  TSettings Settings;
  Settings.CurrentGroup = GroupName.empty() ? Settings.WallPaperGroup : GroupName;
  Settings.LoadGroup(Settings.CurrentGroup);
  Settings.RandomOrder = true;
  const std::atomic<bool> Never{false};
  TGroupPictures Pictures(TPictureLibrary::DefaultDatabasePath());
  const std::string Name = Pictures.Next(Settings, Never);
  SetWallpaperImage(Name, Settings);
  // The wallpaper is set first; the index is brought up to date after it,
  // for the next change, as a show's refresh does for its next pass.
  if (Pictures.HasFolders())
    TPictureLibrary(TPictureLibrary::DefaultDatabasePath(), InstalledPictureKinds()).Refresh(Pictures.Lines(), Never);
}
