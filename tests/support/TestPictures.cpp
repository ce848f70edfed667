#include "support/TestPictures.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "support/JpegEncoder.h"

#include "core/BmpCodec.h"

TPixelBuffer SolidPicture(int Width, int Height, std::uint32_t Pixel) { return TPixelBuffer(Width, Height, Pixel); }

void WriteBmpFile(const std::string& Path, TPixelBuffer& Picture, int BitsPerPixel) {
  const std::vector<std::uint8_t> Data = EncodeBmp(Picture.View(), BitsPerPixel);
  std::ofstream(Path, std::ios::binary).write(reinterpret_cast<const char*>(Data.data()),
                                              static_cast<std::streamsize>(Data.size()));
}

void WriteJpegFile(const std::string& Path, TPixelBuffer& Picture, int Quality) {
  std::vector<std::uint8_t> Rgb;
  Rgb.reserve(Picture.Data.size() * 3);
  for (const std::uint32_t P : Picture.Data) Rgb.insert(Rgb.end(), {static_cast<std::uint8_t>(PixelR(P)),
                                                                    static_cast<std::uint8_t>(PixelG(P)),
                                                                    static_cast<std::uint8_t>(PixelB(P))});
  const std::vector<std::uint8_t> File = EncodeJpeg(Rgb, Picture.Width, Picture.Height, 3, {.Quality = Quality});
  std::ofstream(Path, std::ios::binary).write(reinterpret_cast<const char*>(File.data()), static_cast<std::streamsize>(File.size()));
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
