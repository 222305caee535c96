// Worker threads that do jobs while the caller goes on preparing the next
// ones; results come back in the order the jobs went in, so what the caller
// makes of them is the same whatever the thread count. Each worker has its
// own state (a decoder, a buffer), made for it when it starts.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace thc::chm {

template <typename Job, typename Result>
class OrderedPool {
 public:
  using Work = std::function<Result(Job&)>;

  // `makeWork` is called once on each worker's own thread. A thread the
  // system refuses leaves the pool with fewer workers, or none; with none,
  // each job is done as it is submitted, on the caller's thread.
  OrderedPool(unsigned threads, std::function<Work()> makeWork) : makeWork_(std::move(makeWork)) {
    for (unsigned i = 0; i < threads; ++i) {
      try {
        workers_.emplace_back([this] { work(); });
      } catch (const std::system_error&) {
        break;
      }
    }
  }

  ~OrderedPool() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    jobAdded_.notify_all();
    for (std::thread& worker : workers_) worker.join();
  }

  OrderedPool(const OrderedPool&) = delete;
  OrderedPool& operator=(const OrderedPool&) = delete;

  // False when no worker thread could be started.
  bool running() const { return !workers_.empty(); }

  void submit(Job job) {
    auto entry = std::make_shared<Entry>();
    entry->job = std::move(job);
    if (workers_.empty()) {
      if (!here_) here_ = makeWork_();
      entry->result = here_(entry->job);
      entry->done = true;
      order_.push_back(std::move(entry));
      return;
    }
    {
      std::lock_guard lock(mutex_);
      waiting_.push_back(entry);
      order_.push_back(std::move(entry));
    }
    jobAdded_.notify_one();
  }

  // Jobs submitted and not yet taken back.
  std::size_t inFlight() const {
    std::lock_guard lock(mutex_);
    return order_.size();
  }

  // The oldest job's result: waits for it unless `wait` is false, then none
  // while it is not done.
  std::optional<Result> takeOldest(bool wait) {
    std::unique_lock lock(mutex_);
    if (order_.empty()) return std::nullopt;
    if (wait) jobDone_.wait(lock, [this] { return order_.front()->done; });
    if (!order_.front()->done) return std::nullopt;
    const std::shared_ptr<Entry> entry = std::move(order_.front());
    order_.pop_front();
    return std::move(entry->result);
  }

 private:
  struct Entry {
    Job job;
    Result result{};
    bool done = false;
  };

  // A worker takes whatever job waits longest; each result depends on its
  // job alone, so which worker takes which changes nothing.
  void work() {
    Work doJob = makeWork_();
    for (;;) {
      std::shared_ptr<Entry> entry;
      {
        std::unique_lock lock(mutex_);
        jobAdded_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
        if (stopping_) return;  // results no one will take
        entry = std::move(waiting_.front());
        waiting_.pop_front();
      }
      Result result = doJob(entry->job);
      {
        std::lock_guard lock(mutex_);
        entry->result = std::move(result);
        entry->job = Job();
        entry->done = true;
      }
      jobDone_.notify_all();
    }
  }

  std::function<Work()> makeWork_;
  Work here_;  // the caller's own, when there is no worker
  mutable std::mutex mutex_;
  std::condition_variable jobAdded_;
  std::condition_variable jobDone_;
  std::deque<std::shared_ptr<Entry>> waiting_;  // not yet picked by a worker
  std::deque<std::shared_ptr<Entry>> order_;    // every job not yet taken back, oldest first
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace thc::chm
