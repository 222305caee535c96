// How a block stores a tree's code lengths: each range of lengths gets a
// small pretree of its own, whose symbols give each length as a change
// from the length the symbol had in the previous block, or a run of zeros,
// or a run of one length.
#pragma once

#include <cstdint>
#include <span>

#include "chm/bitwriter.h"

namespace thc::chm::lzx {

// Writes `lengths` (one range) after `previous` (the same range of the
// previous block's lengths, or zeros).
void writeTreeLengths(BitWriter& out, std::span<const std::uint8_t> lengths,
                      std::span<const std::uint8_t> previous);

}  // namespace thc::chm::lzx
