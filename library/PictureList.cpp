#include "library/PictureList.h"

std::string TPictureList::Path(std::size_t I) const {
  const TPicture& P = Pictures[I];
  std::string Result = Prefixes[P.Folder];
  Result.append(Names, P.NameOffset, P.NameLength);
  return Result;
}

std::string_view TPictureList::Name(std::size_t I) const {
  const TPicture& P = Pictures[I];
  return std::string_view(Names).substr(P.NameOffset, P.NameLength);
}

std::vector<std::uint32_t> TPictureList::FolderNumbers() const {
  std::vector<std::uint32_t> Result;
  Result.reserve(Pictures.size());
  for (const TPicture& P : Pictures) Result.push_back(P.Folder);
  return Result;
}

std::uint32_t TPictureList::PrefixNumber(std::string_view Prefix) {
  std::string Key(Prefix);
  for (char& C : Key)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  const auto [At, Added] = PrefixNumbers.try_emplace(std::move(Key), static_cast<std::uint32_t>(Prefixes.size()));
  if (Added) Prefixes.emplace_back(Prefix);
  return At->second;
}

std::uint32_t TPictureList::FolderNumber(std::string_view FolderPath) {
  if (!FolderPath.empty() && FolderPath.back() == '\\') return PrefixNumber(FolderPath);
  std::string Prefix(FolderPath);
  Prefix += '\\';
  return PrefixNumber(Prefix);
}

void TPictureList::AddFileLine(std::string_view Line) {
  const std::size_t Split = Line.find_last_of("\\:");
  const std::size_t NameAt = Split == std::string_view::npos ? 0 : Split + 1;
  AddPicture(PrefixNumber(Line.substr(0, NameAt)), Line.substr(NameAt));
}

void TPictureList::AddPicture(std::uint32_t Folder, std::string_view Name) {
  Pictures.push_back({static_cast<std::uint32_t>(Names.size()), static_cast<std::uint32_t>(Name.size()), Folder});
  Names.append(Name);
}

void TPictureList::Clear() {
  Prefixes.clear();
  PrefixNumbers.clear();
  Names.clear();
  Pictures.clear();
  Names.shrink_to_fit();
  Pictures.shrink_to_fit();
}
