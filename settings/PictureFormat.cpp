#include "settings/PictureFormat.h"

TPictureFormat PictureFormatOf(const std::string& FileName) {
  const std::size_t Dot = FileName.find_last_of(".\\:");
  if (Dot == std::string::npos || FileName[Dot] != '.') return TPictureFormat::Other;
  std::string Extension = FileName.substr(Dot);
  for (char& C : Extension)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  if (Extension == ".bmp") return TPictureFormat::Bmp;
  if (Extension == ".jpg" || Extension == ".jpeg") return TPictureFormat::Jpeg;
  return TPictureFormat::Other;
}
