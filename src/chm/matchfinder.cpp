#include "chm/matchfinder.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "chm/lzxformat.h"

namespace thc::chm::lzx {

namespace {

constexpr unsigned kHashBits = 15;
// Bytes a hash covers: the shortest match the chains find. Four rather than
// three keep the chains through markup short (every "<td" and "</a" would
// share one), for a fraction of a percent in size; shorter matches are
// still found at the recent distances.
constexpr unsigned kHashed = 4;

}  // namespace

MatchFinder::MatchFinder(std::span<const unsigned char> data)
    : data_(data), head_(std::size_t{1} << kHashBits, -1), back_(new std::uint16_t[data.size()]) {}

std::uint32_t MatchFinder::hashAt(std::size_t p) const {
  const std::uint32_t key = data_[p] | (data_[p + 1] << 8) | (data_[p + 2] << 16) |
                            (std::uint32_t{data_[p + 3]} << 24);
  return (key * 2654435761u) >> (32 - kHashBits);
}

void MatchFinder::enterUpTo(std::size_t end) {
  end = std::min(end, data_.size() >= kHashed ? data_.size() - kHashed + 1 : 0);
  for (; entered_ < end; ++entered_) {
    const std::uint32_t h = hashAt(entered_);
    const std::int32_t before = head_[h];
    // An interval is at most 65536 bytes, so every gap fits 16 bits.
    back_[entered_] = before < 0 ? 0 : static_cast<std::uint16_t>(entered_ - static_cast<std::size_t>(before));
    head_[h] = static_cast<std::int32_t>(entered_);
  }
}

void MatchFinder::skip(std::size_t from, std::size_t to) {
  enterUpTo(from);
  entered_ = std::max(entered_, to);
}

unsigned MatchFinder::longestAllowed(std::size_t p) const {
  const std::size_t frameEnd = (p / kFrameSize + 1) * kFrameSize;
  return static_cast<unsigned>(std::min<std::size_t>(kMaxMatch, std::min(frameEnd, data_.size()) - p));
}

void MatchFinder::find(std::size_t p, unsigned limit, unsigned tries, unsigned enough,
                       std::vector<Match>& matches) {
  matches.clear();
  enterUpTo(p);
  if (limit < kHashed || p + kHashed > data_.size()) return;
  unsigned longest = kHashed - 1;
  const unsigned char* here = data_.data() + p;
  for (std::int32_t candidate = head_[hashAt(p)]; candidate >= 0 && tries > 0; --tries) {
    const auto distance = static_cast<std::uint32_t>(p - static_cast<std::size_t>(candidate));
    if (distance > kMaxDistance) break;
    const std::uint16_t back = back_[static_cast<std::size_t>(candidate)];
    candidate = back == 0 ? -1 : candidate - back;
    // Only a longer match adds anything: check the byte that would make it so first.
    if (here[longest] != (here - distance)[longest]) continue;
    const unsigned length = matchLength(p, distance, limit);
    if (length <= longest) continue;
    longest = length;
    matches.push_back({static_cast<std::uint16_t>(length), static_cast<std::uint16_t>(distance)});
    if (length >= enough || length == limit) break;
  }
}

}  // namespace thc::chm::lzx
