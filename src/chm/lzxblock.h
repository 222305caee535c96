// One verbatim or aligned-offset block: the trees built from the symbols'
// frequencies, written delta-coded against the interval's previous trees,
// then the symbols themselves.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "chm/bitwriter.h"
#include "chm/lzxformat.h"
#include "chm/lzxmatch.h"

namespace thc::chm::lzx {

// A token as the block codes it: its main-tree symbol, its length-tree
// symbol (kNoLengthSymbol for none) and the distance footer.
struct CodedSymbol {
  static constexpr std::uint16_t kNoLengthSymbol = 0xFFFF;
  std::uint16_t main;
  std::uint16_t length;
  std::uint8_t footerBits;
  std::uint16_t footer;
};

// Codes tokens whose bytes start at data[0]; moves the offsets on as a reader
// does while it decodes them.
std::vector<CodedSymbol> codeTokens(std::span<const Token> tokens, std::span<const unsigned char> data,
                                    RecentOffsets& offsets);

// The tree lengths a reader holds: all zero after a reset, then those of
// the last verbatim or aligned block, against which the next block's
// lengths are coded.
struct TreeLengths {
  std::array<std::uint8_t, kMainSymbols> main{};
  std::array<std::uint8_t, kLengthSymbols> length{};
};

class BlockEncoder {
 public:
  // Builds the trees for these symbols and chooses between a verbatim and an
  // aligned-offset block.
  explicit BlockEncoder(std::span<const CodedSymbol> symbols);

  // The lengths the block's trees have.
  const TreeLengths& lengths() const { return lengths_; }

  // The block's size in bits (header, trees and symbols) after `previous`.
  std::uint64_t bits(const TreeLengths& previous) const;

  // The bits of the block header and trees after `previous`.
  std::uint64_t headerBits(const TreeLengths& previous) const;
  // The bits these symbols (all or some of the block's) take.
  std::uint64_t symbolBits(std::span<const CodedSymbol> symbols) const;

  // The block header and trees for a block of `size` bytes; `previous`
  // becomes this block's lengths.
  void writeHeader(BitWriter& out, std::uint32_t size, TreeLengths& previous) const;

  // Symbols of the block, in order; a block may be written in pieces (one
  // per frame, aligned in between).
  void writeSymbols(BitWriter& out, std::span<const CodedSymbol> symbols) const;

 private:
  std::uint64_t symbolBits() const;

  TreeLengths lengths_;
  std::array<std::uint16_t, kMainSymbols> mainCodes_{};
  std::array<std::uint16_t, kLengthSymbols> lengthCodes_{};
  std::array<std::uint8_t, kAlignedSymbols> alignedLengths_{};
  std::array<std::uint16_t, kAlignedSymbols> alignedCodes_{};
  std::array<std::uint32_t, kMainSymbols> mainFrequencies_{};
  std::array<std::uint32_t, kLengthSymbols> lengthFrequencies_{};
  std::uint64_t footerBits_ = 0;  // footer bits in a verbatim block
  bool aligned_ = false;
  std::uint64_t alignedBits_ = 0;  // bits of the footers in an aligned block, when aligned_
};

}  // namespace thc::chm::lzx
