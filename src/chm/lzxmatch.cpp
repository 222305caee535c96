#include "chm/lzxmatch.h"

#include <algorithm>

#include "chm/lzxformat.h"
#include "chm/matchfinder.h"

namespace thc::chm::lzx {

namespace {

constexpr unsigned kMaxChain = 48;     // places tried per position
constexpr unsigned kGoodLength = 16;   // with a repeated-offset match this long, a quarter of them
constexpr unsigned kNiceLength = 96;   // a match this long ends the search
constexpr unsigned kSkipLength = 64;   // inside a match this long, few places enter the chains
constexpr unsigned kSkipMargin = 4;    // the places at each end of it that do

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

class Parser {
 public:
  explicit Parser(std::span<const unsigned char> data) : size_(data.size()), finder_(data) {}
  std::vector<Token> run();

 private:
  Candidate find(std::size_t p);
  void consider(Candidate& best, std::size_t p, std::uint32_t distance, unsigned limit, bool repeated) const;

  std::size_t size_;
  MatchFinder finder_;
  RecentOffsets offsets_;
  std::vector<Match> matches_;
};

void Parser::consider(Candidate& best, std::size_t p, std::uint32_t distance, unsigned limit,
                      bool repeated) const {
  const unsigned length = finder_.matchLength(p, distance, limit);
  if (length < kMinMatch) return;
  const int gain = matchGain(length, distance, repeated);
  if (gain > best.gain) best = {length, distance, gain};
}

Candidate Parser::find(std::size_t p) {
  Candidate best;
  const unsigned limit = finder_.longestAllowed(p);
  if (limit < kMinMatch) return best;
  // After a reset all three are 1: each distance is tried once.
  if (offsets_.r0 <= p) consider(best, p, offsets_.r0, limit, true);
  if (offsets_.r1 <= p && offsets_.r1 != offsets_.r0) consider(best, p, offsets_.r1, limit, true);
  if (offsets_.r2 <= p && offsets_.r2 != offsets_.r0 && offsets_.r2 != offsets_.r1) {
    consider(best, p, offsets_.r2, limit, true);
  }
  if (best.length >= kNiceLength) return best;
  finder_.find(p, limit, best.length >= kGoodLength ? kMaxChain / 4 : kMaxChain, kNiceLength, matches_);
  for (const Match& m : matches_) {
    const int gain = matchGain(m.length, m.distance, false);
    if (gain > best.gain) best = {m.length, m.distance, gain};
  }
  return best;
}

// The best match at each place is taken. Looking one byte on for a better
// one (lazy matching) saved about 1% of the bytes of our pages and cost a
// fifth of the compressor's time.
std::vector<Token> Parser::run() {
  std::vector<Token> tokens;
  tokens.reserve(size_ / 4);
  for (std::size_t p = 0; p < size_;) {
    const Candidate best = find(p);
    if (best.gain <= 0) {
      tokens.push_back({1, 0});
      ++p;
      continue;
    }
    tokens.push_back({static_cast<std::uint16_t>(best.length), static_cast<std::uint16_t>(best.distance)});
    offsets_.use(best.distance);
    if (best.length >= kSkipLength) finder_.skip(p + kSkipMargin, p + best.length - kSkipMargin);
    p += best.length;
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
