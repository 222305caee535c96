// The scale-and-root codes in which the search index stores where its words
// occur: per topic the distance from the previous topic, the number of
// occurrences and the distance of each from the one before. Scale 2 is all
// that readers accept; the root (the bits of a small value) is the index's
// choice, one for each of the three kinds of number.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace thc::chm {

// Bits written from bit 7 of each byte downward.
class BitWriter {
 public:
  explicit BitWriter(std::string& out) : out_(out) {}
  ~BitWriter() { alignToByte(); }
  BitWriter(const BitWriter&) = delete;
  BitWriter& operator=(const BitWriter&) = delete;

  // The lowest `count` bits of the value, highest first (count <= 32).
  void put(uint32_t value, unsigned count);
  // Fills the last byte with zero bits.
  void alignToByte();

 private:
  std::string& out_;
  uint64_t pending_ = 0;  // the lowest `count_` bits are not written yet
  unsigned count_ = 0;
};

// A value with root r: a value below 2^r is a 0 and its r bits; a larger one
// of n bits is (n - r) ones, a 0 and its lower n - 1 bits.
void putScaleRoot(BitWriter& bits, uint32_t value, unsigned root);

// Counts values by their bit length to choose the root that codes them in
// the fewest bits.
class RootChooser {
 public:
  void count(uint32_t value);
  // Between 1 and 16.
  unsigned best() const;

 private:
  std::array<uint64_t, 33> byLength_{};
};

}  // namespace thc::chm
