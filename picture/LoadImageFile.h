#pragma once
// Turns picture files into pictures to draw. Never fails for a bad file:
// every caller gets a picture (perhaps the message bitmap, perhaps an empty
// one) to draw.
//
// What a file gives: a file of a kind in the table of picture kinds (chosen
// by extension) its picture. An empty name or a BMP file that cannot be
// loaded gives the message bitmap; a file of any other kind that cannot be
// read, or a file of no kind, an empty picture; a JPEG file whose picture
// fails to decode, a white picture of its size. A metafile is played at the
// size it is drawn, over what the target holds.
//
// A JPEG file's Exif orientation is always honoured, as every picture viewer
// does: its picture is turned or mirrored upright, and its size is the
// upright size. A file without the tag, or with a damaged Exif block, is
// shown as stored.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/BmpCodec.h"
#include "core/JpegDecoder.h"
#include "core/Resample.h"
#include "platform/Bitmap.h"

// The one loader: reads a picture file for drawing at the size it is shown
// at, with no full-size copy of a JPEG picture (it is decoded at a reduced
// DCT scale where that still covers the drawn size, and its rows stream
// through a resampler into the destination) nor of an uncompressed BMP
// picture (its rows are decoded from the file a strip at a time). Its
// buffers (the file's content, the resampler's rows, the pixels of an RLE
// BMP) are kept from one picture to the next and reused when large enough,
// so that a slide show touches no fresh memory for each picture; a buffer
// above 64 MiB is let go when the next picture is opened.
class TMetafile;
class TWicPicture;

class TImageLoader {
 public:
  TImageLoader();
  ~TImageLoader();
  TImageLoader(const TImageLoader&) = delete;
  TImageLoader& operator=(const TImageLoader&) = delete;

  // Reads the picture of FileName as far as its size: a JPEG file's header,
  // a BMP file's headers (an RLE file is decoded whole). Never raises for a
  // bad file; may raise when the message bitmap itself cannot be made.
  void Open(const std::string& FileName);
  // The size of the picture at its full size; 0 x 0 for an empty picture.
  int Width() const { return PictureWidth; }
  int Height() const { return PictureHeight; }
  // Whether the file gave its own picture (not the message bitmap nor an
  // empty picture).
  bool HasPicture() const { return Kind != TKind::Empty && Kind != TKind::Message; }

  // Draws the whole picture, resampled with Resample's area averaging, into
  // the rectangle X, Y, W x H of Target, clipped to it: the same pixels as
  // StretchFrom of the full-size picture, except where a JPEG file is decoded
  // at a reduced scale (close to them). An empty picture draws nothing.
  void DrawInto(TBitmap& Target, int X, int Y, int W, int H);
  // The picture at its full size as a new bitmap.
  std::unique_ptr<TBitmap> FullSize();

  // A check made often while a picture is decoded (between strips of rows,
  // and between the scans of a progressive file); when it answers true the
  // drawing stops (the area is left part drawn, or white for a JPEG picture
  // as after a failed decode) and Abandoned() tells so until the next draw.
  // Lets a window that waits on a long decode answer its user.
  void SetAbandonCheck(std::function<bool()> Check) { AbandonCheck = std::move(Check); }
  bool Abandoned() const { return DrawAbandoned; }

 private:
  enum class TKind { Empty, Message, Jpeg, BmpRows, BmpPixels, Metafile, Wic };
  void OpenBmp(const std::string& FileName);
  void OpenJpeg(const std::string& FileName);
  void OpenMetafile(const std::string& FileName);
  void OpenWic(const std::string& FileName);
  // Draws the picture upright into Dest: Decode draws it as stored into the
  // view it is given (Dest itself, or StoredPixels, turned back). For a
  // Transparent picture that view first holds what Dest holds, so that its
  // transparent parts keep it.
  template <typename F>
  void DrawOriented(const TPixelView& Dest, bool Transparent, F&& Decode);
  // Draws into all of Dest, every pixel (unless the picture is empty).
  void Draw(const TPixelView& Dest);
  void DrawBmpRows(const TPixelView& Dest);
  void DrawJpeg(const TPixelView& Dest);
  TPixelView BmpPixelView();
  const std::uint8_t* Bytes() const { return reinterpret_cast<const std::uint8_t*>(Data.data()); }

  TKind Kind = TKind::Empty;
  int PictureWidth = 0;  // upright
  int PictureHeight = 0;
  int Orientation = 1;   // 1 to 8, as the file's Exif metadata says
  bool HeaderFresh = false;  // the decoder's header read is not used up yet
  std::string Data;
  TBmpInfo BmpInfo;
  std::vector<std::uint32_t> BmpPixels;
  // A picture that is not stored upright, at its drawn size as stored.
  std::vector<std::uint32_t> StoredPixels;
  // A fresh decoder for each file: libjpeg keeps the tables of the last
  // picture across a reuse, which a file without its own would pick up.
  std::unique_ptr<TJpegDecoder> Decoder;
  TStreamResampler Resampler;
  std::unique_ptr<TBitmap> Message;
  std::unique_ptr<TMetafile> Metafile;
  // Made for the first picture that WIC reads, kept for the next ones.
  std::unique_ptr<TWicPicture> Wic;
  std::function<bool()> AbandonCheck;
  bool DrawAbandoned = false;
  // AbandonCheck, noting a true answer in DrawAbandoned.
  bool CheckAbandon();
};

// The picture of FileName at its full size, in a new bitmap that the caller
// owns.
std::unique_ptr<TBitmap> LoadImageFile(const std::string& FileName);

// 200 x 50, white, "You have selected no images!" at 10, 10.
std::unique_ptr<TBitmap> MessageBitmap();
