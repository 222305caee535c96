#include "project/loader.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <utility>

namespace thc {

namespace {

// Loaded trees not yet taken: enough to keep the reader from waiting, few
// enough that the project's memory is not held twice.
constexpr size_t kAhead = 3;

// How far past the next expected file a request is looked for. The reader
// skips an expected file only for an import cycle, so the match is
// nearly always the next one.
constexpr size_t kLookFor = 8;

}  // namespace

namespace {

ImportedDocument loadOpened(std::unique_ptr<platform::InputFile> file, const ImportChain& chain) {
  ImportedDocument result;
  if (!file) return result;
  result.identity = file->identity();
  if (chain.contains(result.identity)) {
    result.cycle = true;
    return result;
  }
  result.tree = loadDocument(*file);
  return result;
}

}  // namespace

ImportedDocument loadImport(const std::u16string& path, const ImportChain& chain) {
  return loadOpened(platform::InputFile::open(path), chain);
}

ImportedDocument loadImportInside(const std::u16string& path, const ImportChain& chain,
                                  std::u16string_view folder) {
  bool outside = false;
  ImportedDocument result = loadOpened(platform::InputFile::openInside(path, folder, outside), chain);
  result.outside = outside;
  return result;
}

DocumentLoader::~DocumentLoader() { stop(); }

void DocumentLoader::expect(std::vector<std::u16string> paths, const ImportChain& reading) {
  if (paths.empty() || thread_.joinable() || !entries_.empty()) return;
  reading_ = reading;
  entries_.reserve(paths.size());
  for (std::u16string& path : paths) entries_.push_back(Entry{std::move(path), nullptr, {}, false, false, false});
  try {
    thread_ = std::thread(&DocumentLoader::run, this);
  } catch (const std::system_error&) {
    // No second thread to be had: every file is loaded when asked for.
    entries_.clear();
  }
}

ImportedDocument DocumentLoader::load(const std::u16string& path, const ImportChain& chain) {
  if (!thread_.joinable()) return loadImport(path, chain);
  std::unique_lock<std::mutex> lock(mutex_);
  const size_t end = std::min(entries_.size(), next_ + kLookFor);
  size_t found = next_;
  while (found < end && entries_[found].path != path) ++found;
  if (found == end) {
    lock.unlock();
    return loadImport(path, chain);
  }
  for (size_t i = next_; i < found; ++i) {
    entries_[i].dropped = true;
    entries_[i].tree.reset();
  }
  next_ = found + 1;
  if (worker_ <= found) {
    // Not started yet: loading it here is quicker than waiting for it.
    lock.unlock();
    taken_.notify_one();
    return loadImport(path, chain);
  }
  loaded_.wait(lock, [&] { return entries_[found].done; });
  Entry& entry = entries_[found];
  ImportedDocument result;
  result.tree = std::move(entry.tree);
  result.identity = entry.identity;
  const bool failed = entry.failed;
  lock.unlock();
  taken_.notify_one();
  if (failed) return loadImport(path, chain);
  if (chain.contains(result.identity)) {
    // Met deeper down than expected, where it closes a cycle.
    result.tree.reset();
    result.cycle = true;
  }
  return result;
}

void DocumentLoader::run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    taken_.wait(lock, [&] {
      worker_ = std::max(worker_, next_);
      return closing_ || (worker_ < entries_.size() && worker_ < next_ + kAhead);
    });
    if (closing_) return;
    const size_t index = worker_++;
    const std::u16string path = entries_[index].path;
    lock.unlock();
    std::unique_ptr<DocTree> tree;
    platform::FileIdentity identity;
    bool failed = false;
    try {
      if (std::unique_ptr<platform::InputFile> file = platform::InputFile::open(path)) {
        identity = file->identity();
        // A file being read already is left to the reader, which skips it
        // without reading it.
        if (reading_.contains(identity)) {
          failed = true;
        } else {
          tree = loadDocument(*file);
        }
      }
    } catch (const std::exception&) {
      // Out of memory, most likely: the reader tries again and meets the
      // failure where it would have without this thread.
      failed = true;
    }
    lock.lock();
    Entry& entry = entries_[index];
    if (!entry.dropped) {
      entry.tree = std::move(tree);
      entry.identity = identity;
      entry.failed = failed;
    }
    entry.done = true;
    lock.unlock();
    loaded_.notify_all();
    tree.reset();  // dropped by the reader meanwhile; freed outside the lock
    lock.lock();
  }
}

void DocumentLoader::stop() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
  }
  taken_.notify_one();
  thread_.join();
}

}  // namespace thc
