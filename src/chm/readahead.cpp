#include "chm/readahead.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

namespace thc::chm {

namespace {

// A batch holds at most this many files, and reads at most this many bytes.
constexpr size_t kBatchFiles = 32;
constexpr std::uint64_t kBatchBytes = std::uint64_t{1} << 20;
// Batches with the workers at once: enough to keep them busy while the
// caller stores.
constexpr size_t kBatchesAhead = 8;

}  // namespace

ReadAhead::ReadAhead(unsigned threads, const FileWorkSettings& settings, Opener open)
    : open_(std::move(open)),
      here_(settings),
      pool_(threads > 1 ? threads : 0, [this, &settings] {
        auto worker = std::make_shared<FileWorker>(settings);
        return [this, worker](std::vector<SourceFile>& files) { return doBatch(open_, *worker, files); };
      }) {}

ReadAhead::Batch ReadAhead::doBatch(const Opener& open, FileWorker& worker, std::vector<SourceFile>& files) {
  Batch batch(files.size());
  std::uint64_t bytes = 0;
  for (size_t i = 0; i < files.size(); ++i) {
    FileJob job = open(files[i]);
    const std::uint64_t size = job.input ? job.input->size() : 0;
    if (size > kBatchBytes - bytes) {
      // Closed again, so that no more files are open than are read.
      batch[i].left = std::move(files[i]);
      continue;
    }
    bytes += size;
    batch[i].read = worker.read(job);
  }
  return batch;
}

void ReadAhead::sendAhead(const std::vector<SourceFile>& files) {
  while (sent_ < files.size() && pool_.inFlight() < kBatchesAhead) {
    const size_t end = std::min(files.size(), sent_ + kBatchFiles);
    pool_.submit(std::vector<SourceFile>(files.begin() + static_cast<std::ptrdiff_t>(sent_),
                                         files.begin() + static_cast<std::ptrdiff_t>(end)));
    sent_ = end;
  }
}

std::optional<ReadFile> ReadAhead::next(const std::vector<SourceFile>& files) {
  if (handedOut_ == batch_.size()) {
    sendAhead(files);
    std::optional<Batch> batch = pool_.takeOldest(true);
    if (!batch) return std::nullopt;
    batch_ = std::move(*batch);
    handedOut_ = 0;
  }
  BatchFile& file = batch_[handedOut_++];
  if (file.read) return std::move(file.read);
  FileJob job = open_(file.left);
  return here_.read(job);
}

}  // namespace thc::chm
