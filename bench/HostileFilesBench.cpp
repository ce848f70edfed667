// The files reported as costing the picture readers the most for their size,
// each read in a child process of its own as the loader reads it for a
// 1920 x 1080 screen: the CPU time it took, the child's peak memory and what
// became of the file. Not a test: the figures are for reading.
//
// - progressive JPEG files of empty scans: 32 KiB claiming 4096 x 4096 and
//   256 KiB claiming 65500 x 2049;
// - 256 KiB of comment padding claiming a 65500 x 2049 progressive picture;
// - 60 bytes of RLE8 claiming 65535 x 2048;
// - a group file of 64 MiB of empty lines.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/BmpCodec.h"
#include "core/FitImage.h"
#include "core/FittedJpeg.h"
#include "core/GroupFile.h"
#include "core/JpegDecoder.h"
#include "core/Resample.h"
#include "support/HostileJpeg.h"

namespace {

constexpr int ScreenW = 1920, ScreenH = 1080;

// "refused at the header", "refused while decoding" or "drawn".
const char* ReadJpeg(const TJpegBytes& File) {
  TJpegDecoder Decoder;
  if (!Decoder.ReadHeader(File.data(), File.size())) return "refused at the header";
  int W = Decoder.Width(), H = Decoder.Height();
  FitImage(ScreenW, ScreenH, true, 1.0, W, H);
  std::vector<std::uint32_t> Frame(static_cast<std::size_t>(ScreenW) * ScreenH);
  TStreamResampler Resampler;
  const TPixelView Dest{Frame.data(), W, H, ScreenW};
  return DecodeJpegInto(Decoder, Dest, Resampler) ? "drawn" : "refused while decoding";
}

const char* ReadBmp(const std::vector<std::uint8_t>& File) {
  TBmpInfo Info;
  if (!ReadBmpInfo(File.data(), File.size(), Info)) return "refused at the header";
  std::vector<std::uint32_t> Pixels(static_cast<std::size_t>(Info.Width) * Info.Height);
  return DecodeBmp(File.data(), File.size(), Info, TPixelView{Pixels.data(), Info.Width, Info.Height, Info.Width})
             ? "decoded"
             : "refused while decoding";
}

const char* ReadGroup(const std::string& Text) {
  std::size_t Kept = 0;
  // As the settings read a group: only entries naming an existing file stay.
  ForEachGroupEntry(Text, [&Kept](const std::string& Entry) { Kept += !Entry.empty(); });
  return Kept == 0 ? "read, no entries kept" : "read";
}

// Runs Work in a child process and prints its CPU time, peak memory and result.
void Measure(const char* Name, std::size_t Bytes, const std::function<const char*()>& Work) {
  int Pipe[2];
  if (pipe(Pipe) != 0) return;
  const pid_t Child = fork();
  if (Child == 0) {
    close(Pipe[0]);
    const char* Result = Work();
    if (write(Pipe[1], Result, std::strlen(Result)) < 0) _exit(1);
    _exit(0);
  }
  close(Pipe[1]);
  char Result[64] = "";
  if (read(Pipe[0], Result, sizeof Result - 1) < 0) Result[0] = 0;
  close(Pipe[0]);
  int Status = 0;
  rusage Usage{};
  wait4(Child, &Status, 0, &Usage);
  const double Cpu = Usage.ru_utime.tv_sec + Usage.ru_stime.tv_sec +
                     (Usage.ru_utime.tv_usec + Usage.ru_stime.tv_usec) / 1e6;
  std::printf("%-44s %9zu bytes  %7.3f s CPU  peak %7.1f MiB  %s\n", Name, Bytes, Cpu, Usage.ru_maxrss / 1024.0,
              Result[0] ? Result : "(no result: the child failed)");
}

std::vector<std::uint8_t> FromHex(const char* Hex) {
  std::vector<std::uint8_t> Bytes;
  for (const char* P = Hex; P[0] && P[1]; P += 2) Bytes.push_back(static_cast<std::uint8_t>(std::stoi(std::string(P, 2), nullptr, 16)));
  return Bytes;
}

}  // namespace

int main() {
  // Every file is made inside its child, so each peak is the child's own.
  Measure("empty scans, 4096 x 4096", 32 * 1024, [] { return ReadJpeg(ManyScansJpeg(4096, 4096, 32 * 1024)); });
  Measure("empty scans, 65500 x 2049", 256 * 1024, [] { return ReadJpeg(ManyScansJpeg(65500, 2049, 256 * 1024)); });
  Measure("comment padding, 65500 x 2049 progressive", 256 * 1024,
          [] { return ReadJpeg(PaddedJpeg(65500, 2049, 256 * 1024)); });
  Measure("RLE8 claiming 65535 x 2048", 60, [] {
    return ReadBmp(FromHex(
        "424d3c000000000000003a00000028000000ffff00000008000001000800010000000000000000000000000000000100000000000000"
        "000000000001"));
  });
  Measure("group file of 64 MiB of empty lines", 64u << 20, [] {
    std::string Group;
    Group.reserve(64u << 20);
    while (Group.size() < (64u << 20)) Group += "\r\n";
    return ReadGroup(Group);
  });
  // The most the limits let through: about 128 MiB of coefficients (a
  // 5400 x 4000 4:4:4 progressive picture, the data of a detailed one) and
  // 100 scans.
  Measure("largest accepted: 5400 x 4000, 100 scans", 0, [] {
    std::vector<std::uint8_t> Noise(1000 * 1000 * 3);
    for (std::size_t I = 0; I < Noise.size(); ++I) Noise[I] = static_cast<std::uint8_t>((I * 2654435761u) >> 13);
    TJpegBytes File = WithScans(EncodeJpeg(Noise, 1000, 1000, 3, {.Progressive = true, .FullChroma = true}), 100);
    SetJpegSize(File, 5400, 4000);
    return ReadJpeg(File);
  });
  Measure("baseline: nothing read", 0, [] { return "-"; });
  return 0;
}
