#pragma once
// Reads what the index keeps of a picture file beyond its listing: its pixel
// size as stored, its Exif orientation and its date taken. Only the head of
// the file is read (where JPEG metadata and every header lie); the file is
// shared for reading, writing and deletion meanwhile.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/ExifDate.h"

struct TReadFacts {
  std::uint32_t Width = 0;   // 0 when the header tells none
  std::uint32_t Height = 0;
  int Orientation = 1;
  std::optional<TExifDate> Taken;
};

// The facts of the file at Path; nothing when it cannot be opened. Buffer
// holds the file's head meanwhile: one buffer serves many calls.
std::optional<TReadFacts> ReadPictureFacts(const std::string& Path, std::vector<std::uint8_t>& Buffer);
