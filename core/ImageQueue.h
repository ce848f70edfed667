#pragma once
// The list of picture paths of one group: a string list that also serves as
// the queue NextImage hands pictures out of. Taking an entry costs the same
// whatever the length of the queue: nothing is shifted, and the paths live in
// one block of text that is released as a whole, so handing out the pictures
// of a large group at random does not scatter frees across the heap. Portable.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TImageQueue {
 public:
  std::size_t Count() const { return Spans.size() - Head; }
  bool Empty() const { return Count() == 0; }
  std::string_view operator[](std::size_t Index) const {
    const TSpan& S = Spans[Head + Index];
    return std::string_view(Text.data() + S.Offset, S.Length);
  }

  void Add(std::string_view Entry);
  void Clear();
  // Removes the entry at Index and returns it. Taking the first entry keeps
  // the order of the rest; taking any other entry moves the first entry into
  // its place, which only a random pick may rely on.
  std::string Take(std::size_t Index);

  std::vector<std::string> ToVector() const;

 private:
  struct TSpan {
    std::uint32_t Offset;
    std::uint32_t Length;
  };
  std::string Text;          // every entry ever added since the last Clear
  std::vector<TSpan> Spans;  // entries before Head have been taken
  std::size_t Head = 0;
};
