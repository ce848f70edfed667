#include "picture/LoadImageFile.h"

#include <algorithm>

#include "core/Errors.h"
#include "core/ExifOrientation.h"
#include "core/FittedJpeg.h"
#include "core/Orientation.h"
#include "core/PictureKinds.h"
#include "picture/InstalledPictureKinds.h"
#include "picture/Metafile.h"
#include "picture/WicPicture.h"
#include "platform/Files.h"

std::unique_ptr<TBitmap> MessageBitmap() {
  auto Bitmap = std::make_unique<TBitmap>();
  Bitmap->SetSize(200, 50);
  Bitmap->WriteText(10, 10, "You have selected no images!");
  return Bitmap;
}

namespace {

// Buffers beyond this size are not kept for the next picture: a one-off huge
// file must not hold its memory (or, in a 32-bit process, its address space)
// for the rest of the run.
constexpr std::size_t KeptBytes = 64u << 20;

template <typename TBuffer>
void DropIfHuge(TBuffer& Buffer) {
  if (Buffer.capacity() * sizeof(Buffer[0]) > KeptBytes) TBuffer().swap(Buffer);
}

}  // namespace

TImageLoader::TImageLoader() = default;
TImageLoader::~TImageLoader() = default;

void TImageLoader::Open(const std::string& FileName) {
  Kind = TKind::Empty;
  PictureWidth = PictureHeight = 0;
  Orientation = 1;
  HeaderFresh = false;
  Decoder.reset();  // it points into Data
  Metafile.reset();
  if (Wic) Wic->Close();
  DropIfHuge(Data);
  DropIfHuge(BmpPixels);
  DropIfHuge(StoredPixels);
  try {
    if (FileName.empty()) {
      Kind = TKind::Message;
    } else {
      switch (InstalledPictureKinds().ReaderOf(FileName)) {
        case TPictureReader::Bmp: OpenBmp(FileName); break;
        case TPictureReader::Jpeg: OpenJpeg(FileName); break;
        case TPictureReader::Metafile: OpenMetafile(FileName); break;
        case TPictureReader::Wic: OpenWic(FileName); break;
        case TPictureReader::None: break;
      }
    }
  } catch (...) {
    // Any failure, memory included, ends in the message instead of a picture.
    Kind = TKind::Message;
  }
  if (Kind == TKind::Message) {
    if (!Message) Message = MessageBitmap();
    PictureWidth = Message->Width();
    PictureHeight = Message->Height();
  }
}

// A file that is missing, unreadable or not a valid BMP gives the message.
void TImageLoader::OpenBmp(const std::string& FileName) {
  Kind = TKind::Message;
  ReadWholeFile(FileName, Data);
  if (!ReadBmpInfo(Bytes(), Data.size(), BmpInfo)) return;
  if (BmpRowsReadable(Bytes(), Data.size(), BmpInfo)) {
    Kind = TKind::BmpRows;
  } else {
    // RLE data can only be read from its start, in the file's row order.
    BmpPixels.resize(static_cast<std::size_t>(BmpInfo.Width) * BmpInfo.Height);
    const TPixelView Pixels{BmpPixels.data(), BmpInfo.Width, BmpInfo.Height, BmpInfo.Width};
    if (!DecodeBmp(Bytes(), Data.size(), BmpInfo, Pixels)) return;
    Kind = TKind::BmpPixels;
  }
  PictureWidth = BmpInfo.Width;
  PictureHeight = BmpInfo.Height;
}

// Failures end quietly in an empty picture.
void TImageLoader::OpenJpeg(const std::string& FileName) {
  try {
    Decoder = std::make_unique<TJpegDecoder>();
    Decoder->SetAbandonCheck([this] { return CheckAbandon(); });
    ReadWholeFile(FileName, Data);
    if (!Decoder->ReadHeader(Bytes(), Data.size())) return;
  } catch (...) {
    return;
  }
  Kind = TKind::Jpeg;
  HeaderFresh = true;
  Orientation = JpegExifOrientation(Bytes(), Data.size());
  const bool Swapped = SwapsAxes(Orientation);
  PictureWidth = Swapped ? Decoder->Height() : Decoder->Width();
  PictureHeight = Swapped ? Decoder->Width() : Decoder->Height();
}

// Failures end quietly in an empty picture.
void TImageLoader::OpenMetafile(const std::string& FileName) {
  try {
    Metafile = TMetafile::Open(FileName);
  } catch (...) {
    return;
  }
  Kind = TKind::Metafile;
  PictureWidth = Metafile->Width();
  PictureHeight = Metafile->Height();
}

// A file that WIC cannot decode, or beyond its bounds, gives the empty
// picture.
void TImageLoader::OpenWic(const std::string& FileName) {
  if (!Wic) Wic = std::make_unique<TWicPicture>();
  if (!Wic->Open(FileName)) return;
  Kind = TKind::Wic;
  Orientation = Wic->Orientation();
  const bool Swapped = SwapsAxes(Orientation);
  PictureWidth = Swapped ? Wic->Height() : Wic->Width();
  PictureHeight = Swapped ? Wic->Width() : Wic->Height();
}

TPixelView TImageLoader::BmpPixelView() {
  return TPixelView{BmpPixels.data(), BmpInfo.Width, BmpInfo.Height, BmpInfo.Width};
}

void TImageLoader::DrawBmpRows(const TPixelView& Dest) {
  Resampler.Start(BmpInfo.Width, BmpInfo.Height, Dest);
  std::uint32_t* Rows[TStreamResampler::StripRows];
  for (int First = 0; First < BmpInfo.Height;) {
    const int Count = Resampler.NextRows(Rows, TStreamResampler::StripRows);
    if (Count <= 0 || CheckAbandon() || !DecodeBmpRows(Bytes(), Data.size(), BmpInfo, First, Rows, Count)) return;
    Resampler.RowsWritten(Count);
    First += Count;
  }
}

bool TImageLoader::CheckAbandon() {
  if (!DrawAbandoned && AbandonCheck && AbandonCheck()) DrawAbandoned = true;
  return DrawAbandoned;
}

void TImageLoader::Draw(const TPixelView& Dest) {
  DrawAbandoned = false;
  switch (Kind) {
    case TKind::Empty: break;
    case TKind::Message: Resample(Message->Pixels(), Dest); break;
    case TKind::BmpPixels: Resample(BmpPixelView(), Dest); break;
    case TKind::BmpRows: DrawBmpRows(Dest); break;
    case TKind::Metafile: break;  // played by DrawInto
    case TKind::Wic:
      try {
        DrawOriented(Dest, Wic->HasAlpha(),
                     [this](const TPixelView& Stored) { Wic->DrawInto(Stored, [this] { return CheckAbandon(); }); });
      } catch (...) {
        // No room for the rows: nothing is drawn.
      }
      break;
    case TKind::Jpeg:
      // A second drawing of the same picture needs its header read again.
      if (!HeaderFresh && !Decoder->ReadHeader(Bytes(), Data.size())) break;
      HeaderFresh = false;
      try {
        DrawJpeg(Dest);
      } catch (...) {
        // No room for the resampler's rows: nothing is drawn, as for a JPEG
        // picture that cannot be loaded.
      }
      break;
  }
}

// A picture not stored upright is decoded at its drawn size as stored, then
// turned into Dest: the extra memory is one drawn picture, never the file's
// full size.
void TImageLoader::DrawJpeg(const TPixelView& Dest) {
  DrawOriented(Dest, false, [this](const TPixelView& Stored) { DecodeJpegInto(*Decoder, Stored, Resampler); });
}

namespace {

// The orientation that turns a picture back: the turns by a quarter swap,
// the rest are their own inverse.
int InverseOrientation(int Orientation) { return Orientation == 6 ? 8 : Orientation == 8 ? 6 : Orientation; }

}  // namespace

template <typename F>
void TImageLoader::DrawOriented(const TPixelView& Dest, bool Transparent, F&& Decode) {
  if (Orientation == 1) {
    Decode(Dest);
    return;
  }
  const bool Swapped = SwapsAxes(Orientation);
  const int W = Swapped ? Dest.Height : Dest.Width, H = Swapped ? Dest.Width : Dest.Height;
  StoredPixels.resize(static_cast<std::size_t>(W) * H);
  const TPixelView Stored{StoredPixels.data(), W, H, W};
  if (Transparent) OrientPixels(Dest, Stored, InverseOrientation(Orientation));
  Decode(Stored);
  OrientPixels(Stored, Dest, Orientation);
}

void TImageLoader::DrawInto(TBitmap& Target, int X, int Y, int W, int H) {
  if (Kind == TKind::Empty || Target.Empty() || W <= 0 || H <= 0) return;
  DrawAbandoned = false;
  if (Kind == TKind::Metafile) {
    Metafile->Draw(Target, X, Y, W, H);
    return;
  }
  GdiFlush();
  if (X >= 0 && Y >= 0 && X + W <= Target.Width() && Y + H <= Target.Height()) {
    Draw(Target.Pixels().Sub(X, Y, W, H));
    return;
  }
  // Partly outside: drawn in full, then what is visible copied.
  TPixelBuffer Whole(W, H);
  Draw(Whole.View());
  const TPixelView View = Target.Pixels();
  for (int Row = std::max(0, -Y); Row < H && Y + Row < Target.Height(); ++Row)
    for (int Col = std::max(0, -X); Col < W && X + Col < Target.Width(); ++Col)
      View.Row(Y + Row)[X + Col] = Whole.At(Col, Row);
}

std::unique_ptr<TBitmap> TImageLoader::FullSize() {
  if (Kind == TKind::Message) return MessageBitmap();
  auto Bitmap = std::make_unique<TBitmap>();
  try {
    // Every pixel is drawn (a failed JPEG decode draws white); a metafile
    // is played over white.
    Bitmap->SetSize(PictureWidth, PictureHeight, Kind == TKind::Metafile ? TBitmap::White : TBitmap::Overwritten);
    DrawInto(*Bitmap, 0, 0, PictureWidth, PictureHeight);
  } catch (...) {
    // A JPEG picture without room ends as an empty bitmap, a BMP picture as
    // the message.
    if (Kind != TKind::Jpeg) return MessageBitmap();
    Bitmap = std::make_unique<TBitmap>();
  }
  return Bitmap;
}

std::unique_ptr<TBitmap> LoadImageFile(const std::string& FileName) {
  TImageLoader Loader;
  Loader.Open(FileName);
  return Loader.FullSize();
}
