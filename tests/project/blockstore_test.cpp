// Runs handed out by the block store keep their place and their contents
// while later runs of every size are added.
#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "project/blockstore.h"

namespace thc {
namespace {

TEST(BlockStore, RunsStayPutWhateverComesAfter) {
  using Store = BlockStore<int>;
  struct Case {
    const char* what;
    std::vector<size_t> sizes;
  };
  const std::vector<Case> cases = {
      {"small runs filling several blocks", std::vector<size_t>(3000, 17)},
      {"exactly one block", {Store::kBlock / 2, Store::kBlock / 2}},
      {"a run that does not fit the rest of a block", {Store::kBlock - 10, 11, 5}},
      {"large runs between small ones", {3, Store::kOwnBlock + 1, 4, 5 * Store::kBlock, 2}},
      {"the largest shared run", {Store::kOwnBlock, Store::kOwnBlock, Store::kOwnBlock, Store::kOwnBlock, 1}},
  };
  for (const Case& c : cases) {
    Store store;
    std::vector<std::pair<int*, size_t>> runs;
    int value = 0;
    for (size_t size : c.sizes) {
      int* run = store.allocate(size);
      ASSERT_NE(run, nullptr) << c.what;
      for (size_t i = 0; i < size; ++i) run[i] = value + static_cast<int>(i);
      runs.emplace_back(run, size);
      value += static_cast<int>(size);
    }
    value = 0;
    for (auto [run, size] : runs) {
      for (size_t i = 0; i < size; ++i) ASSERT_EQ(run[i], value + static_cast<int>(i)) << c.what;
      value += static_cast<int>(size);
    }
    // No two runs overlap.
    for (size_t a = 0; a < runs.size(); ++a) {
      for (size_t b = a + 1; b < runs.size() && b < a + 4; ++b) {
        const int* endA = runs[a].first + runs[a].second;
        const int* endB = runs[b].first + runs[b].second;
        EXPECT_TRUE(endA <= runs[b].first || endB <= runs[a].first) << c.what;
      }
    }
  }
}

TEST(BlockStore, EmptyRunsAndClearing) {
  BlockStore<char16_t> store;
  EXPECT_EQ(store.allocate(0), nullptr);
  ASSERT_NE(store.allocate(5), nullptr);
  store.clear();
  char16_t* run = store.allocate(3);
  ASSERT_NE(run, nullptr);
  run[2] = u'x';
  EXPECT_EQ(run[2], u'x');
}

}  // namespace
}  // namespace thc
