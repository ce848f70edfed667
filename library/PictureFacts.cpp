#include "library/PictureFacts.h"

#include <windows.h>

#include <cstdint>
#include <algorithm>
#include <cstring>
#include <vector>

#include "core/ExifOrientation.h"
#include "core/JpegFrameSize.h"
#include "core/PictureHeaders.h"
#include "platform/KernelHandle.h"
#include "platform/WideText.h"

namespace {

// An Exif segment is at most 64 KB, and cameras put it first: the head of a
// file holds it with room for the segments before it and the frame header
// after it.
constexpr std::size_t HeadBytes = 128 * 1024;

// The head of the file, as a byte source for the header reader.
class THead : public TByteSource {
 public:
  THead(const std::uint8_t* Data, std::size_t Size) : Data(Data), Size(Size) {}
  std::size_t ReadAt(std::uint64_t Offset, void* Buffer, std::size_t Count) override {
    if (Offset >= Size) return 0;
    const std::size_t N = std::min<std::size_t>(Count, Size - static_cast<std::size_t>(Offset));
    std::memcpy(Buffer, Data + Offset, N);
    return N;
  }

 private:
  const std::uint8_t* Data;
  std::size_t Size;
};

std::uint32_t Little32(const std::uint8_t* P) {
  return P[0] | static_cast<std::uint32_t>(P[1]) << 8 | static_cast<std::uint32_t>(P[2]) << 16 |
         static_cast<std::uint32_t>(P[3]) << 24;
}

}  // namespace

std::optional<TReadFacts> ReadPictureFacts(const std::string& Path, std::vector<std::uint8_t>& Head) {
  TKernelHandle File(CreateFileW(WidePath(Path).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!File.Valid()) return std::nullopt;
  Head.resize(HeadBytes);
  DWORD Read = 0;
  if (!ReadFile(File.Get(), Head.data(), static_cast<DWORD>(Head.size()), &Read, nullptr)) return std::nullopt;

  TReadFacts Facts;
  const std::uint8_t* Data = Head.data();
  const std::size_t Size = Read;
  if (Size >= 2 && Data[0] == 0xFF && Data[1] == 0xD8) {
    const TJpegFrameSize Frame = JpegFrameSize(Data, Size);
    Facts.Width = Frame.Width;
    Facts.Height = Frame.Height;
    Facts.Orientation = JpegExifOrientation(Data, Size);
    Facts.Taken = JpegExifDateTaken(Data, Size);
  } else if (Size >= 26 && Data[0] == 'B' && Data[1] == 'M' && Little32(Data + 14) >= 40) {
    // A BMP file's info header: its width, and its height (negative for a
    // top-down picture).
    Facts.Width = Little32(Data + 18);
    const std::int32_t Height = static_cast<std::int32_t>(Little32(Data + 22));
    Facts.Height = Height < 0 ? 0u - static_cast<std::uint32_t>(Height) : static_cast<std::uint32_t>(Height);
  } else {
    THead Source(Data, Size);
    TPictureHeader Header;
    if (ReadPictureHeader(Source, Header) && Header.Kind != TPictureHeaderKind::Other) {
      Facts.Width = Header.Width;
      Facts.Height = Header.Height;
    }
  }
  return Facts;
}
