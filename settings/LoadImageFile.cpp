#include "settings/LoadImageFile.h"

#include "platform/BmpCodec.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/JpegDecoder.h"
#include "settings/PictureFormat.h"

namespace {

const std::uint8_t* Bytes(const std::string& Data) { return reinterpret_cast<const std::uint8_t*>(Data.data()); }

// Raises an error for a file that is missing, unreadable or not a valid BMP.
void LoadBmpFile(TBitmap& Bitmap, const std::string& FileName) {
  const std::string Data = ReadWholeFile(FileName);
  TBmpInfo Info;
  if (!ReadBmpInfo(Bytes(Data), Data.size(), Info)) throw EInOutError("Bitmap image is not valid");
  Bitmap.SetSize(Info.Width, Info.Height);
  if (!DecodeBmp(Bytes(Data), Data.size(), Info, Bitmap.Pixels())) throw EInOutError("Bitmap image is not valid");
}

// Failures end the load quietly and leave the bitmap as far as it got: empty
// when the header cannot be read, white when the picture fails to decode.
void LoadJpegFile(TBitmap& Bitmap, const std::string& FileName) {
  TJpegDecoder Decoder;
  try {
    const std::string Data = ReadWholeFile(FileName);
    if (!Decoder.ReadHeader(Bytes(Data), Data.size())) return;
    // The decoder writes every pixel, or whitens them all when it fails.
    Bitmap.SetSize(Decoder.Width(), Decoder.Height(), TBitmap::Overwritten);
    if (!Decoder.Decode(Bitmap.Pixels())) Bitmap.Fill(clWhite);
  } catch (...) {
  }
}

}  // namespace

std::unique_ptr<TBitmap> MessageBitmap() {
  auto Bitmap = std::make_unique<TBitmap>();
  Bitmap->SetSize(200, 50);
  Bitmap->WriteText(10, 10, "You have selected no images!");
  return Bitmap;
}

std::unique_ptr<TBitmap> LoadImageFile(const std::string& FileName) {
  if (FileName.empty()) return MessageBitmap();
  try {
    auto Bitmap = std::make_unique<TBitmap>();
    switch (PictureFormatOf(FileName)) {
      case TPictureFormat::Bmp: LoadBmpFile(*Bitmap, FileName); break;
      case TPictureFormat::Jpeg: LoadJpegFile(*Bitmap, FileName); break;
      case TPictureFormat::Other: break;
    }
    return Bitmap;
  } catch (...) {
    // Any failure, memory included, ends in the message instead of a picture.
  }
  return MessageBitmap();
}
