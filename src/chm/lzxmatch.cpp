#include "chm/lzxmatch.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "chm/lzxformat.h"

namespace thc::chm::lzx {

namespace {

constexpr unsigned kHashBits = 15;
constexpr unsigned kMinHashed = 3;  // matches found by hashing; repeated offsets also take 2
constexpr unsigned kMaxChain = 48;     // candidates tried per position
constexpr unsigned kGoodLength = 16;   // with a match this long, a quarter of them
constexpr unsigned kNiceLength = 96;   // a match this long ends the search

// Rough code sizes in bits, enough to weigh a match against the literals it
// replaces and a near match against a longer far one.
constexpr int kLiteralBits = 6;
constexpr int kMatchBits = 10;
constexpr int kLengthSymbolBits = 4;

struct Candidate {
  unsigned length = 0;
  std::uint32_t distance = 0;
  int gain = 0;  // bits saved against coding the bytes as literals
};

int matchGain(unsigned length, std::uint32_t distance, bool repeated) {
  int cost = kMatchBits + (length >= kMinMatch + kPrimaryLengths ? kLengthSymbolBits : 0);
  if (!repeated) cost += static_cast<int>(footerBits(positionSlot(distance)));
  return static_cast<int>(length) * kLiteralBits - cost;
}

// How many bytes from a and b agree, up to limit.
unsigned commonLength(const unsigned char* a, const unsigned char* b, unsigned limit) {
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

class Parser {
 public:
  explicit Parser(std::span<const unsigned char> data)
      : data_(data), head_(std::size_t{1} << kHashBits, -1), previous_(data.size(), -1) {}

  std::vector<Token> run();

 private:
  std::uint32_t hashAt(std::size_t p) const {
    const std::uint32_t key = data_[p] | (data_[p + 1] << 8) | (data_[p + 2] << 16);
    return (key * 2654435761u) >> (32 - kHashBits);
  }
  void insertUpTo(std::size_t end);
  unsigned longestAllowed(std::size_t p) const;
  Candidate find(std::size_t p);
  void consider(Candidate& best, std::size_t p, std::uint32_t distance, unsigned limit, bool repeated) const;

  std::span<const unsigned char> data_;
  std::vector<std::int32_t> head_;      // the latest position of each hash
  std::vector<std::int32_t> previous_;  // the position before it with the same hash
  std::size_t inserted_ = 0;            // positions below this are in the chains
  RecentOffsets offsets_;
};

void Parser::insertUpTo(std::size_t end) {
  end = std::min(end, data_.size() >= kMinHashed ? data_.size() - kMinHashed + 1 : 0);
  for (; inserted_ < end; ++inserted_) {
    const std::uint32_t h = hashAt(inserted_);
    previous_[inserted_] = head_[h];
    head_[h] = static_cast<std::int32_t>(inserted_);
  }
}

// A match ends with its frame and with the longest length there is.
unsigned Parser::longestAllowed(std::size_t p) const {
  const std::size_t frameEnd = (p / kFrameSize + 1) * kFrameSize;
  return static_cast<unsigned>(std::min<std::size_t>(kMaxMatch, std::min(frameEnd, data_.size()) - p));
}

void Parser::consider(Candidate& best, std::size_t p, std::uint32_t distance, unsigned limit,
                      bool repeated) const {
  const unsigned char* here = data_.data() + p;
  const unsigned char* there = here - distance;
  if (best.length >= limit || there[best.length] != here[best.length]) return;
  const unsigned length = commonLength(here, there, limit);
  if (length < kMinMatch) return;
  const int gain = matchGain(length, distance, repeated);
  if (gain > best.gain) best = {length, distance, gain};
}

Candidate Parser::find(std::size_t p) {
  insertUpTo(p);
  Candidate best;
  const unsigned limit = longestAllowed(p);
  if (limit < kMinMatch) return best;
  // After a reset all three are 1: each distance is tried once.
  if (offsets_.r0 <= p) consider(best, p, offsets_.r0, limit, true);
  if (offsets_.r1 <= p && offsets_.r1 != offsets_.r0) consider(best, p, offsets_.r1, limit, true);
  if (offsets_.r2 <= p && offsets_.r2 != offsets_.r0 && offsets_.r2 != offsets_.r1) {
    consider(best, p, offsets_.r2, limit, true);
  }
  if (limit < kMinHashed || p + kMinHashed > data_.size()) return best;
  std::int32_t candidate = head_[hashAt(p)];
  unsigned tries = best.length >= kGoodLength ? kMaxChain / 4 : kMaxChain;
  for (; candidate >= 0 && tries > 0 && best.length < kNiceLength; --tries) {
    const auto distance = static_cast<std::uint32_t>(p - static_cast<std::size_t>(candidate));
    if (distance > kMaxDistance) break;
    consider(best, p, distance, limit, false);
    candidate = previous_[static_cast<std::size_t>(candidate)];
  }
  return best;
}

// Lazy matching: a match is taken unless the one starting a byte later
// saves more.
std::vector<Token> Parser::run() {
  std::vector<Token> tokens;
  tokens.reserve(data_.size() / 4);
  std::size_t p = 0;
  Candidate current = find(0);
  while (p < data_.size()) {
    if (current.gain <= 0) {
      tokens.push_back({1, 0});
      current = find(++p);
      continue;
    }
    if (current.length < kNiceLength && p + 1 < data_.size()) {
      const Candidate next = find(p + 1);
      if (next.gain > current.gain) {
        tokens.push_back({1, 0});
        ++p;
        current = next;
        continue;
      }
    }
    tokens.push_back({static_cast<std::uint16_t>(current.length), static_cast<std::uint16_t>(current.distance)});
    offsets_.use(current.distance);
    p += current.length;
    if (p < data_.size()) current = find(p);
  }
  return tokens;
}

}  // namespace

unsigned RecentOffsets::use(std::uint32_t distance) {
  if (distance == r0) return 0;
  if (distance == r1) {
    std::swap(r0, r1);
    return 1;
  }
  if (distance == r2) {
    std::swap(r0, r2);
    return 2;
  }
  r2 = r1;
  r1 = r0;
  r0 = distance;
  return positionSlot(distance);
}

std::vector<Token> parseInterval(std::span<const unsigned char> data) { return Parser(data).run(); }

}  // namespace thc::chm::lzx
