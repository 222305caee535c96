#include "chm/bytelists.h"

#include <cstring>

namespace thc::chm {

namespace {

// Address 0 marks an empty list; the largest slice after it is the sink that
// every allocation gets once the addresses run out.
constexpr uint32_t kSink = 16;

}  // namespace

ByteLists::ByteLists() {
  blocks_.push_back(std::make_unique_for_overwrite<uint8_t[]>(kBlock));
  used_ = kSink + sliceSize(kTopLevel);
}

uint32_t ByteLists::allocate(uint32_t size) {
  if (used_ + size > kBlock) {
    if (blocks_.size() == (size_t{1} << (32 - kBlockBits))) {
      overflowed_ = true;
      return kSink;
    }
    blocks_.push_back(std::make_unique_for_overwrite<uint8_t[]>(kBlock));
    used_ = 0;
  }
  const uint32_t address = static_cast<uint32_t>((blocks_.size() - 1) << kBlockBits) + used_;
  used_ += size;
  return address;
}

void ByteLists::append(List& list, uint8_t byte) {
  if (list.head == 0) {
    list.head = list.tail = allocate(sliceSize(0));
    list.end = list.head + sliceSize(0) - 4;
  } else if (list.tail == list.end) {
    const uint8_t level = list.level < kTopLevel ? static_cast<uint8_t>(list.level + 1) : kTopLevel;
    const uint32_t slice = allocate(sliceSize(level));
    std::memcpy(at(list.end), &slice, 4);
    list.tail = slice;
    list.end = slice + sliceSize(level) - 4;
    list.level = level;
  }
  *at(list.tail++) = byte;
}

void ByteLists::appendNumber(List& list, uint32_t value) {
  while (value >= 0x80) {
    append(list, static_cast<uint8_t>(value | 0x80));
    value >>= 7;
  }
  append(list, static_cast<uint8_t>(value));
}

ByteLists::Reader::Reader(const ByteLists& lists, const List& list)
    : lists_(lists), pos_(list.head), end_(list.head + sliceSize(0) - 4), tail_(list.tail) {}

uint8_t ByteLists::Reader::next() {
  if (pos_ == end_) {
    std::memcpy(&pos_, lists_.at(end_), 4);
    if (level_ < kTopLevel) ++level_;
    end_ = pos_ + sliceSize(level_) - 4;
  }
  return *lists_.at(pos_++);
}

uint32_t ByteLists::Reader::nextNumber() {
  uint32_t value = 0;
  for (unsigned shift = 0;; shift += 7) {
    const uint8_t byte = next();
    value |= static_cast<uint32_t>(byte & 0x7F) << shift;
    if (byte < 0x80) return value;
  }
}

}  // namespace thc::chm
