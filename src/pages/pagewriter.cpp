#include "pages/pagewriter.h"

#include <system_error>
#include <utility>

#include "pages/frame.h"

namespace thc {

namespace {

// The code units of the bodies waiting to be written: enough to keep the
// writer busy, small beside the project itself.
constexpr size_t kMaxQueuedUnits = size_t{4} << 20;

// Each wake-up is a system call on both sides, so the writer is woken for a
// few pages at a time, and a builder waiting for room only once half the
// queue is written.
constexpr size_t kWakeWriterPages = 8;
constexpr size_t kWakeBuilderUnits = kMaxQueuedUnits / 2;

}  // namespace

PageWriter::PageWriter(OutputFolder& folder) : folder_(folder) {
  try {
    worker_ = std::thread(&PageWriter::run, this);
  } catch (const std::system_error&) {
    // No second thread to be had: every page is then written at once.
  }
}

PageWriter::~PageWriter() { stop(); }

WriteOutcome PageWriter::writeOne(const Page& page) const {
  return writeFramedPage(folder_, page.file, page.title, page.body);
}

void PageWriter::write(std::u16string file, std::u16string title, std::u16string body) {
  files_.push_back(file);
  Page page{std::move(file), std::move(title), std::move(body)};
  if (!worker_.joinable()) {
    outcomes_.push_back(writeOne(page));
    return;
  }
  const size_t units = page.body.size();
  std::unique_lock<std::mutex> lock(mutex_);
  builderWaiting_ = true;
  pageTaken_.wait(lock, [&] { return queue_.empty() || queuedUnits_ < kMaxQueuedUnits; });
  builderWaiting_ = false;
  queuedUnits_ += units;
  queue_.push_back(std::move(page));
  const bool wake = writerWaiting_ && (queue_.size() >= kWakeWriterPages || queuedUnits_ >= kWakeBuilderUnits);
  lock.unlock();
  if (wake) pageQueued_.notify_one();
}

void PageWriter::run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    writerWaiting_ = true;
    pageQueued_.wait(lock, [&] { return closing_ || !queue_.empty(); });
    writerWaiting_ = false;
    if (queue_.empty()) return;  // closing, and nothing left to write
    Page page = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    // Only this thread touches outcomes_ until it is joined.
    outcomes_.push_back(writeOne(page));
    lock.lock();
    queuedUnits_ -= page.body.size();
    if (builderWaiting_ && (queue_.empty() || queuedUnits_ <= kWakeBuilderUnits)) pageTaken_.notify_one();
  }
}

void PageWriter::stop() {
  if (!worker_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
  }
  pageQueued_.notify_one();
  worker_.join();
}

bool PageWriter::finish(Console& console, std::vector<std::u16string>& written) {
  stop();
  bool allWritten = true;
  for (size_t i = 0; i < files_.size(); ++i) {
    if (!reportWriteOutcome(console, outcomes_[i], folder_.path() + files_[i])) {
      allWritten = false;
      continue;
    }
    written.push_back(std::move(files_[i]));
  }
  files_.clear();
  outcomes_.clear();
  return allWritten;
}

}  // namespace thc
