#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "common/utf.h"
#include "platform/filesystem.h"

namespace thc::platform {

namespace {

// Backslashes of projects written on Windows become our separator.
std::string nativePath(std::u16string_view path) {
  std::string result = toUtf8(path);
  for (char& c : result) {
    if (c == '\\') c = '/';
  }
  return result;
}

// Files are opened without blocking: opening a named pipe that no one reads
// or writes would otherwise wait forever (for writing, such a pipe then fails
// to open). Only regular files are read after this (the callers check), and
// for them the flag changes nothing.
int openForReading(std::u16string_view path) {
  return ::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
}

class PosixInputFile : public InputFile {
 public:
  PosixInputFile(int fd, const struct stat& info) : fd_(fd), info_(info) {}
  ~PosixInputFile() override { ::close(fd_); }
  PosixInputFile(const PosixInputFile&) = delete;
  PosixInputFile& operator=(const PosixInputFile&) = delete;

  FileIdentity identity() const override {
    return FileIdentity{static_cast<uint64_t>(info_.st_dev), static_cast<uint64_t>(info_.st_ino)};
  }

  std::optional<std::string> readAll() override {
    if (::lseek(fd_, 0, SEEK_SET) != 0) return std::nullopt;
    std::string content;
    content.reserve(static_cast<size_t>(info_.st_size));
    char buffer[65536];
    for (;;) {
      ssize_t got = ::read(fd_, buffer, sizeof buffer);
      if (got < 0) {
        if (errno == EINTR) continue;
        return std::nullopt;
      }
      if (got == 0) break;
      content.append(buffer, static_cast<size_t>(got));
    }
    return content;
  }

 private:
  int fd_;
  struct stat info_;
};

}  // namespace

char16_t nativeSeparator() { return u'/'; }

bool createDirectory(std::u16string_view path) {
  return ::mkdir(nativePath(path).c_str(), 0777) == 0;
}

std::optional<std::string> readFile(std::u16string_view path) {
  std::unique_ptr<InputFile> file = InputFile::open(path);
  if (!file) return std::nullopt;
  return file->readAll();
}

std::u16string canonicalPath(std::u16string_view path) {
  char* resolved = ::realpath(nativePath(path).c_str(), nullptr);
  if (!resolved) return {};
  std::u16string result = fromUtf8(resolved);
  std::free(resolved);
  return result;
}

std::unique_ptr<InputFile> InputFile::open(std::u16string_view path) {
  int fd = openForReading(path);
  if (fd < 0) return nullptr;
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<PosixInputFile>(fd, info);
}

}  // namespace thc::platform
