// Runs of values that stay where they were put until the whole store is
// cleared: the text and attributes of a document tree. Small runs are cut
// from shared blocks, so a document of a million short texts costs a few
// hundred allocations instead of a million.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace thc {

template <typename T>
class BlockStore {
 public:
  static constexpr size_t kBlock = 16384;
  // A run longer than this gets a block of its own, so the unused end of a
  // shared block is never more than a quarter of it.
  static constexpr size_t kOwnBlock = kBlock / 4;

  // Room for `count` values, default-initialised. None for a count of 0.
  T* allocate(size_t count) {
    if (count == 0) return nullptr;
    if (count > kOwnBlock) return blocks_.emplace_back(std::make_unique_for_overwrite<T[]>(count)).get();
    if (count > kBlock - used_ || !shared_) {
      shared_ = blocks_.emplace_back(std::make_unique_for_overwrite<T[]>(kBlock)).get();
      used_ = 0;
    }
    T* run = shared_ + used_;
    used_ += count;
    return run;
  }

  void clear() {
    std::vector<std::unique_ptr<T[]>>().swap(blocks_);
    shared_ = nullptr;
    used_ = 0;
  }

 private:
  std::vector<std::unique_ptr<T[]>> blocks_;
  T* shared_ = nullptr;  // the block small runs are cut from
  size_t used_ = 0;      // of shared_
};

}  // namespace thc
