#include "support/TestPictures.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include <jpeglib.h>

#include "platform/BmpCodec.h"

TPixelBuffer SolidPicture(int Width, int Height, std::uint32_t Pixel) { return TPixelBuffer(Width, Height, Pixel); }

void WriteBmpFile(const std::string& Path, TPixelBuffer& Picture, int BitsPerPixel) {
  const std::vector<std::uint8_t> Data = EncodeBmp(Picture.View(), BitsPerPixel);
  std::ofstream(Path, std::ios::binary).write(reinterpret_cast<const char*>(Data.data()),
                                              static_cast<std::streamsize>(Data.size()));
}

void WriteJpegFile(const std::string& Path, TPixelBuffer& Picture, int Quality) {
  jpeg_compress_struct Info;
  jpeg_error_mgr Errors;
  Info.err = jpeg_std_error(&Errors);
  jpeg_create_compress(&Info);
  unsigned char* Buffer = nullptr;
  unsigned long Size = 0;
  jpeg_mem_dest(&Info, &Buffer, &Size);
  Info.image_width = static_cast<JDIMENSION>(Picture.Width);
  Info.image_height = static_cast<JDIMENSION>(Picture.Height);
  Info.input_components = 3;
  Info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&Info);
  jpeg_set_quality(&Info, Quality, TRUE);
  jpeg_start_compress(&Info, TRUE);
  std::vector<unsigned char> Row(static_cast<std::size_t>(Picture.Width) * 3);
  while (Info.next_scanline < Info.image_height) {
    const int Y = static_cast<int>(Info.next_scanline);
    for (int X = 0; X < Picture.Width; ++X) {
      const std::uint32_t P = Picture.At(X, Y);
      Row[X * 3] = static_cast<unsigned char>(PixelR(P));
      Row[X * 3 + 1] = static_cast<unsigned char>(PixelG(P));
      Row[X * 3 + 2] = static_cast<unsigned char>(PixelB(P));
    }
    JSAMPROW Rows[1] = {Row.data()};
    jpeg_write_scanlines(&Info, Rows, 1);
  }
  jpeg_finish_compress(&Info);
  jpeg_destroy_compress(&Info);
  std::ofstream(Path, std::ios::binary).write(reinterpret_cast<const char*>(Buffer), static_cast<std::streamsize>(Size));
  std::free(Buffer);
}

TBmpFileInfo ReadBmpFileInfo(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary);
  const std::vector<unsigned char> Data((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  TBmpFileInfo Info;
  Info.Size = Data.size();
  if (Data.size() < 54 || Data[0] != 'B' || Data[1] != 'M') return Info;
  std::int32_t W, H;
  std::uint16_t Bits;
  std::memcpy(&W, &Data[18], 4);
  std::memcpy(&H, &Data[22], 4);
  std::memcpy(&Bits, &Data[28], 2);
  Info.Width = W;
  Info.Height = H;
  Info.BitsPerPixel = Bits;
  return Info;
}
