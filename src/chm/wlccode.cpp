#include "chm/wlccode.h"

#include <bit>

namespace thc::chm {

void BitWriter::put(uint32_t value, unsigned count) {
  if (count == 0) return;
  pending_ = (pending_ << count) | (value & ((uint64_t{1} << count) - 1));
  count_ += count;
  while (count_ >= 8) {
    count_ -= 8;
    out_.push_back(static_cast<char>(pending_ >> count_));
  }
  pending_ &= (uint64_t{1} << count_) - 1;
}

void BitWriter::alignToByte() {
  if (count_ != 0) put(0, 8 - count_);
}

void putScaleRoot(BitWriter& bits, uint32_t value, unsigned root) {
  const unsigned length = static_cast<unsigned>(std::bit_width(value));
  // Most codes fit one call: the value's bits with the ones and the 0 above them.
  if (length <= root) {
    bits.put(value, root + 1);
    return;
  }
  const unsigned ones = length - root;
  if (ones + length <= 32) {
    const uint64_t high = ((uint64_t{1} << ones) - 1) << length;
    bits.put(static_cast<uint32_t>(high | (value & ((uint64_t{1} << (length - 1)) - 1))), ones + length);
    return;
  }
  for (unsigned left = ones; left > 0;) {
    const unsigned now = left < 16 ? left : 16;
    bits.put((uint32_t{1} << now) - 1, now);
    left -= now;
  }
  bits.put(0, 1);
  bits.put(value, length - 1);  // the highest bit is implied
}

void RootChooser::count(uint32_t value) { ++byLength_[static_cast<size_t>(std::bit_width(value))]; }

unsigned RootChooser::best() const {
  unsigned bestRoot = 1;
  uint64_t bestBits = UINT64_MAX;
  for (unsigned root = 1; root <= 16; ++root) {
    uint64_t bits = 0;
    for (unsigned length = 0; length < byLength_.size(); ++length) {
      const uint64_t each = length <= root ? 1 + root : 2 * (length - root) + root;
      bits += each * byLength_[length];
    }
    if (bits < bestBits) {
      bestBits = bits;
      bestRoot = root;
    }
  }
  return bestRoot;
}

}  // namespace thc::chm
