// The files of a help, opened, read and looked into on worker threads ahead
// of the one the caller stores, and handed out in list order. Files go to
// the workers in batches, so a worker wakes once for many small pages rather
// than for each (waking costs more than a page). A batch reads at most 1 MiB;
// a file that does not fit is left to the caller's thread, which reads it
// when its turn comes, so memory stays bounded whatever the files.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "chm/filework.h"
#include "chm/orderedpool.h"

namespace thc::chm {

class ReadAhead {
 public:
  // Opens one file, or says why it cannot be opened. Called on the worker
  // threads, several at once.
  using Opener = std::function<FileJob(const SourceFile&)>;

  // With fewer than two threads, each batch is done on the caller's thread.
  ReadAhead(unsigned threads, const FileWorkSettings& settings, Opener open);

  // The next file of `files` in order, read; none once all are. The list
  // may have grown since the last call (by the files that pages link to).
  std::optional<ReadFile> next(const std::vector<SourceFile>& files);

 private:
  // A file of a batch: read, or left for the caller to read.
  struct BatchFile {
    std::optional<ReadFile> read;
    SourceFile left;
  };
  using Batch = std::vector<BatchFile>;

  static Batch doBatch(const Opener& open, FileWorker& worker, std::vector<SourceFile>& files);
  void sendAhead(const std::vector<SourceFile>& files);

  Opener open_;
  FileWorker here_;  // reads what the batches left to the caller
  OrderedPool<std::vector<SourceFile>, Batch> pool_;
  size_t sent_ = 0;
  Batch batch_;  // the batch being handed out
  size_t handedOut_ = 0;
};

}  // namespace thc::chm
