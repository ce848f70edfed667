// The saver's draw cycle for a 12-megapixel JPEG on a 1920 x 1080 screen,
// from the tick to the copy of the frame into the window (next name from the
// queue, file read and decoded, frame filled, picture fitted and resampled,
// frame copied), against a bare full-size libjpeg decode of the same file,
// alternating the two. Prints the median ratio (target: at most 1.3). Runs
// under Wine on a virtual desktop of that size.
#include <windows.h>

#include <fstream>

#include "bench/PhotoJpeg.h"
#include "forms/MainFrm.h"
#include "platform/Gdi.h"
#include "settings/LoadImageFile.h"
#include "settings/Settings.h"

using namespace Bench;

namespace {

bool JoinDesktop(const char* Name, const char* Size) {
  HKEY Key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Explorer\\Desktops", 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, &Key, nullptr) == ERROR_SUCCESS) {
    RegSetValueExA(Key, Name, 0, REG_SZ, reinterpret_cast<const BYTE*>(Size), static_cast<DWORD>(strlen(Size) + 1));
    RegCloseKey(Key);
  }
  HDESK Desktop = CreateDesktopA(Name, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  return Desktop && SetThreadDesktop(Desktop);
}

}  // namespace

int main() {
  JoinDesktop("PictarineBench1920x1080", "1920x1080");
  const int ScreenW = GetSystemMetrics(SM_CXSCREEN), ScreenH = GetSystemMetrics(SM_CYSCREEN);
  const TBytes File = MakePhotoJpeg();
  char Temp[MAX_PATH];
  GetTempPathA(sizeof Temp, Temp);
  const std::string Path = std::string(Temp) + "pictarine-bench-photo.jpg";
  std::ofstream(Path, std::ios::binary).write(reinterpret_cast<const char*>(File.data()),
                                              static_cast<std::streamsize>(File.size()));

  HWND Window = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, ScreenW, ScreenH, nullptr,
                                nullptr, nullptr, nullptr);
  TSettings Settings;
  TBitmap Frame;
  Frame.SetSize(ScreenW, ScreenH);
  TImageLoader Picture;

  auto DrawCycle = [&] {
    const auto Start = TClock::now();
    Settings.ImageQueue.Add(Path);
    Settings.GroupImageCount = 1;
    Picture.Open(Settings.NextImage());
    ComposeSaverFrame(Frame, Picture, Settings);
    TWindowDC Own(Window);
    Frame.CopyTo(Own.Get(), 0, 0);
    GdiFlush();
    return MillisecondsSince(Start);
  };

  DrawCycle();
  TimeBareDecode(File);
  const int Rounds = 15;
  std::vector<double> Cycle, Bare, Ratios;
  for (int I = 0; I < Rounds; ++I) {
    const double A = DrawCycle();
    const double B = TimeBareDecode(File);
    Cycle.push_back(A);
    Bare.push_back(B);
    Ratios.push_back(A / B);
  }
  DeleteFileA(Path.c_str());
  std::printf("screen %dx%d, picture %dx%d, %u bytes, %d rounds\n", ScreenW, ScreenH, PictureW, PictureH,
              static_cast<unsigned>(File.size()), Rounds);
  std::printf("draw cycle:        median %.2f ms\n", Median(Cycle));
  std::printf("bare libjpeg decode: median %.2f ms\n", Median(Bare));
  std::printf("ratio: %.3f (target <= 1.3)\n", Median(Ratios));
  return 0;
}
