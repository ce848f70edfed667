#include "support/JpegEncoder.h"

#include <cstdlib>

std::vector<std::uint8_t> EncodeJpeg(const std::vector<std::uint8_t>& Samples, int W, int H, int Components,
                                     const TJpegOptions& Options) {
  jpeg_compress_struct Info{};
  jpeg_error_mgr Error{};
  Info.err = jpeg_std_error(&Error);
  jpeg_create_compress(&Info);
  unsigned char* Out = nullptr;
  unsigned long OutSize = 0;
  jpeg_mem_dest(&Info, &Out, &OutSize);
  Info.image_width = static_cast<JDIMENSION>(W);
  Info.image_height = static_cast<JDIMENSION>(H);
  Info.input_components = Components;
  Info.in_color_space = Options.InSpace != JCS_UNKNOWN ? Options.InSpace : Components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&Info);
  if (Options.FileSpace != JCS_UNKNOWN) jpeg_set_colorspace(&Info, Options.FileSpace);
  if (Info.in_color_space == JCS_CMYK) Info.write_Adobe_marker = Options.AdobeMarker;
  jpeg_set_quality(&Info, Options.Quality, TRUE);
  if (Options.FullChroma)
    for (int C = 0; C < Info.num_components; ++C) Info.comp_info[C].h_samp_factor = Info.comp_info[C].v_samp_factor = 1;
  if (Options.Progressive) jpeg_simple_progression(&Info);
  Info.restart_interval = static_cast<unsigned>(Options.RestartInterval);
  jpeg_start_compress(&Info, TRUE);
  while (Info.next_scanline < Info.image_height) {
    JSAMPROW Row = const_cast<JSAMPROW>(Samples.data() + static_cast<std::size_t>(Info.next_scanline) * W * Components);
    jpeg_write_scanlines(&Info, &Row, 1);
  }
  jpeg_finish_compress(&Info);
  std::vector<std::uint8_t> File(Out, Out + OutSize);
  jpeg_destroy_compress(&Info);
  std::free(Out);
  return File;
}
