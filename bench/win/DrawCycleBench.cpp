// The saver's draw cycle for a 12-megapixel JPEG on a 1920 x 1080 screen,
// from the tick to the copy of the frame into the window (next name from the
// queue, file read, frame filled, picture fitted, decoded and resampled into
// the frame, frame copied), against bare full-size libjpeg decodes of the
// same file into a fresh buffer and into a buffer reused across rounds,
// alternating the three. Prints the median ratios; the last line is the
// ratio to the reused-buffer decode (target: at most 1.15). Runs under Wine
// on a virtual desktop of that size. Argument: the number of rounds (default
// 15).
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "bench/PhotoJpeg.h"
#include "bench/win/BenchWindows.h"
#include "picture/ComposeFrame.h"
#include "picture/LoadImageFile.h"
#include "platform/Gdi.h"
#include "settings/Settings.h"

using namespace Bench;

int main(int Argc, char** Argv) {
  const int Rounds = Argc > 1 ? std::max(1, std::atoi(Argv[1])) : 15;
  JoinDesktop("PictarineBench1920x1080", "1920x1080");
  const int ScreenW = GetSystemMetrics(SM_CXSCREEN), ScreenH = GetSystemMetrics(SM_CYSCREEN);
  const TBytes File = MakePhotoJpeg();
  char Temp[MAX_PATH];
  GetTempPathA(sizeof Temp, Temp);
  const std::string Path = std::string(Temp) + "pictarine-bench-photo.jpg";
  std::ofstream(Path, std::ios::binary).write(reinterpret_cast<const char*>(File.data()),
                                              static_cast<std::streamsize>(File.size()));

  HWND Window = ScreenWindow();
  TSettings Settings;
  TBitmap Frame;
  Frame.SetSize(ScreenW, ScreenH);
  TImageLoader Picture;

  // The steps of the cycle, for the breakdown: file read and header,
  // composition, copy to the window.
  std::vector<double> Opening, Composing, Copying;
  auto DrawCycle = [&] {
    const auto Start = TClock::now();
    Settings.ImageQueue.Add(Path);
    Settings.GroupImageCount = 1;
    Picture.Open(Settings.ImageQueue.Take(0));
    const auto Opened = TClock::now();
    ComposeSaverFrame(Frame, Picture, Settings);
    const auto Composed = TClock::now();
    TWindowDC Own(Window);
    Frame.CopyTo(Own.Get(), 0, 0);
    GdiFlush();
    Opening.push_back(std::chrono::duration<double, std::milli>(Opened - Start).count());
    Composing.push_back(std::chrono::duration<double, std::milli>(Composed - Opened).count());
    Copying.push_back(MillisecondsSince(Composed));
    return MillisecondsSince(Start);
  };

  std::vector<std::uint8_t> Reused(static_cast<std::size_t>(PictureW) * PictureH * 3);
  DrawCycle();
  TimeBareDecode(File);
  TimeBareDecode(File, Reused.data());
  std::vector<double> Cycle, Fresh, Bare, FreshRatios, Ratios;
  for (int I = 0; I < Rounds; ++I) {
    const double A = DrawCycle();
    const double B = TimeBareDecode(File);
    const double C = TimeBareDecode(File, Reused.data());
    Cycle.push_back(A);
    Fresh.push_back(B);
    Bare.push_back(C);
    FreshRatios.push_back(A / B);
    Ratios.push_back(A / C);
  }
  DeleteFileA(Path.c_str());
  std::printf("screen %dx%d, picture %dx%d, %u bytes, %d rounds\n", ScreenW, ScreenH, PictureW, PictureH,
              static_cast<unsigned>(File.size()), Rounds);
  std::printf("draw cycle:                          median %.2f ms\n", Median(Cycle));
  std::printf("  of which file read and header %.2f ms, fill, decode and resample %.2f ms, copy %.2f ms\n",
              Median(Opening), Median(Composing), Median(Copying));
  std::printf("bare libjpeg decode, fresh buffer:  median %.2f ms\n", Median(Fresh));
  std::printf("bare libjpeg decode, reused buffer: median %.2f ms\n", Median(Bare));
  std::printf("ratio to the fresh-buffer decode: %.3f\n", Median(FreshRatios));
  std::printf("ratio: %.3f (to the reused-buffer decode, target <= 1.15)\n", Median(Ratios));
  return 0;
}
