#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "common/utf.h"
#include "platform/outputdirectory.h"

namespace thc::platform {

namespace {

// The name a new file is written under before it is renamed over an existing
// one. One run holds the folder and stores one file at a time, so one name
// does; a killed run's leftover is removed when the next run opens the folder.
constexpr const char* kTemporaryName = ".tarnelthc.tmp";

constexpr size_t kReadSize = 64 * 1024;

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) return false;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// Reads up to `size` bytes, fewer only at the end of the file.
ssize_t readFully(int fd, char* buffer, size_t size) {
  size_t got = 0;
  while (got < size) {
    ssize_t n = ::read(fd, buffer + got, size - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  return static_cast<ssize_t>(got);
}

bool writeSource(int fd, ByteSource& source) {
  if (!source.restart()) return false;
  for (;;) {
    std::string_view piece;
    if (!source.next(piece)) return false;
    if (piece.empty()) return true;
    if (!writeAll(fd, piece)) return false;
  }
}

// True when fd reads exactly the source's bytes.
bool holdsBytes(int fd, ByteSource& source) {
  if (!source.restart()) return false;
  static thread_local char buffer[kReadSize];
  for (;;) {
    std::string_view piece;
    if (!source.next(piece)) return false;
    if (piece.empty()) break;
    while (!piece.empty()) {
      const size_t take = piece.size() < kReadSize ? piece.size() : kReadSize;
      if (readFully(fd, buffer, take) != static_cast<ssize_t>(take)) return false;
      if (std::memcmp(buffer, piece.data(), take) != 0) return false;
      piece.remove_prefix(take);
    }
  }
  return readFully(fd, buffer, 1) == 0;
}

class PosixOutputDirectory : public OutputDirectory {
 public:
  // fd < 0: a folder that could not be opened.
  explicit PosixOutputDirectory(int fd) : fd_(fd) {}
  ~PosixOutputDirectory() override {
    if (fd_ >= 0) ::close(fd_);
  }

  StoreResult store(std::u16string_view name, ByteSource& source) override {
    if (fd_ < 0) return StoreResult::NotCreated;
    const std::string file = toUtf8(name);
    int fd = ::openat(fd_, file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) return finishNewFile(fd, file, file, source);
    if (errno != EEXIST) return StoreResult::NotCreated;
    if (holdsSameFile(file, source)) return StoreResult::Unchanged;
    return replace(file, source);
  }

  void remove(std::u16string_view name) override {
    if (fd_ >= 0) ::unlinkat(fd_, toUtf8(name).c_str(), 0);
  }

 private:
  // Writes and closes a file created under `written`, then gives it the
  // name `file`; a file that was not written whole is removed.
  StoreResult finishNewFile(int fd, const std::string& written, const std::string& file,
                            ByteSource& source) {
    bool ok = writeSource(fd, source);
    if (::close(fd) != 0) ok = false;
    if (!ok) {
      ::unlinkat(fd_, written.c_str(), 0);
      return StoreResult::NotWritten;
    }
    if (written == file) return StoreResult::Stored;
    if (::renameat(fd_, written.c_str(), fd_, file.c_str()) != 0) {
      ::unlinkat(fd_, written.c_str(), 0);
      return StoreResult::NotCreated;
    }
    return StoreResult::Stored;
  }

  // A regular file with no other name that holds exactly the new bytes is
  // left alone; a link of either kind never counts, so it is replaced.
  bool holdsSameFile(const std::string& file, ByteSource& source) {
    int fd = ::openat(fd_, file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info;
    bool same = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 1;
    if (same) {
      std::optional<std::uint64_t> size = source.size();
      same = (!size || *size == static_cast<std::uint64_t>(info.st_size)) && holdsBytes(fd, source);
    }
    ::close(fd);
    return same;
  }

  StoreResult replace(const std::string& file, ByteSource& source) {
    ::unlinkat(fd_, kTemporaryName, 0);
    int fd = ::openat(fd_, kTemporaryName, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return StoreResult::NotCreated;
    return finishNewFile(fd, kTemporaryName, file, source);
  }

  int fd_;
};

}  // namespace

std::unique_ptr<OutputDirectory> OutputDirectory::open(std::u16string_view path, OpenStatus& status) {
  int fd = ::open(toUtf8(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    status = OpenStatus::Unavailable;
    return std::make_unique<PosixOutputDirectory>(-1);
  }
  // A lock on the folder itself: no file to leave behind, and the system
  // drops it with the process's last descriptor, also when it is killed.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
    ::close(fd);
    status = OpenStatus::InUse;
    return nullptr;
  }
  ::unlinkat(fd, kTemporaryName, 0);
  status = OpenStatus::Opened;
  return std::make_unique<PosixOutputDirectory>(fd);
}

void keepRunningOnFailedWrites() {
  // Dispositions set to ignore survive exec; a compiler started later gets
  // its defaults back from the code that starts it.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace thc::platform
