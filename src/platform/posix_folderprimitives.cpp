#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "base/utf.h"
#include "platform/folderprimitives.h"
#include "platform/outputdirectory.h"

namespace thc::platform {

namespace {

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

class PosixFile : public FolderFile {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override {
    if (fd_ >= 0) ::close(fd_);
  }

  bool write(std::string_view bytes) override { return writeAll(fd_, bytes); }

  std::optional<size_t> read(char* buffer, size_t size) override {
    size_t got = 0;
    while (got < size) {
      ssize_t n = ::read(fd_, buffer + got, size - got);
      if (n < 0) {
        if (errno == EINTR) continue;
        return std::nullopt;
      }
      if (n == 0) break;
      got += static_cast<size_t>(n);
    }
    return got;
  }

  bool close() override {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

// The folder as a descriptor: every name is looked up inside it, so the
// folder cannot be swapped for another under the run.
class PosixFolder : public FolderPrimitives {
 public:
  explicit PosixFolder(int fd) : fd_(fd) {}
  ~PosixFolder() override { ::close(fd_); }

  std::unique_ptr<FolderFile> create(std::u16string_view name, CreateResult& result) override {
    int fd = ::openat(fd_, toUtf8(name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
      result = errno == EEXIST ? CreateResult::Exists : CreateResult::Failed;
      return nullptr;
    }
    result = CreateResult::Created;
    return std::make_unique<PosixFile>(fd);
  }

  std::unique_ptr<FolderFile> openPlain(std::u16string_view name, std::uint64_t& size) override {
    // O_NONBLOCK: a named pipe under the name must not hold the run.
    int fd = ::openat(fd_, toUtf8(name).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    auto file = std::make_unique<PosixFile>(fd);
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_nlink != 1) return nullptr;
    size = static_cast<std::uint64_t>(info.st_size);
    return file;
  }

  bool renameOver(std::u16string_view from, std::u16string_view to) override {
    return ::renameat(fd_, toUtf8(from).c_str(), fd_, toUtf8(to).c_str()) == 0;
  }

  void remove(std::u16string_view name) override { ::unlinkat(fd_, toUtf8(name).c_str(), 0); }

 private:
  int fd_;
};

}  // namespace

std::unique_ptr<FolderPrimitives> openFolder(std::u16string_view path, FolderOpenStatus& status) {
  int fd = ::open(toUtf8(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    status = FolderOpenStatus::Unavailable;
    return nullptr;
  }
  // A lock on the folder itself: no file to leave behind, and the system
  // drops it with the process's last descriptor, also when it is killed.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
    ::close(fd);
    status = FolderOpenStatus::InUse;
    return nullptr;
  }
  status = FolderOpenStatus::Opened;
  return std::make_unique<PosixFolder>(fd);
}

void keepRunningOnFailedWrites() {
  // Dispositions set to ignore survive exec; a compiler started later gets
  // its defaults back from the code that starts it.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace thc::platform
