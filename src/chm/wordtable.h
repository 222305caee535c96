// The distinct words of a search index, each stored once and numbered in the
// order they were first seen.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace thc::chm {

class WordTable {
 public:
  WordTable();

  // The number of the word; the next free number the first time.
  uint32_t intern(std::string_view word);
  std::string_view word(uint32_t number) const {
    return std::string_view(bytes_).substr(starts_[number], starts_[number + 1] - starts_[number]);
  }
  uint32_t size() const { return static_cast<uint32_t>(starts_.size() - 1); }
  // The bytes of all distinct words together.
  size_t bytes() const { return bytes_.size(); }

 private:
  void grow();

  std::string bytes_;             // the words one after the other
  std::vector<uint32_t> starts_;  // word n is bytes_[starts_[n], starts_[n + 1])
  // Open addressing: a word's number + 1, 0 for a free slot; a power of two
  // in size, never more than half full.
  std::vector<uint32_t> slots_;
};

}  // namespace thc::chm
