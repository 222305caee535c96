// Hash chains over one reset interval: for a position, the earlier places
// its next bytes also stand at. Every position is entered once, in order;
// a search sees only positions entered before it.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

namespace thc::chm::lzx {

struct Match {
  std::uint16_t length;
  std::uint16_t distance;
};

class MatchFinder {
 public:
  explicit MatchFinder(std::span<const unsigned char> data);

  // The longest a match at p may be: it ends with its 32 KB frame, and at
  // the longest length there is.
  unsigned longestAllowed(std::size_t p) const;

  // How many bytes at p agree with those `distance` back, up to limit.
  // Here, so that the parser's tries of the recent distances inline it.
  unsigned matchLength(std::size_t p, std::uint32_t distance, unsigned limit) const {
    const unsigned char* a = data_.data() + p;
    const unsigned char* b = a - distance;
    unsigned n = 0;
    if constexpr (std::endian::native == std::endian::little) {
      for (; n + 8 <= limit; n += 8) {
        std::uint64_t x;
        std::uint64_t y;
        std::memcpy(&x, a + n, 8);
        std::memcpy(&y, b + n, 8);
        if (x != y) return n + static_cast<unsigned>(std::countr_zero(x ^ y)) / 8;
      }
    }
    while (n < limit && a[n] == b[n]) ++n;
    return n;
  }

  // Enters the positions before p, then lists the matches at p the chains
  // give (at least 4 bytes, none longer than limit), each longer than the
  // one before it and from the nearest place that long. Tries at most
  // `tries` places and stops at a match of `enough` bytes.
  void find(std::size_t p, unsigned limit, unsigned tries, unsigned enough, std::vector<Match>& matches);

  // Enters the positions before `from`, and leaves those from there to `to`
  // out of the chains: inside a long match, where later matches seldom start
  // and the places before and after it are found as well.
  void skip(std::size_t from, std::size_t to);

 private:
  std::uint32_t hashAt(std::size_t p) const;
  void enterUpTo(std::size_t end);

  std::span<const unsigned char> data_;
  std::vector<std::int32_t> head_;      // the latest position of each hash
  // Per position: the gap to the one before with its hash (0: none). Only
  // entered positions are read, so the rest is left as it comes.
  std::unique_ptr<std::uint16_t[]> back_;
  std::size_t entered_ = 0;             // positions below this are in the chains
};

}  // namespace thc::chm::lzx
