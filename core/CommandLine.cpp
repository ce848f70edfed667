#include "core/CommandLine.h"

std::vector<std::string> SplitCommandLine(const std::string& CommandLine) {
  std::vector<std::string> Words;
  std::size_t I = 0;
  const std::size_t N = CommandLine.size();
  for (;;) {
    while (I < N && (CommandLine[I] == ' ' || CommandLine[I] == '\t')) ++I;
    if (I >= N) break;
    std::string Word;
    bool Quoted = false;
    for (; I < N; ++I) {
      const char C = CommandLine[I];
      if (C == '"') {
        Quoted = !Quoted;
      } else if (!Quoted && (C == ' ' || C == '\t')) {
        break;
      } else {
        Word += C;
      }
    }
    Words.push_back(std::move(Word));
  }
  return Words;
}

TParsedCommandLine ParseArguments(const std::vector<std::string>& Args) {
  TParsedCommandLine Result;
  if (Args.empty()) return Result;

  std::string S = Args[0];
  for (char& C : S)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  if (S.size() > 1 && S[0] == '/') S.erase(0, 1);
  if (S.size() > 1 && S[0] == '-') S.erase(0, 1);

  if (!S.empty()) {
    switch (S[0]) {
      case 'a': Result.Mode = smChangePassword; break;
      case 'c': Result.Mode = smConfigure; break;
      case 'l':
      case 'p': Result.Mode = smPreview; break;
      case 's': Result.Mode = smSaver; break;
      case 'w': Result.Mode = smWallpaper; break;
      default: break;
    }
  }

  std::string HandleText;
  if (S.size() > 2 && S[1] == ':')
    HandleText = S.substr(2);
  else if (Args.size() > 1)
    HandleText = Args[1];
  else
    HandleText = S;

  std::int32_t Handle = 0;
  Result.ParentWindow = ReadInteger(HandleText, Handle) ? Handle : 0;
  return Result;
}
