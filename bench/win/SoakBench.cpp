// The saver's draw cycle, with its picture pipeline and a cross-fade, run
// 10,000 times over a mixed group (JPEG files
// baseline and progressive, 24-bit and RLE BMP files, a missing file, a
// corrupt JPEG and a corrupt BMP), in the real saver window on a 1024 x 768
// screen, a new pass (settings and group file read again) every 8 pictures.
// Prints what the process holds (GDI objects, user objects, kernel handles,
// private bytes) after a warm-up of 100 cycles (half the run when it is
// shorter) and at the end: all four should stay flat. Argument: the number
// of cycles (default 10,000).
// Runs under the Wine bench; writes the bench prefix's settings key.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/win/BenchSettings.h"
#include "bench/win/BenchWindows.h"
#include "bench/win/ResourceCounts.h"
#include "core/BmpCodec.h"
#include "core/ProductInfo.h"
#include "forms/MainFrm.h"
#include "platform/Application.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "support/HostileJpeg.h"

using namespace Bench;

namespace {

std::vector<std::uint8_t> Pattern(int W, int H, int Seed) {
  std::vector<std::uint8_t> Rgb(static_cast<std::size_t>(W) * H * 3);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      std::uint8_t* P = &Rgb[(static_cast<std::size_t>(Y) * W + X) * 3];
      P[0] = static_cast<std::uint8_t>(X * 255 / W);
      P[1] = static_cast<std::uint8_t>(Y * 255 / H);
      P[2] = static_cast<std::uint8_t>((X * Y + Seed) & 0xFF);
    }
  return Rgb;
}

void Put(const std::string& Path, const std::vector<std::uint8_t>& Bytes) {
  ReplaceFile(Path, std::string(Bytes.begin(), Bytes.end()));
}

std::vector<std::uint8_t> Bmp(int W, int H, int Bits) {
  TPixelBuffer P(W, H);
  for (int I = 0; I < W * H; ++I) P.Data[static_cast<std::size_t>(I)] = MakePixel(I % 256, (I / W) % 256, 90);
  return EncodeBmp(P.View(), Bits);
}

// The group's pictures, written into Folder; returns the group file's text.
std::string MakeGroup(const std::string& Folder) {
  Put(Folder + "\\baseline.jpg", EncodeJpeg(Pattern(800, 600, 1), 800, 600, 3));
  Put(Folder + "\\progressive.jpg", EncodeJpeg(Pattern(1280, 720, 2), 1280, 720, 3, {.Progressive = true}));
  Put(Folder + "\\true-colour.bmp", Bmp(640, 480, 24));
  Put(Folder + "\\palette.bmp", Bmp(300, 500, 8));
  std::vector<std::uint8_t> Corrupt = EncodeJpeg(Pattern(400, 300, 3), 400, 300, 3);
  for (std::size_t I = Corrupt.size() / 3; I < Corrupt.size() - 2; I += 7) Corrupt[I] = 0xFF;
  Put(Folder + "\\corrupt.jpg", Corrupt);
  std::vector<std::uint8_t> Cut = Bmp(200, 200, 24);
  Cut.resize(Cut.size() / 2);
  Put(Folder + "\\cut.bmp", Cut);
  // A missing file is dropped from the group when it is read; one that
  // vanishes after that is read as missing on its turn.
  Put(Folder + "\\vanishing.bmp", Bmp(64, 64, 24));
  std::string Text;
  for (const char* Name : {"baseline.jpg", "true-colour.bmp", "corrupt.jpg", "progressive.jpg", "palette.bmp",
                           "cut.bmp", "vanishing.bmp", "missing.jpg"})
    Text += Folder + "\\" + Name + "\r\n";
  return Text;
}


void Print(const char* When, int Cycles, const TResourceCounts& C) {
  std::printf("%-6s after %5d cycles: GDI objects %4lu, user objects %3lu, handles %4lu, private bytes %10llu\n", When,
              Cycles, C.GdiObjects, C.UserObjects, C.Handles, static_cast<unsigned long long>(C.PrivateBytes));
}

}  // namespace

int main(int Argc, char** Argv) {
  const int Cycles = Argc > 1 ? std::max(2, std::atoi(Argv[1])) : 10000;
  const int WarmUp = std::min(100, Cycles / 2);
  JoinDesktop("PictarineSoak1024x768", "1024x768");
  char Temp[MAX_PATH];
  GetTempPathA(sizeof Temp, Temp);
  const std::string Install = std::string(Temp) + "pictarine-soak";
  ForceDirectories(Install);
  const std::string Text = MakeGroup(Install);
  // A tick as often as the timer can, and a fade in every cycle.
  UseBenchGroup(Install, "Soak", Text, 1).WriteBool("Fade Between Pictures", true);

  TApplication App;
  App.SetTitle(ProductName);
  TMainFormContext Context;
  Context.FadeMs = 20;  // a few steps of a fade in every cycle
  int Shown = 0;
  Context.Presented = [&Shown](const std::string&, double) { ++Shown; };
  auto* Saver = static_cast<TMainForm*>(App.AddForm(std::make_unique<TMainForm>(App, Context)));
  Saver->Show();
  App.ProcessMessages();

  TResourceCounts Start;
  for (int I = 1; I <= Cycles; ++I) {
    if (I == 8 * 3) DeleteFileA((Install + "\\vanishing.bmp").c_str());
    if (I == 8 * 5) Put(Install + "\\vanishing.bmp", Bmp(64, 64, 24));
    // One cycle: the worker prepares the next picture, the tick presents it
    // and its fade runs to the end.
    while (Shown < I) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
      App.ProcessMessages();
    }
    if (I == WarmUp) {
      Start = CountResources();
      Print("start", I, Start);
    }
  }
  const TResourceCounts End = CountResources();
  Print("end", Cycles, End);
  std::printf("growth: GDI objects %+ld, user objects %+ld, handles %+ld, private bytes %+lld\n",
              static_cast<long>(End.GdiObjects) - static_cast<long>(Start.GdiObjects),
              static_cast<long>(End.UserObjects) - static_cast<long>(Start.UserObjects),
              static_cast<long>(End.Handles) - static_cast<long>(Start.Handles),
              static_cast<long long>(End.PrivateBytes) - static_cast<long long>(Start.PrivateBytes));
  App.DestroyForms();
  DeleteSettings();
  return 0;
}
