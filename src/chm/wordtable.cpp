#include "chm/wordtable.h"

namespace thc::chm {

namespace {

uint64_t hashOf(std::string_view word) {
  uint64_t hash = 14695981039346656037u;  // FNV-1a
  for (char c : word) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211u;
  }
  return hash;
}

}  // namespace

WordTable::WordTable() : starts_{0}, slots_(1024, 0) {}

uint32_t WordTable::intern(std::string_view word) {
  const size_t mask = slots_.size() - 1;
  size_t slot = hashOf(word) & mask;
  for (; slots_[slot] != 0; slot = (slot + 1) & mask) {
    if (this->word(slots_[slot] - 1) == word) return slots_[slot] - 1;
  }
  const uint32_t number = size();
  bytes_ += word;
  starts_.push_back(static_cast<uint32_t>(bytes_.size()));
  slots_[slot] = number + 1;
  if (size() * 2 > slots_.size()) grow();
  return number;
}

void WordTable::grow() {
  std::vector<uint32_t> slots(slots_.size() * 2, 0);
  const size_t mask = slots.size() - 1;
  for (uint32_t number = 0; number < size(); ++number) {
    size_t slot = hashOf(word(number)) & mask;
    while (slots[slot] != 0) slot = (slot + 1) & mask;
    slots[slot] = number + 1;
  }
  slots_.swap(slots);
}

}  // namespace thc::chm
