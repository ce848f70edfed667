// The reader of a JPEG file's frame size: any input gives a size with both
// sides or none, reads only the bytes given (AddressSanitizer sees the
// input's exact end), and a size found in a file's head is the size found in
// the whole file, whatever follows.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/JpegFrameSize.h"
#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const TJpegFrameSize Whole = JpegFrameSize(Data, Size);
  FUZZ_CHECK((Whole.Width == 0) == (Whole.Height == 0));
  for (std::size_t Head = 0; Head < Size; Head += 1 + Size / 16) {
    const TJpegFrameSize Part = JpegFrameSize(Data, Head);
    if (Part.Width != 0) FUZZ_CHECK(Part.Width == Whole.Width && Part.Height == Whole.Height);
  }
  return 0;
}
