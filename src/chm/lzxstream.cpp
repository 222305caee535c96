#include "chm/lzxstream.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include "chm/lzxformat.h"

namespace thc::chm {

namespace {

// Intervals a worker may have queued before the caller waits for the oldest.
constexpr std::size_t kQueuedPerThread = 4;

}  // namespace

// With one thread the pool has no worker and compresses each interval as
// it is handed over, on the caller's thread.
LzxStream::LzxStream(LzxSink& sink, unsigned threads)
    : sink_(sink),
      pool_(std::make_unique<IntervalPool>(threads > 1 ? threads : 0,
                                           [] {
                                             return [](std::vector<unsigned char>& interval) {
                                               return compressInterval(interval);
                                             };
                                           })),
      maxInFlight_(kQueuedPerThread * std::max(threads, 1u)) {
  pending_.reserve(lzx::kIntervalSize);
}

LzxStream::~LzxStream() = default;

bool LzxStream::append(std::string_view bytes) {
  if (failed_ || finished_) return false;
  length_ += bytes.size();
  while (!bytes.empty()) {
    const std::size_t room = lzx::kIntervalSize - pending_.size();
    const std::size_t take = std::min(room, bytes.size());
    const std::size_t at = pending_.size();
    pending_.resize(at + take);
    std::memcpy(pending_.data() + at, bytes.data(), take);
    bytes.remove_prefix(take);
    if (pending_.size() == lzx::kIntervalSize) compressPending();
  }
  return !failed_;
}

// Hands the full (or final, padded) interval to the pool.
void LzxStream::compressPending() {
  if (pool_->inFlight() >= maxInFlight_) deliverReady(true);
  if (failed_) {
    pending_.clear();
    return;
  }
  std::vector<unsigned char> interval;
  interval.reserve(lzx::kIntervalSize);
  interval.swap(pending_);
  pool_->submit(std::move(interval));
  deliverReady(false);
}

// Writes out the oldest results that are done; with `wait`, at least one.
void LzxStream::deliverReady(bool wait) {
  while (std::optional<LzxInterval> interval = pool_->takeOldest(wait)) {
    if (!failed_) deliver(*interval);
    wait = false;
  }
}

void LzxStream::deliver(const LzxInterval& interval) {
  std::uint32_t frameStart = 0;
  for (std::uint32_t frameEnd : interval.frameEnds) {
    frameStarts_.push_back(compressedLength_ + frameStart);
    frameStart = frameEnd;
  }
  compressedLength_ += interval.bytes.size();
  if (!sink_.write(interval.bytes)) failed_ = true;
}

std::optional<LzxStream::Result> LzxStream::finish() {
  if (finished_) return std::nullopt;
  const std::uint64_t inFrame = length_ % lzx::kFrameSize;
  if (inFrame == 0) append(std::string_view("\0", 1));
  if (inFrame == lzx::kFrameSize - 1) append(std::string_view("\0\0", 2));
  finished_ = true;
  if (!pending_.empty()) {
    const std::size_t frames = (pending_.size() + lzx::kFrameSize - 1) / lzx::kFrameSize;
    pending_.resize(frames * lzx::kFrameSize, 0);
    compressPending();
  }
  while (pool_->inFlight() > 0) deliverReady(true);
  pool_.reset();
  if (failed_) return std::nullopt;
  return Result{length_, compressedLength_, std::move(frameStarts_)};
}

}  // namespace thc::chm
