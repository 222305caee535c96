// Writes bits as LZX readers take them: most significant bit first, packed
// into 16-bit words that are stored low byte first.
#pragma once

#include <cstdint>
#include <string>

namespace thc::chm::lzx {

class BitWriter {
 public:
  explicit BitWriter(std::string& out) : out_(out) {}

  // The low `count` bits of `value` (count at most 32).
  void put(std::uint32_t value, unsigned count) {
    if (count == 0) return;
    held_ = (held_ << count) | (value & (0xFFFFFFFFu >> (32 - count)));
    heldBits_ += count;
    while (heldBits_ >= 16) {
      heldBits_ -= 16;
      const auto word = static_cast<std::uint16_t>(held_ >> heldBits_);
      out_.push_back(static_cast<char>(word & 0xFF));
      out_.push_back(static_cast<char>(word >> 8));
    }
  }

  // Zero bits up to the next word boundary; nothing when already there.
  void alignToWord() {
    if (heldBits_ != 0) put(0, 16 - heldBits_);
  }

  // Bits written so far that do not fill a word yet (0..15).
  unsigned pendingBits() const { return heldBits_; }

  // Raw bytes, only at a word boundary.
  void putBytes(const unsigned char* bytes, std::size_t count) {
    out_.append(reinterpret_cast<const char*>(bytes), count);
  }

 private:
  std::string& out_;
  std::uint64_t held_ = 0;
  unsigned heldBits_ = 0;
};

}  // namespace thc::chm::lzx
