// A set of byte strings, each numbered in the order it was added. Open
// addressing over one array of small slots: a lookup touches one slot and,
// only when the hashes agree, the string itself. The link check looks up a
// link of every page in tables of every page name, so this is its hot path.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace thc {

class StringTable {
 public:
  // The number of `text`, none when it was never added.
  std::optional<uint32_t> find(std::string_view text) const;
  // The number of `text`; a new text gets the next number, and `added` is set.
  uint32_t insert(std::string_view text, bool& added);
  std::string_view operator[](uint32_t number) const {
    return std::string_view(bytes_).substr(starts_[number], starts_[number + 1] - starts_[number]);
  }
  uint32_t size() const { return static_cast<uint32_t>(starts_.size() - 1); }

 private:
  struct Slot {
    uint32_t hash = 0;
    uint32_t numberPlusOne = 0;  // 0: empty
  };

  // The slot that holds `text`, or the empty slot where it would go.
  size_t slotOf(std::string_view text, uint32_t hash) const;
  void grow();

  std::vector<Slot> slots_;  // a power of two, at most half full
  // The texts one after the other; text n runs from starts_[n] to
  // starts_[n + 1].
  std::string bytes_;
  std::vector<size_t> starts_ = {0};
};

}  // namespace thc
