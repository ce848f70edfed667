#include "core/JpegDecoder.h"

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <functional>

#include <jpeglib.h>

// libjpeg reports errors through error_exit, which must not return: it jumps
// back with longjmp to the guarded call that started the work. The frames
// between the setjmp and the longjmp hold no object with a destructor (only
// libjpeg's C frames and ReadAllRows), so nothing is skipped; after a jump
// jpeg_abort_decompress releases what libjpeg allocated for the picture.

namespace {

constexpr int MaxSide = 65535;
constexpr std::uint64_t MaxPixelBytes = 512ull * 1024 * 1024;
constexpr std::uint64_t MaxPixelsPerBit = 64;
// Encoders in common use write at most about 20 scans; a file of hundreds or
// thousands of (empty) scans only makes the decoder pass over the whole
// picture's coefficients again for each.
constexpr int MaxScans = 100;
// Progressive and other multi-scan files keep the whole picture's DCT
// coefficients (128 bytes per 8 x 8 block of each component); the library
// refuses a file that would need more than this for them, before it
// allocates them. 4:2:0 colour pictures up to about 44 megapixels fit.
constexpr long MaxCoefficientBytes = 128L * 1024 * 1024;
constexpr int GreyLevels = 236;
constexpr int RowsPerRead = 16;
constexpr std::uint32_t White = 0x00FFFFFF;

struct TErrorManager {
  jpeg_error_mgr Public;  // first member: libjpeg sees a jpeg_error_mgr*
  std::jmp_buf Jump;
};

[[noreturn]] void ErrorExit(j_common_ptr Info) {
  std::longjmp(reinterpret_cast<TErrorManager*>(Info->err)->Jump, 1);
}

bool Abandoned(const std::function<bool()>* Check);

// Called by the library while it reads and decodes: ends the work, as an
// error does, past the scan limit or when the abandon check says so.
struct TProgressMonitor {
  jpeg_progress_mgr Public;  // first member: libjpeg sees a jpeg_progress_mgr*
  const std::function<bool()>* Abandon = nullptr;
};

void MonitorProgress(j_common_ptr Info) {
  const auto* Monitor = reinterpret_cast<TProgressMonitor*>(Info->progress);
  const auto* Decompress = reinterpret_cast<j_decompress_ptr>(Info);
  if (Decompress->input_scan_number > MaxScans || Abandoned(Monitor->Abandon)) ErrorExit(Info);
}

bool Abandoned(const std::function<bool()>* Check) {
  try {
    return Check && *Check && (*Check)();
  } catch (...) {
    return false;
  }
}

void IgnoreMessage(j_common_ptr, int) {}
void IgnoreOutput(j_common_ptr) {}

// Rounded A * B / 255 for A, B in 0..255.
inline int MulDiv255(int A, int B) {
  const int T = A * B + 128;
  return (T + (T >> 8)) >> 8;
}

// The row holds Width palette indices in its first Width bytes; expands them
// in place to grey pixels. Right to left, so each index byte is read before
// the pixel that covers it is written.
void ExpandGreyIndices(std::uint32_t* Row, int Width, const JSAMPLE* Levels) {
  const auto* Indices = reinterpret_cast<const std::uint8_t*>(Row);
  for (int X = Width - 1; X >= 0; --X) {
    const int G = Levels[Indices[X]];
    Row[X] = MakePixel(G, G, G);
  }
}

// The row holds C, M, Y, K bytes per pixel; converts them in place. Adobe
// files store the inks inverted (255 = no ink).
void ConvertCmykRow(std::uint32_t* Row, int Width, bool Inverted) {
  auto* Bytes = reinterpret_cast<std::uint8_t*>(Row);
  for (int X = 0; X < Width; ++X) {
    const std::uint8_t* P = Bytes + 4 * X;
    int C = P[0], M = P[1], Y = P[2], K = P[3];
    if (!Inverted) {
      C = 255 - C;
      M = 255 - M;
      Y = 255 - Y;
      K = 255 - K;
    }
    Row[X] = MakePixel(MulDiv255(C, K), MulDiv255(M, K), MulDiv255(Y, K));
  }
}

void FillWhite(const TPixelView& Dest) {
  for (int Y = 0; Y < Dest.Height; ++Y) {
    std::uint32_t* Row = Dest.Row(Y);
    for (int X = 0; X < Dest.Width; ++X) Row[X] = White;
  }
}

}  // namespace

struct TJpegDecoder::TState {
  jpeg_decompress_struct Info{};
  TErrorManager Error{};
  TProgressMonitor Progress{};
  std::function<bool()> Abandon;
  bool Created = false;
};

namespace {

// Creates the library's decompressor with this program's error handling,
// scan limit and coefficient memory limit. False when the library fails.
bool CreateGuarded(TJpegDecoder::TState& State);

// Destroys the decompressor and creates it anew, so that nothing of an
// earlier picture (tables above all) carries over to the next one, then
// reads the header. False on a library error.
bool ReadHeaderGuarded(TJpegDecoder::TState& State, const std::uint8_t* Data, std::size_t Size) {
  jpeg_decompress_struct& Info = State.Info;
  if (setjmp(State.Error.Jump)) {
    jpeg_abort_decompress(&Info);
    return false;
  }
  jpeg_destroy_decompress(&Info);
  State.Created = false;
  jpeg_create_decompress(&Info);
  State.Created = true;
  Info.progress = &State.Progress.Public;
  Info.mem->max_memory_to_use = MaxCoefficientBytes;
  jpeg_mem_src(&Info, Data, static_cast<unsigned long>(Size));
  jpeg_read_header(&Info, TRUE);
  return true;
}

bool WithinLimits(const jpeg_decompress_struct& Info, const std::uint8_t* Data, std::size_t Size) {
  const std::uint64_t W = Info.image_width, H = Info.image_height;
  return W > 0 && H > 0 && W <= MaxSide && H <= MaxSide && W * H * 4 <= MaxPixelBytes &&
         W * H <= JpegEntropyCodedBytes(Data, Size) * 8 * MaxPixelsPerBit;
}

enum class TOutput { Colour, Grey, Cmyk };

// Reads every scanline into the rows the sink hands out, a strip at a time;
// rows of grey and CMYK files are then converted in place while they are in
// the cache. False when the sink stops early. Runs inside DecodeGuarded's
// setjmp region: no objects with destructors.
bool ReadAllRows(jpeg_decompress_struct& Info, TRowSink& Sink, TOutput Output) {
  std::uint32_t* Rows[RowsPerRead];
  const int Width = static_cast<int>(Info.output_width);
  while (Info.output_scanline < Info.output_height) {
    const int Left = static_cast<int>(Info.output_height - Info.output_scanline);
    const int Wanted = Sink.NextRows(Rows, std::min(RowsPerRead, Left));
    if (Wanted <= 0) return false;
    const int Got =
        static_cast<int>(jpeg_read_scanlines(&Info, reinterpret_cast<JSAMPARRAY>(Rows), static_cast<JDIMENSION>(Wanted)));
    if (Output == TOutput::Grey)
      for (int I = 0; I < Got; ++I) ExpandGreyIndices(Rows[I], Width, Info.colormap[0]);
    else if (Output == TOutput::Cmyk)
      for (int I = 0; I < Got; ++I) ConvertCmykRow(Rows[I], Width, Info.saw_Adobe_marker);
    Sink.RowsWritten(Got);
  }
  return true;
}

bool DecodeGuarded(jpeg_decompress_struct& Info, TErrorManager& Error, int Eighths, int Width, int Height,
                   TRowSink& Sink) {
  if (setjmp(Error.Jump)) {
    jpeg_abort_decompress(&Info);
    return false;
  }
  TOutput Output = TOutput::Colour;
  Info.out_color_space = JCS_EXT_BGRX;
  if (Info.jpeg_color_space == JCS_GRAYSCALE) {
    Output = TOutput::Grey;
    Info.out_color_space = JCS_GRAYSCALE;
    Info.quantize_colors = TRUE;
    Info.desired_number_of_colors = GreyLevels;
    Info.two_pass_quantize = FALSE;
  } else if (Info.jpeg_color_space == JCS_CMYK || Info.jpeg_color_space == JCS_YCCK) {
    Output = TOutput::Cmyk;
    Info.out_color_space = JCS_CMYK;
  }
  Info.scale_num = static_cast<unsigned>(Eighths);
  Info.scale_denom = 8;
  Info.do_block_smoothing = TRUE;
  jpeg_start_decompress(&Info);
  const bool Fits = static_cast<int>(Info.output_width) == Width && static_cast<int>(Info.output_height) == Height &&
                    (Output != TOutput::Grey || Info.out_color_components == 1);
  const bool Complete = Fits && ReadAllRows(Info, Sink, Output);
  // Trailing markers are of no interest once every row is out.
  jpeg_abort_decompress(&Info);
  return Complete;
}

}  // namespace

namespace {

bool CreateGuarded(TJpegDecoder::TState& State) {
  jpeg_decompress_struct& Info = State.Info;
  Info.err = jpeg_std_error(&State.Error.Public);
  State.Error.Public.error_exit = ErrorExit;
  State.Error.Public.emit_message = IgnoreMessage;
  State.Error.Public.output_message = IgnoreOutput;
  State.Progress.Public.progress_monitor = MonitorProgress;
  State.Progress.Abandon = &State.Abandon;
  if (setjmp(State.Error.Jump)) return false;
  jpeg_create_decompress(&Info);
  Info.progress = &State.Progress.Public;
  Info.mem->max_memory_to_use = MaxCoefficientBytes;
  return true;
}

}  // namespace

std::uint64_t JpegEntropyCodedBytes(const std::uint8_t* Data, std::size_t Size) {
  if (Data == nullptr || Size < 2 || Data[0] != 0xFF || Data[1] != 0xD8) return 0;
  std::uint64_t Entropy = 0;
  std::size_t P = 2;
  while (P + 1 < Size) {
    if (Data[P] != 0xFF || Data[P + 1] == 0xFF) {  // stray bytes and fill before a marker
      ++P;
      continue;
    }
    const std::uint8_t Marker = Data[P + 1];
    P += 2;
    if (Marker == 0xD9) break;  // end of image
    if (Marker == 0x01 || Marker == 0xD8 || (Marker >= 0xD0 && Marker <= 0xD7)) continue;  // no length
    if (P + 2 > Size) break;
    const std::size_t Length = static_cast<std::size_t>(Data[P]) << 8 | Data[P + 1];
    if (Length < 2) break;
    P += Length;
    if (Marker != 0xDA) continue;
    // Entropy-coded data after a scan header runs to the next marker other
    // than a restart marker; a stuffed 0xFF 0x00 is one byte of data.
    while (P < Size) {
      if (Data[P] == 0xFF && P + 1 < Size) {
        const std::uint8_t Next = Data[P + 1];
        if (Next == 0x00) {
          ++Entropy;
          P += 2;
          continue;
        }
        if (Next >= 0xD0 && Next <= 0xD7) {
          P += 2;
          continue;
        }
        break;
      }
      ++Entropy;
      ++P;
    }
  }
  return Entropy;
}

TJpegDecoder::TJpegDecoder() : State(std::make_unique<TState>()) { State->Created = CreateGuarded(*State); }

void TJpegDecoder::SetAbandonCheck(std::function<bool()> Check) { State->Abandon = std::move(Check); }

TJpegDecoder::~TJpegDecoder() {
  if (State->Created) jpeg_destroy_decompress(&State->Info);
}

bool TJpegDecoder::ReadHeader(const std::uint8_t* Data, std::size_t Size) {
  HeaderRead = false;
  PictureWidth = PictureHeight = 0;
  if (!State->Created || Data == nullptr || Size == 0 || Size > ULONG_MAX) return false;
  if (!ReadHeaderGuarded(*State, Data, Size)) return false;
  if (!WithinLimits(State->Info, Data, Size)) {
    jpeg_abort_decompress(&State->Info);
    return false;
  }
  PictureWidth = static_cast<int>(State->Info.image_width);
  PictureHeight = static_cast<int>(State->Info.image_height);
  HeaderRead = true;
  return true;
}

void TJpegDecoder::ScaledSize(int Eighths, int& W, int& H) const {
  // The library's output size at Eighths / 8: each side rounded up.
  W = static_cast<int>((static_cast<std::int64_t>(PictureWidth) * Eighths + 7) / 8);
  H = static_cast<int>((static_cast<std::int64_t>(PictureHeight) * Eighths + 7) / 8);
}

bool TJpegDecoder::Decode(int Eighths, TRowSink& Sink) {
  if (!HeaderRead || Eighths < 1 || Eighths > 8) return false;
  HeaderRead = false;
  int W = 0, H = 0;
  ScaledSize(Eighths, W, H);
  return DecodeGuarded(State->Info, State->Error, Eighths, W, H, Sink);
}

bool TJpegDecoder::Decode(const TPixelView& Dest) {
  if (!HeaderRead || Dest.Width != PictureWidth || Dest.Height != PictureHeight) return false;
  TViewRows Rows(Dest);
  if (Decode(8, Rows)) return true;
  FillWhite(Dest);
  return false;
}
