#include "chm/intervalpool.h"

#include <system_error>
#include <utility>

namespace thc::chm {

// A thread the system refuses leaves the pool with fewer workers, or none.
IntervalPool::IntervalPool(unsigned threads) {
  for (unsigned i = 0; i < threads; ++i) {
    try {
      workers_.emplace_back([this] { work(); });
    } catch (const std::system_error&) {
      break;
    }
  }
}

IntervalPool::~IntervalPool() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  jobAdded_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

void IntervalPool::submit(std::vector<unsigned char> interval) {
  auto job = std::make_shared<Job>();
  job->data = std::move(interval);
  {
    std::lock_guard lock(mutex_);
    waiting_.push_back(job);
    order_.push_back(std::move(job));
  }
  jobAdded_.notify_one();
}

std::size_t IntervalPool::inFlight() const {
  std::lock_guard lock(mutex_);
  return order_.size();
}

std::optional<LzxInterval> IntervalPool::takeOldest(bool wait) {
  std::unique_lock lock(mutex_);
  if (order_.empty()) return std::nullopt;
  if (wait) jobDone_.wait(lock, [this] { return order_.front()->done; });
  if (!order_.front()->done) return std::nullopt;
  LzxInterval result = std::move(order_.front()->result);
  order_.pop_front();
  return result;
}

// A worker compresses whatever interval waits longest; each result depends on
// its interval alone, so which worker takes which changes no byte.
void IntervalPool::work() {
  for (;;) {
    std::shared_ptr<Job> job;
    {
      std::unique_lock lock(mutex_);
      jobAdded_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
      if (stopping_) return;  // results no one will take
      job = std::move(waiting_.front());
      waiting_.pop_front();
    }
    LzxInterval result = compressInterval(job->data);
    {
      std::lock_guard lock(mutex_);
      job->result = std::move(result);
      job->data = {};
      job->done = true;
    }
    jobDone_.notify_all();
  }
}

}  // namespace thc::chm
