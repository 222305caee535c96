// Worker threads that compress reset intervals while the caller goes on
// filling the next ones; results come back in the order the intervals went in.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "chm/lzx.h"

namespace thc::chm {

class IntervalPool {
 public:
  explicit IntervalPool(unsigned threads);
  ~IntervalPool();
  IntervalPool(const IntervalPool&) = delete;
  IntervalPool& operator=(const IntervalPool&) = delete;

  // False when no worker thread could be started.
  bool running() const { return !workers_.empty(); }

  void submit(std::vector<unsigned char> interval);
  // Intervals submitted and not yet taken back.
  std::size_t inFlight() const;
  // The oldest interval's result: waits for it unless `wait` is false, then
  // none while it is not done.
  std::optional<LzxInterval> takeOldest(bool wait);

 private:
  struct Job {
    std::vector<unsigned char> data;
    LzxInterval result;
    bool done = false;
  };

  void work();

  mutable std::mutex mutex_;
  std::condition_variable jobAdded_;
  std::condition_variable jobDone_;
  std::deque<std::shared_ptr<Job>> waiting_;  // not yet picked by a worker
  std::deque<std::shared_ptr<Job>> order_;    // every job not yet taken back, oldest first
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace thc::chm
