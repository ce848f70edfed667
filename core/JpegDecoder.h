#pragma once
// TJpegDecoder: one JPEG picture in memory decoded into 32-bit pixels with
// libjpeg (API 62, libjpeg-turbo extensions for BGRX output). Portable.
//
// Decoding settings: full size (scale 1/1; a DCT scale of M/8 where asked
// for), block smoothing on, colour files straight to B,G,R,0 pixels;
// greyscale files through libjpeg's one-pass quantizer with 236 colours and
// its default dithering, so at most 236 grey levels; CMYK and YCCK files
// converted to RGB (Adobe files store CMYK inverted, which the conversion
// follows).
//
// Errors: library warnings are ignored (a premature end of data is one: the
// rest of the picture is made up by the library and decoding succeeds);
// library errors make the current call fail. The library never ends the
// process and no C++ exception passes through it.
//
// Limits. Checked by ReadHeader: width and height at most 65535, at most
// 512 MiB of 32-bit pixels, and at most 64 pixels for each bit of
// entropy-coded data (comments and other segments do not count, so padding
// cannot buy a file a larger picture). Checked while decoding, which then
// fails: at most 100 scans, and at most 128 MiB for the whole picture's DCT
// coefficients that progressive and other multi-scan files need (refused
// before they are allocated).
//
// Each ReadHeader starts from a new library decompressor: nothing of an
// earlier picture, its tables above all, carries over to the next.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "core/Pixels.h"
#include "core/RowSink.h"

class TJpegDecoder {
 public:
  TJpegDecoder();
  ~TJpegDecoder();
  TJpegDecoder(const TJpegDecoder&) = delete;
  TJpegDecoder& operator=(const TJpegDecoder&) = delete;

  // Reads the header of the JPEG data. The data is not copied: it must stay
  // alive and unchanged until Decode has returned. False if the data is not a
  // JPEG file, its header is broken, or the picture is beyond the limits.
  // May be called again for other data.
  bool ReadHeader(const std::uint8_t* Data, std::size_t Size);

  // Size of the picture whose header was read; 0 before a successful
  // ReadHeader.
  int Width() const { return PictureWidth; }
  int Height() const { return PictureHeight; }

  // Decodes the picture into Dest, which must be Width() x Height(). Pixels
  // are written 0xXXRRGGBB: the high byte is 0xFF for colour files (libjpeg's
  // BGRX output, kept to save a pass; readers ignore it, see Pixels.h) and 0
  // otherwise. False on a library error after the header, and
  // Dest is then all white (0x00FFFFFF); also false, Dest untouched, on a
  // size mismatch or without a header read. One Decode per ReadHeader.
  bool Decode(const TPixelView& Dest);

  // The size of the picture decoded at Eighths / 8 of its size (Eighths 1 to
  // 8; the library's DCT scaling), each side rounded up as the library does.
  void ScaledSize(int Eighths, int& W, int& H) const;
  // Decodes the picture at Eighths / 8 of its size into Sink, a strip of at
  // most 16 rows at a time, top to bottom, in the pixel format of Decode.
  // Rows are written once each, in order (a row handed out but not written
  // in one strip is asked for again in the next). False, with the rows so far
  // left as they are, on a library error after the header or when the sink
  // stops; also false without a header read or with Eighths outside 1 to 8.
  // One decode per ReadHeader. The sink is called between strips, never from
  // inside the library.
  bool Decode(int Eighths, TRowSink& Sink);

  // A check made while the library reads and decodes (often: at least once
  // per strip of rows, and between the scans and rows of a progressive
  // file); when it answers true the decode stops and fails. Must be cheap;
  // an exception it raises counts as false.
  void SetAbandonCheck(std::function<bool()> Check);

  struct TState;  // the library's objects; opaque

 private:
  std::unique_ptr<TState> State;
  int PictureWidth = 0;
  int PictureHeight = 0;
  bool HeaderRead = false;
};

// The bytes of entropy-coded data in a JPEG file: those after each scan
// header up to the next marker other than a restart marker, a stuffed
// 0xFF 0x00 counting as one. 0 for data that does not start as a JPEG file.
std::uint64_t JpegEntropyCodedBytes(const std::uint8_t* Data, std::size_t Size);
