// Group files and the picture queue: entries never hold a line end, a group
// written back reads the same, also read as UTF-8 through Windows-1252 and
// written back in whichever encoding its names need, and the queue hands out
// every entry exactly once, in order when taken from the front.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/GroupFile.h"
#include "core/ImageQueue.h"
#include "core/TextEncoding.h"
#include "fuzz/FuzzCheck.h"
#include "support/Windows1252.h"

namespace {

std::vector<std::string> ReadAsUtf8(const std::string& Data, const TCodePage& CodePage) {
  std::vector<std::string> Entries;
  ForEachGroupEntryAsUtf8(Data, CodePage, [&Entries](const std::string& Entry) { Entries.push_back(Entry); });
  return Entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string Text(reinterpret_cast<const char*>(Data), Size);
  const std::vector<std::string> Entries = ParseGroupFile(Text);
  for (const std::string& Entry : Entries)
    FUZZ_CHECK(Entry.find_first_of("\r\n\x1A") == std::string::npos);
  FUZZ_CHECK(ParseGroupFile(FormatGroupFile(Entries)) == Entries);

  // Read as UTF-8: the same lines, every entry valid UTF-8 (nothing invalid
  // dropped), and what is written from them reads back the same.
  const TWindows1252 CodePage;
  const std::vector<std::string> Utf8Entries = ReadAsUtf8(Text, CodePage);
  const bool Marked = GroupFileEncoding(Text) == TGroupFileEncoding::Utf8WithMark;
  FUZZ_CHECK(Marked == Text.starts_with("\xEF\xBB\xBF"));
  FUZZ_CHECK(Utf8Entries.size() == (Marked ? ParseGroupFile(Text.substr(3)) : Entries).size());
  for (const std::string& Entry : Utf8Entries) {
    FUZZ_CHECK(IsValidUtf8(Entry));
    FUZZ_CHECK(Entry.find_first_of("\r\n\x1A") == std::string::npos);
  }
  const std::string Written = FormatGroupFile(Utf8Entries, CodePage);
  FUZZ_CHECK(ReadAsUtf8(Written, CodePage) == Utf8Entries);
  FUZZ_CHECK(GroupFileEncoding(Written) != TGroupFileEncoding::Utf8);

  const std::size_t Lines = static_cast<std::size_t>(std::count(Text.begin(), Text.end(), '\n'));
  FUZZ_CHECK(Entries.size() <= Lines + 1);

  for (const std::string& Entry : Entries) {
    const bool Safe = Entry != "." && Entry != ".." && Entry.find_first_of("\\/:") == std::string::npos;
    FUZZ_CHECK(IsSafeGroupName(Entry) == Safe);
    FUZZ_CHECK(!IsValidGroupName(Entry) || Safe);
  }

  // The first byte chooses the order of taking: from the front, or by
  // indexes drawn from the rest of the input.
  TImageQueue Queue;
  for (const std::string& Entry : Entries) Queue.Add(Entry);
  FUZZ_CHECK(Queue.Count() == Entries.size());
  std::vector<std::string> Taken;
  const bool Front = Size == 0 || (Data[0] & 1) == 0;
  std::size_t Next = 1;
  while (!Queue.Empty()) {
    std::size_t Index = 0;
    if (!Front && Size > 0) Index = Data[Next++ % Size] % Queue.Count();
    Taken.push_back(Queue.Take(Index));
  }
  if (Front) {
    FUZZ_CHECK(Taken == Entries);
  } else {
    std::vector<std::string> Want = Entries;
    std::sort(Want.begin(), Want.end());
    std::sort(Taken.begin(), Taken.end());
    FUZZ_CHECK(Taken == Want);
  }
  return 0;
}
