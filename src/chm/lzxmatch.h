// The LZ77 half of the compressor: cuts one reset interval into literals
// and matches. Matches stay inside their 32 KB frame, reach back no further
// than the interval's start and no further than the last position slot, and
// prefer the repeated offsets a reader keeps.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace thc::chm::lzx {

// A literal (length 1: the byte at its position) or a match of `length`
// bytes copied from `distance` bytes back.
struct Token {
  std::uint16_t length;
  std::uint16_t distance;
};

// The three most recent match distances, as a reader keeps them: a distance
// found among them is coded as its place in the queue (slots 0 to 2).
struct RecentOffsets {
  std::uint32_t r0 = 1;
  std::uint32_t r1 = 1;
  std::uint32_t r2 = 1;

  // The position slot for a match at `distance`; moves the queue as a
  // reader does when it decodes that slot.
  unsigned use(std::uint32_t distance);
};

// The tokens of one interval (32768 or 65536 bytes), in order; their
// lengths add up to data.size().
std::vector<Token> parseInterval(std::span<const unsigned char> data);

}  // namespace thc::chm::lzx
