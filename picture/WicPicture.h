#pragma once
// Pictures that the Windows Imaging Component decodes: PNG, GIF, TIFF, icons,
// BMP and JPEG wherever WIC is (Windows XP SP3 on, and Wine), and WebP,
// HEIC, HEIF, AVIF and JPEG XR where Windows has their codecs.
//
// Bounds: a frame is refused when a side is above MaxFrameSide or its pixels
// at their stored depth (at least 32 bits each) take more than
// MaxFrameBytes, 128 MiB: 33.5 megapixels at up to 32 bits a pixel, half as
// many at 64. Checked before any pixel is decoded: for PNG, GIF and icon
// files on their own headers before WIC is given the file, because Wine's
// decoders decode a whole PNG picture (and every GIF frame) as soon as they
// get the file; for other files on the size and format WIC reports.
//
// Why that bound: under Wine 8 a file's cost follows the bytes of its stored
// pixels (a plain WIC decode of five 24-megapixel photo-like PNG files and of
// 8000 x 8000 zeros cost 4.3 to 6.1 ns a stored byte), and its drawing here
// adds a few ns a pixel. Open + DrawInto into 1920 x 1080, CPU seconds,
// 64-bit / 32-bit Wine, of the costliest files the bound accepts:
// 16.7-megapixel 16-bit RGBA PNG 1.00 / 1.06; 33.5-megapixel photo-like RGBA
// PNG 0.82 / 0.92, RGB GIF 0.58 / 0.86, JPEG 0.58 / 0.64, LZW TIFF
// 0.42 / 0.54, BMP 0.19 / 0.18; 33.5 megapixels of RGBA zeros 0.60 / 0.74
// (Wine holds 134 MB of it). Refused, for their cost: a 24-megapixel 16-bit
// RGBA PNG (1.1 s and 192 MB in WIC alone) and 11000 x 11000 RGB zeros in
// 350 KB (1.6 s and 367 MB in WIC alone; refused here at once). A GIF
// file's decoder is given the file only up to the end of its first image:
// Wine's reads every frame when it opens the file (10,000 frames of 32 x 32
// cost 2.5 s, of 64 x 64 10 s).
//
// Faults: every call into a decoder runs guarded (CallGuarded), so that a
// decoder that faults ends that call, not the program, and is never called
// again (what it held is let go). Wine's TIFF metadata reader faults on
// files of 5,000 pages or more: such a file is decoded again by a fresh
// decoder without its metadata (orientation 1). A fault while drawing fails
// the draw and closes the picture.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/AlphaResample.h"
#include "core/PictureHeaders.h"
#include "core/Pixels.h"
#include "core/Resample.h"
#include "platform/Com.h"
#include "platform/Wic.h"

// One picture file at a time, decoded for drawing at the size it is shown
// at. Use it on the thread that made it: it initialises COM there for its
// lifetime. Its buffers (the resamplers' rows, a block of source rows) are
// kept from one picture to the next.
class TWicPicture {
 public:
  TWicPicture();
  ~TWicPicture();
  TWicPicture(const TWicPicture&) = delete;
  TWicPicture& operator=(const TWicPicture&) = delete;

  // Opens the first frame of FileName (the first page of a TIFF file, the
  // first frame of a GIF file, the largest image of an icon) far enough to
  // know its size, its format and its orientation. False when WIC cannot
  // decode it, or when the frame is beyond the bounds above. The file stays
  // open, for reading, until the next Open or the end of the object.
  bool Open(const std::string& FileName);
  // The size of the frame as stored (before any orientation); 0 x 0 when no
  // picture is open.
  int Width() const { return FrameWidth; }
  int Height() const { return FrameHeight; }
  // 1 to 8, the frame's EXIF orientation where its metadata carries one
  // (JPEG "/app1/ifd/{ushort=274}", TIFF "/ifd/{ushort=274}", HEIF's own
  // "/heifProps/Orientation", and the "System.Photo.Orientation" that
  // Windows maps onto other formats' metadata, WebP's included), else 1.
  // Drawing does not apply it.
  int Orientation() const { return FrameOrientation; }
  // Whether the frame's format can carry transparency (an alpha channel, or
  // a palette with a transparent entry).
  bool HasAlpha() const { return FrameHasAlpha; }

  // Draws the whole frame into all of Dest (any size), area-averaged by
  // TStreamResampler from strips of rows that WIC copies out of it. Where the
  // picture has alpha, it is put over what Dest holds (the caller fills Dest
  // with the background first); an opaque picture overwrites Dest, with the
  // same pixels TStreamResampler gives. Where the decoder can decode at a
  // reduced size (IWICBitmapSourceTransform: Windows' JPEG decoder), it is
  // asked for the smallest size that still covers Dest (ReducedDecodeSize),
  // so no full-size picture is held here. Abandon is asked before each strip
  // of rows; when it answers true the draw stops. False when the draw
  // stopped or the decoder failed: Dest is then left part drawn (the rows
  // already drawn for an opaque picture, as it was for one with alpha).
  bool DrawInto(const TPixelView& Dest, const std::function<bool()>& Abandon = {});

  // Lets go of the file and of its decoder, with what the decoder holds
  // (Wine's holds the whole picture of a PNG file), until the next Open.
  void Close();

  // The file extensions (".png": lower case, with the dot) of every WIC
  // decoder installed, as the decoders name them, each once.
  static std::vector<std::string> DecoderExtensions();

 private:
  bool OpenFile(const std::string& FileName, bool WithMetadata);
  // Lets go of what a draw made (see Close).
  void EndDraw();
  bool Draw(const TPixelView& Dest, const std::function<bool()>& Abandon);
  bool FormatHasAlpha(const WICPixelFormatGUID& Format);
  int FormatBitsPerPixel(const WICPixelFormatGUID& Format);
  void ReadMetadata(const GUID& Container);
  // Runs Call, a call into the decoder returning an HRESULT, guarded: true
  // when it returned success. A fault inside it sets Faulted.
  template <typename F>
  bool Succeeded(F&& Call);
  // Lets go of an object after a fault: released in a guarded call, or
  // forgotten if even that faults.
  template <typename T>
  static void LetGo(TComPtr<T>& Object);

  TComScope Com;  // first, so that it ends after every interface below
  TComPtr<IWICImagingFactory> Factory;
  TComPtr<IWICStream> File;
  TComPtr<IWICStream> FirstImage;  // a GIF file up to the end of its first image
  TComPtr<IWICBitmapDecoder> Decoder;
  TComPtr<IWICBitmapFrameDecode> Frame;
  // What a draw makes: the frame's reduced-size source, and the conversion
  // to 32 bits that rows are copied out of.
  TComPtr<IWICBitmapSourceTransform> Transform;
  TComPtr<IWICBitmapSource> Source;
  TComPtr<IWICFormatConverter> Converter;
  int FrameWidth = 0;
  int FrameHeight = 0;
  int FrameOrientation = 1;
  bool FrameHasAlpha = false;
  // Source rows copied out of WIC at once: more than a strip where the file
  // is tiled, so that a decoder that keeps one tile decodes each tile once.
  int BlockRows = TStreamResampler::StripRows;
  bool Faulted = false;
  bool MetadataFaulted = false;
  std::vector<std::uint32_t> Block;
  TStreamResampler Resampler;
  TAlphaStreamResampler AlphaResampler;
};

// The size at which to decode a FrameW x FrameH frame for drawing it at
// DestW x DestH when its decoder can scale while it decodes. Closest answers
// the size the decoder decodes at when asked for a size
// (IWICBitmapSourceTransform::GetClosestSize), false when it cannot tell. It
// is asked for DestW x DestH and for 1/2, 1/4 and 1/8 of the frame; the
// smallest answer that is still smaller than the frame and covers Dest,
// exactly or by at least 5/4 on both sides, is chosen, else the frame's own
// size. The margin is the JPEG path's (JpegScaleFor): a reduced decode is no
// area mean, and resampling it by a factor near 1 would pass its fine detail
// through where the area mean of the full size smooths it.
struct TDecodeSize {
  unsigned Width = 0;
  unsigned Height = 0;
};
TDecodeSize ReducedDecodeSize(unsigned FrameW, unsigned FrameH, int DestW, int DestH,
                              const std::function<bool(unsigned& Width, unsigned& Height)>& Closest);

// The frame as its decoder decodes it at Width x Height (a size that
// GetClosestSize answered), in the decoder's closest format to Wanted, as a
// bitmap source for a format converter to read; Frame gives its resolution
// and palette. Null when the decoder names no such format.
TComPtr<IWICBitmapSource> ScaledFrameSource(IWICBitmapSourceTransform* Transform, IWICBitmapSource* Frame,
                                            unsigned Width, unsigned Height, const WICPixelFormatGUID& Wanted);
