// Runs of values that stay where they were put until the whole store is
// cleared: the text and attributes of a document tree. Small runs are cut
// from shared blocks, so a document of a million short texts costs a few
// hundred allocations instead of a million. The shared blocks grow with what
// the store holds, from kFirstBlock up to kBlock, so a document of a few
// bytes costs a few bytes, not a block sized for a large one.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

namespace thc {

template <typename T>
class BlockStore {
 public:
  static constexpr size_t kFirstBlock = 16;
  static constexpr size_t kBlock = 16384;
  // A run longer than this gets a block of its own, so the unused end of a
  // full-sized shared block is never more than a quarter of it.
  static constexpr size_t kOwnBlock = kBlock / 4;

  // Room for `count` values, default-initialised. None for a count of 0.
  T* allocate(size_t count) {
    if (count == 0) return nullptr;
    held_ += count;
    if (count > kOwnBlock) return blocks_.emplace_back(std::make_unique_for_overwrite<T[]>(count)).get();
    if (count > capacity_ - used_) {
      // The next block is as large as all that is held so far: the blocks
      // double until they reach kBlock, so the blocks add up to about twice
      // the values at most, and a large store still takes few allocations.
      capacity_ = std::max(count, std::clamp(held_, kFirstBlock, kBlock));
      shared_ = blocks_.emplace_back(std::make_unique_for_overwrite<T[]>(capacity_)).get();
      used_ = 0;
    }
    T* run = shared_ + used_;
    used_ += count;
    return run;
  }

  void clear() {
    std::vector<std::unique_ptr<T[]>>().swap(blocks_);
    shared_ = nullptr;
    capacity_ = 0;
    used_ = 0;
    held_ = 0;
  }

 private:
  std::vector<std::unique_ptr<T[]>> blocks_;
  T* shared_ = nullptr;  // the block small runs are cut from
  size_t capacity_ = 0;  // of shared_
  size_t used_ = 0;      // of shared_
  size_t held_ = 0;      // values handed out since the last clear
};

}  // namespace thc
