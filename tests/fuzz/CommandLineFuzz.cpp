// The command line: splitting drops quotes and separators only, integers read
// back as they are written, and every argument list gives a run mode.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/CommandLine.h"
#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string Text(reinterpret_cast<const char*>(Data), Size);
  const std::vector<std::string> Words = SplitCommandLine(Text);
  std::size_t Kept = 0;
  for (const std::string& Word : Words) {
    FUZZ_CHECK(Word.find('"') == std::string::npos);
    Kept += Word.size();
  }
  std::size_t Other = 0;
  for (char C : Text) Other += C != '"' && C != ' ' && C != '\t';
  FUZZ_CHECK(Kept >= Other);  // quoted blanks are kept, nothing else is lost
  FUZZ_CHECK(Kept <= Text.size());

  std::int32_t Value = 0;
  if (ReadInteger(Text, Value)) {
    std::int32_t Again = 0;
    FUZZ_CHECK(ReadInteger(std::to_string(Value), Again) && Again == Value);
  }
  if (Size >= 4) {
    const std::int32_t Number = static_cast<std::int32_t>(Data[0] | Data[1] << 8 | Data[2] << 16 |
                                                          static_cast<std::uint32_t>(Data[3]) << 24);
    std::int32_t Read = 0;
    FUZZ_CHECK(ReadInteger(std::to_string(Number), Read) && Read == Number);
    if (Number >= 0) {
      char Hex[16];
      for (const char* Pattern : {"$%X", "0x%x", "X%X", " +0X%X"}) {
        std::snprintf(Hex, sizeof Hex, Pattern, static_cast<unsigned>(Number));
        FUZZ_CHECK(ReadInteger(Hex, Read) && Read == Number);
      }
    }
  }

  const TParsedCommandLine Parsed = ParseArguments(Words);
  FUZZ_CHECK(Parsed.Mode >= smChangePassword && Parsed.Mode <= smWallpaper);
  if (Words.empty()) FUZZ_CHECK(Parsed.Mode == smConfigure && Parsed.ParentWindow == 0);
  return 0;
}
