// Canonical Huffman codes as LZX trees need them: lengths limited to the
// width of the tree's length field or lookup, and always a complete code,
// because the readers refuse to build a table with holes in it.
#pragma once

#include <cstdint>
#include <span>

namespace thc::chm::lzx {

// Code lengths for the frequencies, none above maxLength; unused symbols get
// 0. With one used symbol, it and one unused symbol get length 1; with none,
// every length stays 0 (an empty tree). `lengths` has one entry per symbol.
void buildCodeLengths(std::span<const std::uint32_t> frequencies, unsigned maxLength,
                      std::span<std::uint8_t> lengths);

// The canonical codes of the lengths: ordered by length, then by symbol.
void buildCodes(std::span<const std::uint8_t> lengths, std::span<std::uint16_t> codes);

}  // namespace thc::chm::lzx
