#include "core/PictureKinds.h"

std::string ExtensionAsWritten(const std::string& FileName) {
  const std::size_t Dot = FileName.find_last_of(".\\:");
  if (Dot == std::string::npos || FileName[Dot] != '.') return std::string();
  return FileName.substr(Dot + 1);
}

std::string ExtensionOf(const std::string& FileName) {
  std::string Extension = ExtensionAsWritten(FileName);
  for (char& C : Extension)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  return Extension;
}

TPictureFormat PictureFormatOf(const std::string& FileName) {
  const std::string Extension = ExtensionOf(FileName);
  if (Extension == "bmp") return TPictureFormat::Bmp;
  if (Extension == "jpg" || Extension == "jpeg") return TPictureFormat::Jpeg;
  return TPictureFormat::Other;
}

TPreviewKind PreviewKindOf(const std::string& FileName) {
  const std::string Extension = ExtensionOf(FileName);
  if (Extension == "bmp") return TPreviewKind::Bmp;
  if (Extension == "jpg" || Extension == "jpeg") return TPreviewKind::Jpeg;
  if (Extension == "ico") return TPreviewKind::Icon;
  if (Extension == "emf") return TPreviewKind::EnhancedMetafile;
  if (Extension == "wmf") return TPreviewKind::WindowsMetafile;
  return TPreviewKind::Unknown;
}

bool FileInSearchList(const std::string& FileName) {
  const std::string Extension = ExtensionOf(FileName);
  return Extension == "jpg" || Extension == "jpeg" || Extension == "bmp" || Extension == "ico" || Extension == "emf";
}
