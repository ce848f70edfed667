#include "core/PictureKinds.h"

#include <algorithm>

std::string ExtensionAsWritten(const std::string& FileName) {
  const std::size_t Dot = FileName.find_last_of(".\\:");
  if (Dot == std::string::npos || FileName[Dot] != '.') return std::string();
  return FileName.substr(Dot + 1);
}

namespace {

std::string LowerCase(std::string Text) {
  for (char& C : Text)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  return Text;
}

// "*.png;*.apng" for a list of extensions.
std::string Patterns(const std::vector<std::string>& Extensions) {
  std::string Result;
  for (const std::string& Extension : Extensions) Result += (Result.empty() ? "*." : ";*.") + Extension;
  return Result;
}

}  // namespace

std::string ExtensionOf(const std::string& FileName) { return LowerCase(ExtensionAsWritten(FileName)); }

TPictureKinds::TPictureKinds(const std::vector<std::string>& DecoderExtensions)
    : Table{
          {"Bitmaps", {"bmp"}, TPictureReader::Bmp, true, "Bitmap image is not valid"},
          {"JPEG pictures", {"jpg", "jpeg"}, TPictureReader::Jpeg, true, "JPEG image is not valid"},
          {"PNG pictures", {"png"}, TPictureReader::Wic, true, "PNG image is not valid"},
          {"GIF pictures", {"gif"}, TPictureReader::Wic, true, "GIF image is not valid"},
          {"TIFF pictures", {"tif", "tiff"}, TPictureReader::Wic, true, "TIFF image is not valid"},
          {"Icons", {"ico"}, TPictureReader::Wic, true, "Icon image is not valid"},
          {"Metafiles", {"emf", "wmf"}, TPictureReader::Metafile, true, "Metafile is not valid"},
      } {
  TPictureKind Others{"Other pictures", {}, TPictureReader::Wic, true, "Image is not valid"};
  for (const std::string& Given : DecoderExtensions) {
    const std::string Extension = LowerCase(Given.empty() || Given[0] != '.' ? Given : Given.substr(1));
    // Nothing that could break a pattern or a file name.
    if (Extension.empty() || Extension.find_first_of(".;*?\\/:| \t") != std::string::npos) continue;
    if (KindOf("x." + Extension) ||
        std::find(Others.Extensions.begin(), Others.Extensions.end(), Extension) != Others.Extensions.end())
      continue;
    Others.Extensions.push_back(Extension);
  }
  if (!Others.Extensions.empty()) Table.push_back(std::move(Others));
}

const TPictureKind* TPictureKinds::KindOf(const std::string& FileName) const {
  const std::string Extension = ExtensionOf(FileName);
  if (Extension.empty()) return nullptr;
  for (const TPictureKind& Kind : Table)
    if (std::find(Kind.Extensions.begin(), Kind.Extensions.end(), Extension) != Kind.Extensions.end()) return &Kind;
  return nullptr;
}

TPictureReader TPictureKinds::ReaderOf(const std::string& FileName) const {
  const TPictureKind* Kind = KindOf(FileName);
  return Kind ? Kind->Reader : TPictureReader::None;
}

bool TPictureKinds::ListedByLoad(const std::string& FileName) const {
  const TPictureKind* Kind = KindOf(FileName);
  return Kind && Kind->ListedByLoad;
}

std::string TPictureKinds::DialogFilter() const {
  std::vector<std::string> Every;
  for (const TPictureKind& Kind : Table) Every.insert(Every.end(), Kind.Extensions.begin(), Kind.Extensions.end());
  std::string Filter = "All pictures (" + Patterns(Every) + ")" + '\0' + Patterns(Every) + '\0';
  for (const TPictureKind& Kind : Table)
    Filter += Kind.Name + " (" + Patterns(Kind.Extensions) + ")" + '\0' + Patterns(Kind.Extensions) + '\0';
  return Filter + '\0';
}
