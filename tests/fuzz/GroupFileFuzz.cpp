// Group files and the picture queue: entries never hold a line end, a group
// written back reads the same, and the queue hands out every entry exactly
// once, in order when taken from the front.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/GroupFile.h"
#include "core/ImageQueue.h"
#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string Text(reinterpret_cast<const char*>(Data), Size);
  const std::vector<std::string> Entries = ParseGroupFile(Text);
  for (const std::string& Entry : Entries)
    FUZZ_CHECK(Entry.find_first_of("\r\n\x1A") == std::string::npos);
  FUZZ_CHECK(ParseGroupFile(FormatGroupFile(Entries)) == Entries);

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
