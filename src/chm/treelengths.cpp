#include "chm/treelengths.h"

#include <algorithm>
#include <array>
#include <vector>

#include "chm/huffman.h"
#include "chm/lzxformat.h"

namespace thc::chm::lzx {

namespace {

constexpr unsigned kDeltas = 17;         // symbols 0..16: a change of the length, modulo 17
constexpr std::uint8_t kShortZeros = 17;  // 4 + (4 bits) zeros
constexpr std::uint8_t kLongZeros = 18;   // 20 + (5 bits) zeros
constexpr std::uint8_t kSameRun = 19;     // 4 + (1 bit) equal lengths, then their change symbol

struct PreSymbol {
  std::uint8_t symbol;
  std::uint8_t extraBits;
  std::uint8_t extra;
};

std::uint8_t changeSymbol(std::uint8_t length, std::uint8_t previous) {
  return static_cast<std::uint8_t>((previous + kDeltas - length) % kDeltas);
}

std::size_t runLength(std::span<const std::uint8_t> lengths, std::size_t from) {
  std::size_t end = from;
  while (end < lengths.size() && lengths[end] == lengths[from]) ++end;
  return end - from;
}

// The pretree symbols for the range, left to right. A run of one length
// shares the change symbol of its first position, so it is coded that way
// only when every length in it is the same.
std::vector<PreSymbol> preSymbols(std::span<const std::uint8_t> lengths, std::span<const std::uint8_t> previous) {
  std::vector<PreSymbol> symbols;
  for (std::size_t x = 0; x < lengths.size();) {
    const std::size_t run = runLength(lengths, x);
    if (lengths[x] == 0 && run >= 20) {
      const auto count = static_cast<std::uint8_t>(std::min<std::size_t>(run, 51));
      symbols.push_back({kLongZeros, 5, static_cast<std::uint8_t>(count - 20)});
      x += count;
    } else if (lengths[x] == 0 && run >= 4) {
      symbols.push_back({kShortZeros, 4, static_cast<std::uint8_t>(run - 4)});
      x += run;
    } else if (run >= 4) {
      const auto count = static_cast<std::uint8_t>(std::min<std::size_t>(run, 5));
      symbols.push_back({kSameRun, 1, static_cast<std::uint8_t>(count - 4)});
      symbols.push_back({changeSymbol(lengths[x], previous[x]), 0, 0});
      x += count;
    } else {
      symbols.push_back({changeSymbol(lengths[x], previous[x]), 0, 0});
      ++x;
    }
  }
  return symbols;
}

}  // namespace

void writeTreeLengths(BitWriter& out, std::span<const std::uint8_t> lengths,
                      std::span<const std::uint8_t> previous) {
  const std::vector<PreSymbol> symbols = preSymbols(lengths, previous);
  std::array<std::uint32_t, kPretreeSymbols> frequencies{};
  for (const PreSymbol& s : symbols) ++frequencies[s.symbol];
  std::array<std::uint8_t, kPretreeSymbols> treeLengths{};
  std::array<std::uint16_t, kPretreeSymbols> codes{};
  buildCodeLengths(frequencies, kMaxPretreeLength, treeLengths);
  buildCodes(treeLengths, codes);
  for (std::uint8_t length : treeLengths) out.put(length, 4);
  for (const PreSymbol& s : symbols) {
    out.put(codes[s.symbol], treeLengths[s.symbol]);
    out.put(s.extra, s.extraBits);
  }
}

}  // namespace thc::chm::lzx
