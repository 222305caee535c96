// A byte string that grows in pieces of 1 MiB. A large file of the help
// (the search index above all) is built at its full size and patched in a
// few places before it is compressed; one std::string would copy itself on
// every doubling and hold up to two and a half times its size at the peak.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace thc::chm {

class PieceBuffer {
 public:
  static constexpr size_t kPiece = size_t{1} << 20;

  size_t size() const { return size_; }
  const std::vector<std::string>& pieces() const { return pieces_; }

  void append(std::string_view bytes) {
    while (!bytes.empty()) {
      std::string& last = room();
      const size_t take = std::min(bytes.size(), kPiece - last.size());
      last.append(bytes.substr(0, take));
      bytes.remove_prefix(take);
      size_ += take;
    }
  }

  void append(size_t count, char byte) {
    while (count > 0) {
      std::string& last = room();
      const size_t take = std::min(count, kPiece - last.size());
      last.append(take, byte);
      count -= take;
      size_ += take;
    }
  }

  void push_back(char byte) { append(1, byte); }

  // Overwrites `bytes` bytes at `at` (already written) with `value`, lowest
  // byte first.
  void put(size_t at, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i, ++at) {
      pieces_[at / kPiece][at % kPiece] = static_cast<char>(value >> (8 * i));
    }
  }

 private:
  // The last piece, with room for one byte at least.
  std::string& room() {
    if (pieces_.empty() || pieces_.back().size() == kPiece) {
      pieces_.emplace_back();
      pieces_.back().reserve(kPiece);
    }
    return pieces_.back();
  }

  std::vector<std::string> pieces_;
  size_t size_ = 0;
};

}  // namespace thc::chm
