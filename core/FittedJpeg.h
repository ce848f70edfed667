#pragma once
// A JPEG picture decoded straight to the size it is drawn at, with no
// full-size copy of the picture. Portable.
#include "core/JpegDecoder.h"
#include "core/Pixels.h"
#include "core/Resample.h"

// The scale, in eighths, at which to decode the picture whose header Decoder
// has read for drawing it at W x H: the smallest of 1/8, 1/4 and 1/2 whose
// size is exactly W x H or at least 5/4 of it on both sides, else 8 (full
// size). Only those three: the library has fast inverse transforms for them,
// while 3/8, 5/8, 3/4 and 7/8 decode slower than the full size. The margin
// keeps the result close to the full-size path: a reduced DCT is not an area
// mean, and resampling it by a factor near 1 passes its fine detail through
// where the area mean of the full size would smooth it.
int JpegScaleFor(const TJpegDecoder& Decoder, int W, int H);

// Decodes the picture whose header Decoder has just read into all of Dest.
// The decoder is asked for the scale JpegScaleFor chooses, and its rows are
// streamed through Resampler into Dest; at exactly Dest's size they are
// decoded into Dest itself. The
// result is Resample of the full-size decode when that scale is the full size
// (bit for bit, apart from the ignored high byte), and close to it otherwise.
// On a decoding failure Dest is all white, as the full-size picture would be,
// and the result is false. Dest must not be empty. May raise std::bad_alloc
// before anything is written.
bool DecodeJpegInto(TJpegDecoder& Decoder, const TPixelView& Dest, TStreamResampler& Resampler);
