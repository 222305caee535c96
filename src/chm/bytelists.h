// Many growing byte strings in shared blocks: the postings of every word of
// a search index. A list starts as a slice of 16 bytes and goes on in slices
// twice the size of its last, up to 1 KiB, each slice's last four bytes
// leading to the next; so a word seen once costs 16 bytes, not the string
// and heap overhead of a container of its own, and a long list wastes at
// most half of its last slice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace thc::chm {

class ByteLists {
 public:
  struct List {
    uint32_t head = 0;  // where the first slice starts; 0 while empty
    uint32_t tail = 0;  // where the next byte goes
    uint32_t end = 0;   // where the room of the slice holding `tail` ends
    uint8_t level = 0;  // of that slice
  };

  // Reads a list's bytes from the start, while no more are appended.
  class Reader {
   public:
    Reader(const ByteLists& lists, const List& list);
    bool atEnd() const { return pos_ == tail_; }
    uint8_t next();
    // A number that ByteLists::appendNumber wrote.
    uint32_t nextNumber();

   private:
    const ByteLists& lists_;
    uint32_t pos_;
    uint32_t end_;
    uint32_t tail_;
    uint8_t level_ = 0;
  };

  ByteLists();

  void append(List& list, uint8_t byte);
  // In groups of seven bits, lowest first, all but the last with bit 7 set.
  void appendNumber(List& list, uint32_t value);
  // The bytes the blocks take, for measuring.
  size_t footprint() const { return blocks_.size() * kBlock; }
  // True once the lists outgrew 4 GiB: from then on appended bytes are lost,
  // and an index over them could not address its data anyway.
  bool overflowed() const { return overflowed_; }

 private:
  static constexpr uint32_t kBlockBits = 16;
  static constexpr uint32_t kBlock = uint32_t{1} << kBlockBits;
  static constexpr uint8_t kTopLevel = 6;
  static constexpr uint32_t sliceSize(uint8_t level) { return uint32_t{16} << level; }

  // A new slice inside one block; the sink once the addresses run out.
  uint32_t allocate(uint32_t size);
  uint8_t* at(uint32_t address) { return blocks_[address >> kBlockBits].get() + (address & (kBlock - 1)); }
  const uint8_t* at(uint32_t address) const {
    return blocks_[address >> kBlockBits].get() + (address & (kBlock - 1));
  }

  std::vector<std::unique_ptr<uint8_t[]>> blocks_;
  uint32_t used_;  // of the last block
  bool overflowed_ = false;
};

}  // namespace thc::chm
