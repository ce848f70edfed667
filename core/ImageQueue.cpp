#include "core/ImageQueue.h"

#include <utility>

void TImageQueue::Add(std::string_view Entry) {
  Spans.push_back(TSpan{static_cast<std::uint32_t>(Text.size()), static_cast<std::uint32_t>(Entry.size())});
  Text.append(Entry);
}

void TImageQueue::Clear() {
  Text.clear();
  Spans.clear();
  Head = 0;
}

std::string TImageQueue::Take(std::size_t Index) {
  if (Index != 0) std::swap(Spans[Head + Index], Spans[Head]);
  std::string Entry((*this)[0]);
  ++Head;
  if (Head == Spans.size()) Clear();
  return Entry;
}

std::vector<std::string> TImageQueue::ToVector() const {
  std::vector<std::string> Entries;
  Entries.reserve(Count());
  for (std::size_t I = 0; I < Count(); ++I) Entries.emplace_back((*this)[I]);
  return Entries;
}
