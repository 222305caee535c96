#include "linkcheck/readback.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>

#include "common/utf.h"
#include "linkcheck/linkcheck.h"
#include "platform/filesystem.h"

namespace thc {

namespace {

// The value of a "Key=value" line of the help project file, "" when none.
std::u16string projectSetting(std::string_view project, std::string_view key) {
  size_t pos = 0;
  while (pos < project.size()) {
    size_t end = project.find('\n', pos);
    if (end == std::string_view::npos) end = project.size();
    std::string_view line = project.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.starts_with(key) && line.substr(key.size()).starts_with('=')) {
      return fromUtf8(line.substr(key.size() + 1));
    }
    pos = end + 1;
  }
  return {};
}

// Reads files in order on a second thread, ahead of the checker, so reading
// (mostly the kernel's work) and checking overlap. Files are handed over in
// batches, each one string that is used again: a hand-over or an allocation
// per file would cost more than the file's check. Without a second thread
// each file is read when it is asked for.
class ReadAhead {
 public:
  // Reads folder + name for each name; both must outlive the reader.
  ReadAhead(const std::u16string& folder, const std::vector<std::u16string>& names)
      : folder_(folder), names_(names) {
    try {
      thread_ = std::thread(&ReadAhead::run, this);
    } catch (const std::system_error&) {
    }
  }
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;
  ~ReadAhead() {
    if (!thread_.joinable()) return;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      closing_ = true;
    }
    changed_.notify_all();
    thread_.join();
  }

  // The content of the next path, valid until the next call; none when it
  // could not be read.
  std::optional<std::string_view> next() {
    if (!thread_.joinable()) {
      current_.bytes.clear();
      if (!platform::appendFile(folder_ + names_[next_++], current_.bytes)) return std::nullopt;
      return std::string_view(current_.bytes);
    }
    if (currentNext_ == current_.files.size()) takeBatch();
    const File& file = current_.files[currentNext_++];
    if (!file.read) return std::nullopt;
    return std::string_view(current_.bytes).substr(file.start, file.size);
  }

 private:
  struct File {
    size_t start;
    size_t size;
    bool read;
  };
  struct Batch {
    std::string bytes;
    std::vector<File> files;
  };
  // A batch ends at this many files or bytes, whichever comes first; two
  // batches are read ahead at most, so the output is never held.
  static constexpr size_t kBatchFiles = 256;
  static constexpr size_t kBatchBytes = 4 << 20;
  static constexpr size_t kBatchesAhead = 2;

  // Hands the finished batch back for reuse and takes the next one.
  void takeBatch() {
    std::unique_lock<std::mutex> lock(mutex_);
    spare_.push_back(std::move(current_));
    changed_.wait(lock, [&] { return !ready_.empty(); });
    current_ = std::move(ready_.front());
    ready_.pop_front();
    currentNext_ = 0;
    lock.unlock();
    changed_.notify_all();
  }

  // A spare batch, emptied, or a new one.
  Batch emptyBatch() {
    std::lock_guard<std::mutex> lock(mutex_);
    Batch batch;
    if (!spare_.empty()) {
      batch = std::move(spare_.back());
      spare_.pop_back();
    }
    batch.bytes.clear();
    batch.files.clear();
    return batch;
  }

  void readInto(Batch& batch, const std::u16string& path) {
    const size_t start = batch.bytes.size();
    bool read = false;
    try {
      read = platform::appendFile(path, batch.bytes);
    } catch (const std::exception&) {
      // Out of memory: the file counts by its name only.
    }
    batch.files.push_back(File{start, batch.bytes.size() - start, read});
  }

  void run() {
    Batch batch = emptyBatch();
    std::u16string path = folder_;
    for (size_t i = 0; i < names_.size(); ++i) {
      path.resize(folder_.size());
      path += names_[i];
      readInto(batch, path);
      const bool full = batch.files.size() >= kBatchFiles || batch.bytes.size() >= kBatchBytes;
      if (!full && i + 1 < names_.size()) continue;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return closing_ || ready_.size() < kBatchesAhead; });
        if (closing_) return;
        ready_.push_back(std::move(batch));
      }
      changed_.notify_all();
      batch = emptyBatch();
    }
  }

  const std::u16string& folder_;
  const std::vector<std::u16string>& names_;
  size_t next_ = 0;  // the next path asked for, without a second thread
  Batch current_;    // the batch being handed out
  size_t currentNext_ = 0;
  std::mutex mutex_;
  std::condition_variable changed_;  // a batch was read or taken, or closing
  std::deque<Batch> ready_;
  std::vector<Batch> spare_;
  bool closing_ = false;
  std::thread thread_;
};

// The written files read back; a file that cannot be read any more still
// counts by its name.
void feed(LinkChecker& checker, const std::u16string& folder, const std::vector<std::u16string>& names) {
  ReadAhead files(folder, names);
  for (const std::u16string& name : names) {
    std::optional<std::string_view> bytes = files.next();
    if (bytes) {
      checker.addFile(name, *bytes);
    } else {
      checker.addName(name);
    }
  }
}

void report(const LinkFindings& findings, Console& console) {
  for (const BrokenLink& link : findings.broken) {
    console.writeLine(u"Broken link in " + link.file + u": " + link.target);
  }
  for (const auto& [first, second] : findings.caseClashes) {
    console.writeLine(u"Names differ only in case: " + first + u", " + second);
  }
}

}  // namespace

bool checkWrittenLinks(const ProjectModel& model, Console& console,
                       const std::vector<std::u16string>& otherFiles) {
  console.writeLine(u"Checking links ...");
  LinkChecker checker;
  feed(checker, model.outputDir, model.generatedFiles);
  // The help files are the ones the project file names, as the compiler
  // will take them.
  const std::u16string projectName = u"document.hhp";
  if (std::optional<std::string> project = platform::readFile(model.outputDir + projectName)) {
    checker.addFile(projectName, *project);
    std::vector<std::u16string> helpFiles;
    for (std::string_view key : {"Contents file", "Index file"}) {
      const std::u16string name = projectSetting(*project, key);
      if (!name.empty()) helpFiles.push_back(name);
    }
    feed(checker, model.outputDir, helpFiles);
  }
  for (const std::u16string& name : otherFiles) checker.addName(name);

  const LinkFindings findings = checker.finish();
  report(findings, console);
  console.writeLine(findings.clean() ? u"done" : u"Broken links found");
  return findings.clean();
}

}  // namespace thc
