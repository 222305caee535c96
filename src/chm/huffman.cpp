#include "chm/huffman.h"

#include <algorithm>
#include <array>
#include <vector>

namespace thc::chm::lzx {

namespace {

constexpr unsigned kLongest = 32;  // no tree here reaches past this before limiting

struct Leaf {
  std::uint32_t frequency;
  std::uint16_t symbol;
};

// Depth of every leaf of a Huffman tree over the leaves (sorted by rising
// frequency): the two-queue construction, leaves before internal nodes of the
// same weight so the result depends on nothing but the input.
std::vector<unsigned> leafDepths(const std::vector<Leaf>& leaves) {
  const size_t n = leaves.size();
  std::vector<std::uint64_t> weight(2 * n - 1);
  std::vector<size_t> parent(2 * n - 1, 0);
  for (size_t i = 0; i < n; ++i) weight[i] = leaves[i].frequency;
  size_t nextLeaf = 0;
  size_t nextInner = n;
  const auto takeSmallest = [&](size_t built) {
    if (nextLeaf < n && (nextInner >= built || weight[nextLeaf] <= weight[nextInner])) return nextLeaf++;
    return nextInner++;
  };
  for (size_t built = n; built < 2 * n - 1; ++built) {
    const size_t a = takeSmallest(built);
    const size_t b = takeSmallest(built);
    weight[built] = weight[a] + weight[b];
    parent[a] = parent[b] = built;
  }
  // Parents come after their children, so one backward pass sets every depth.
  std::vector<unsigned> depth(2 * n - 1, 0);
  for (size_t i = 2 * n - 1; i-- > 0;) {
    if (i != 2 * n - 2) depth[i] = depth[parent[i]] + 1;
  }
  depth.resize(n);
  return depth;
}

// Moves codes longer than maxLength up to it, then lengthens the shortest
// possible codes until the code is complete again: each round takes one
// code off the longest length and splits a leaf one level up into two.
void limitLengths(std::array<unsigned, kLongest + 1>& counts, unsigned maxLength) {
  for (unsigned length = maxLength + 1; length <= kLongest; ++length) {
    counts[maxLength] += counts[length];
    counts[length] = 0;
  }
  std::uint64_t kraft = 0;
  for (unsigned length = 1; length <= maxLength; ++length) {
    kraft += static_cast<std::uint64_t>(counts[length]) << (maxLength - length);
  }
  for (; kraft > (std::uint64_t{1} << maxLength); --kraft) {
    --counts[maxLength];
    for (unsigned length = maxLength - 1; length > 0; --length) {
      if (counts[length] == 0) continue;
      --counts[length];
      counts[length + 1] += 2;
      break;
    }
  }
}

}  // namespace

void buildCodeLengths(std::span<const std::uint32_t> frequencies, unsigned maxLength,
                      std::span<std::uint8_t> lengths) {
  std::fill(lengths.begin(), lengths.end(), std::uint8_t{0});
  std::vector<Leaf> leaves;
  for (size_t s = 0; s < frequencies.size(); ++s) {
    if (frequencies[s] != 0) leaves.push_back({frequencies[s], static_cast<std::uint16_t>(s)});
  }
  if (leaves.empty()) return;
  if (leaves.size() == 1) {
    lengths[leaves[0].symbol] = 1;
    lengths[leaves[0].symbol == 0 ? 1 : 0] = 1;
    return;
  }
  std::sort(leaves.begin(), leaves.end(), [](const Leaf& a, const Leaf& b) {
    return a.frequency != b.frequency ? a.frequency < b.frequency : a.symbol < b.symbol;
  });
  std::array<unsigned, kLongest + 1> counts{};
  for (unsigned depth : leafDepths(leaves)) ++counts[std::min(depth, kLongest)];
  limitLengths(counts, maxLength);
  // The rarest symbols take the longest codes.
  size_t next = 0;
  for (unsigned length = maxLength; length > 0; --length) {
    for (unsigned i = 0; i < counts[length]; ++i) lengths[leaves[next++].symbol] = static_cast<std::uint8_t>(length);
  }
}

void buildCodes(std::span<const std::uint8_t> lengths, std::span<std::uint16_t> codes) {
  std::array<std::uint32_t, kLongest + 1> counts{};
  for (std::uint8_t length : lengths) ++counts[length];
  counts[0] = 0;  // unused symbols take no room
  std::array<std::uint32_t, kLongest + 1> next{};
  std::uint32_t code = 0;
  for (unsigned length = 1; length <= kLongest; ++length) {
    code = (code + counts[length - 1]) << 1;
    next[length] = code;
  }
  for (size_t s = 0; s < lengths.size(); ++s) {
    if (lengths[s] != 0) codes[s] = static_cast<std::uint16_t>(next[lengths[s]]++);
  }
}

}  // namespace thc::chm::lzx
