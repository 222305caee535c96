// The LZX compressor of the help file's compressed section: one reset
// interval (64 KB, two 32 KB frames) at a time. Intervals share nothing, so
// they may be compressed in any order and on any thread, and the same bytes
// always give the same stream.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace thc::chm {

struct LzxInterval {
  std::string bytes;
  // Per frame, the offset in `bytes` where its compressed data ends (each
  // frame ends on a 16-bit boundary, as readers realign there).
  std::vector<std::uint32_t> frameEnds;
};

// One reset interval: data.size() is 32768 or 65536 (the caller pads).
// Starts with the reset's E8 header bit; no frame's bytes exceed 38912.
LzxInterval compressInterval(std::span<const unsigned char> data);

}  // namespace thc::chm
