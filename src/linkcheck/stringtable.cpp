#include "linkcheck/stringtable.h"

#include <functional>

namespace thc {

namespace {

uint32_t hashOf(std::string_view text) {
  const size_t full = std::hash<std::string_view>{}(text);
  return static_cast<uint32_t>(full ^ (full >> 32));
}

}  // namespace

size_t StringTable::slotOf(std::string_view text, uint32_t hash) const {
  const size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.numberPlusOne == 0) return i;
    if (slot.hash == hash && (*this)[slot.numberPlusOne - 1] == text) return i;
  }
}

std::optional<uint32_t> StringTable::find(std::string_view text) const {
  if (slots_.empty()) return std::nullopt;
  const Slot& slot = slots_[slotOf(text, hashOf(text))];
  if (slot.numberPlusOne == 0) return std::nullopt;
  return slot.numberPlusOne - 1;
}

uint32_t StringTable::insert(std::string_view text, bool& added) {
  if ((size() + 1) * 2 > slots_.size()) grow();
  const uint32_t hash = hashOf(text);
  Slot& slot = slots_[slotOf(text, hash)];
  added = slot.numberPlusOne == 0;
  if (added) {
    bytes_.append(text);
    starts_.push_back(bytes_.size());
    slot = Slot{hash, size()};
  }
  return slot.numberPlusOne - 1;
}

void StringTable::grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 1024 : old.size() * 2, Slot{});
  const size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.numberPlusOne == 0) continue;
    size_t i = slot.hash & mask;
    while (slots_[i].numberPlusOne != 0) i = (i + 1) & mask;
    slots_[i] = slot;
  }
}

}  // namespace thc
