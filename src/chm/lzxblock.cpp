#include "chm/lzxblock.h"

#include <string>

#include "chm/huffman.h"
#include "chm/treelengths.h"

namespace thc::chm::lzx {

namespace {

constexpr unsigned kAlignedTreeBits = kAlignedSymbols * 3;
constexpr unsigned kAlignedFooterBits = 3;  // the low footer bits an aligned tree codes

CodedSymbol codeMatch(const Token& token, RecentOffsets& offsets) {
  const unsigned slot = offsets.use(token.distance);
  const unsigned header = token.length - kMinMatch;
  CodedSymbol coded{};
  coded.main = static_cast<std::uint16_t>(kLiterals + slot * 8 + std::min(header, kPrimaryLengths));
  coded.length = header >= kPrimaryLengths ? static_cast<std::uint16_t>(header - kPrimaryLengths)
                                           : CodedSymbol::kNoLengthSymbol;
  if (slot >= 3) {
    coded.footerBits = static_cast<std::uint8_t>(footerBits(slot));
    coded.footer = static_cast<std::uint16_t>(token.distance + 2 - slotBase(slot));
  }
  return coded;
}

}  // namespace

std::vector<CodedSymbol> codeTokens(std::span<const Token> tokens, std::span<const unsigned char> data,
                                    RecentOffsets& offsets) {
  std::vector<CodedSymbol> coded;
  coded.reserve(tokens.size());
  std::size_t position = 0;
  for (const Token& token : tokens) {
    if (token.length == 1) {
      coded.push_back({data[position], CodedSymbol::kNoLengthSymbol, 0, 0});
    } else {
      coded.push_back(codeMatch(token, offsets));
    }
    position += token.length;
  }
  return coded;
}

BlockEncoder::BlockEncoder(std::span<const CodedSymbol> symbols) {
  std::array<std::uint32_t, kAlignedSymbols> alignedFrequencies{};
  for (const CodedSymbol& s : symbols) {
    ++mainFrequencies_[s.main];
    if (s.length != CodedSymbol::kNoLengthSymbol) ++lengthFrequencies_[s.length];
    footerBits_ += s.footerBits;
    if (s.footerBits >= kAlignedFooterBits) ++alignedFrequencies[s.footer & 7];
  }
  buildCodeLengths(mainFrequencies_, kMaxMainLength, lengths_.main);
  buildCodeLengths(lengthFrequencies_, kMaxMainLength, lengths_.length);
  buildCodes(lengths_.main, mainCodes_);
  buildCodes(lengths_.length, lengthCodes_);
  // An aligned block codes the low three footer bits with a tree of their
  // own: worth it when the saving beats the tree's 24 bits.
  buildCodeLengths(alignedFrequencies, kMaxAlignedLength, alignedLengths_);
  std::uint64_t aligned = footerBits_ + kAlignedTreeBits;
  for (unsigned s = 0; s < kAlignedSymbols; ++s) {
    aligned = aligned + std::uint64_t{alignedFrequencies[s]} * alignedLengths_[s] -
              std::uint64_t{alignedFrequencies[s]} * kAlignedFooterBits;
  }
  if (alignedFrequencies != decltype(alignedFrequencies){} && aligned < footerBits_) {
    aligned_ = true;
    alignedBits_ = aligned - kAlignedTreeBits;
    buildCodes(alignedLengths_, alignedCodes_);
  }
}

std::uint64_t BlockEncoder::symbolBits() const {
  std::uint64_t bits = aligned_ ? alignedBits_ : footerBits_;
  for (unsigned s = 0; s < kMainSymbols; ++s) bits += std::uint64_t{mainFrequencies_[s]} * lengths_.main[s];
  for (unsigned s = 0; s < kLengthSymbols; ++s) bits += std::uint64_t{lengthFrequencies_[s]} * lengths_.length[s];
  return bits;
}

std::uint64_t BlockEncoder::symbolBits(std::span<const CodedSymbol> symbols) const {
  std::uint64_t bits = 0;
  for (const CodedSymbol& s : symbols) {
    bits += lengths_.main[s.main];
    if (s.length != CodedSymbol::kNoLengthSymbol) bits += lengths_.length[s.length];
    if (aligned_ && s.footerBits >= kAlignedFooterBits) {
      bits += s.footerBits - kAlignedFooterBits + alignedLengths_[s.footer & 7];
    } else {
      bits += s.footerBits;
    }
  }
  return bits;
}

std::uint64_t BlockEncoder::headerBits(const TreeLengths& previous) const {
  std::string scratch;
  BitWriter out(scratch);
  TreeLengths copy = previous;
  writeHeader(out, 0, copy);
  return scratch.size() * 8 + out.pendingBits();
}

std::uint64_t BlockEncoder::bits(const TreeLengths& previous) const {
  return headerBits(previous) + symbolBits();
}

void BlockEncoder::writeHeader(BitWriter& out, std::uint32_t size, TreeLengths& previous) const {
  out.put(aligned_ ? kAligned : kVerbatim, 3);
  out.put(size, 24);
  if (aligned_) {
    for (std::uint8_t length : alignedLengths_) out.put(length, 3);
  }
  const std::span<const std::uint8_t> main(lengths_.main);
  const std::span<const std::uint8_t> previousMain(previous.main);
  writeTreeLengths(out, main.first(kLiterals), previousMain.first(kLiterals));
  writeTreeLengths(out, main.subspan(kLiterals), previousMain.subspan(kLiterals));
  writeTreeLengths(out, lengths_.length, previous.length);
  previous = lengths_;
}

void BlockEncoder::writeSymbols(BitWriter& out, std::span<const CodedSymbol> symbols) const {
  for (const CodedSymbol& s : symbols) {
    out.put(mainCodes_[s.main], lengths_.main[s.main]);
    if (s.length != CodedSymbol::kNoLengthSymbol) out.put(lengthCodes_[s.length], lengths_.length[s.length]);
    if (aligned_ && s.footerBits >= kAlignedFooterBits) {
      out.put(s.footer >> 3, s.footerBits - kAlignedFooterBits);
      out.put(alignedCodes_[s.footer & 7], alignedLengths_[s.footer & 7]);
    } else {
      out.put(s.footer, s.footerBits);
    }
  }
}

}  // namespace thc::chm::lzx
