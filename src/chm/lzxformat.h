// The fixed shape of the LZX streams a help file holds: a 64 KB window, 32 KB
// frames and a reset every two frames, and the position slots and symbol
// layout that follow from the window size.
#pragma once

#include <bit>
#include <cstdint>

namespace thc::chm::lzx {

constexpr std::uint32_t kFrameSize = 32768;
constexpr std::uint32_t kIntervalSize = 2 * kFrameSize;  // bytes between two resets
// A frame's compressed bytes beyond this overrun a reader's frame buffer.
constexpr std::uint32_t kMaxFrameBytes = kFrameSize + 6144;

constexpr unsigned kPositionSlots = 32;
constexpr unsigned kLiterals = 256;
constexpr unsigned kMainSymbols = kLiterals + 8 * kPositionSlots;  // 512
constexpr unsigned kLengthSymbols = 249;
constexpr unsigned kAlignedSymbols = 8;
constexpr unsigned kPretreeSymbols = 20;
constexpr unsigned kMaxMainLength = 16;  // code lengths, for main and length tree alike
constexpr unsigned kMaxPretreeLength = 15;
constexpr unsigned kMaxAlignedLength = 7;

constexpr unsigned kMinMatch = 2;
constexpr unsigned kMaxMatch = 257;
constexpr unsigned kPrimaryLengths = 7;  // match lengths 2..8 need no length-tree symbol
// The farthest distance the last position slot reaches.
constexpr std::uint32_t kMaxDistance = 65533;

enum BlockType : unsigned { kVerbatim = 1, kAligned = 2, kUncompressed = 3 };

// The position slot of an explicit distance d >= 1: slots 0..2 are the
// repeated offsets, so the coded value is d + 2, whose leading bit and the
// bit after it pick the slot.
constexpr unsigned positionSlot(std::uint32_t distance) {
  const std::uint32_t value = distance + 2;
  const unsigned top = std::bit_width(value) - 1;
  return 2 * top + ((value >> (top - 1)) & 1);
}

// Extra bits after a slot's symbol (slots 3 and up).
constexpr unsigned footerBits(unsigned slot) { return slot < 4 ? 0 : slot / 2 - 1; }

// The coded value (distance + 2) at which a slot (3 and up) starts.
constexpr std::uint32_t slotBase(unsigned slot) { return (2u | (slot & 1)) << footerBits(slot); }

static_assert(positionSlot(1) == 3 && positionSlot(2) == 4 && positionSlot(kMaxDistance) == kPositionSlots - 1);
static_assert(slotBase(30) == 32768 && slotBase(31) == 49152 && footerBits(31) == 14);

}  // namespace thc::chm::lzx
