#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "base/utf.h"
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

std::string realPath(const std::string& path) {
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (!resolved) return {};
  std::string result = resolved;
  std::free(resolved);
  return result;
}

// `path` and `folder` are both resolved; the folder itself is not inside.
bool liesInside(const std::string& path, const std::string& folder) {
  if (folder.empty() || path.size() <= folder.size() || path.compare(0, folder.size(), folder) != 0) {
    return false;
  }
  return folder.back() == '/' || path[folder.size()] == '/';
}

bool sameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether the opened file is the one at `resolved`. The kernel names the
// file behind a descriptor in /proc; without /proc the resolved path must
// still lead to the same file.
bool isOpenedAt(int fd, const struct stat& opened, const std::string& resolved) {
  char link[PATH_MAX + 1];
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  ssize_t length = ::readlink(self.c_str(), link, PATH_MAX);
  if (length >= 0) return std::string_view(link, static_cast<size_t>(length)) == resolved;
  struct stat now;
  return realPath(resolved) == resolved && ::stat(resolved.c_str(), &now) == 0 && sameFile(now, opened);
}

// Opens `path` for reading when, with links resolved, it is a regular file
// inside `folder`: resolve, check, open the resolved path without following
// a link, then check that the opened file is the one that was checked (a
// folder on the way may have been swapped for a link meanwhile). -1 when it
// is not; `outside` tells whether it was found elsewhere.
int openResolvedInside(std::u16string_view path, std::u16string_view folder, bool& outside) {
  outside = false;
  const std::string resolved = realPath(nativePath(path));
  if (resolved.empty()) return -1;
  if (!liesInside(resolved, toUtf8(folder))) {
    outside = true;
    return -1;
  }
  // Only a regular file is opened: opening a device can do things.
  struct stat checked;
  if (::stat(resolved.c_str(), &checked) != 0 || !S_ISREG(checked.st_mode)) return -1;
  int fd = ::open(resolved.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
  if (fd < 0) {
    outside = errno == ELOOP;  // a link put in its place
    return -1;
  }
  struct stat opened;
  if (::fstat(fd, &opened) != 0 || !sameFile(opened, checked) || !isOpenedAt(fd, opened, resolved)) {
    ::close(fd);
    outside = true;
    return -1;
  }
  return fd;
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

  uint64_t size() const override { return static_cast<uint64_t>(info_.st_size); }

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

// An opened regular file as an InputFile; none (and the file closed) for
// anything else.
std::unique_ptr<InputFile> inputFile(int fd) {
  if (fd < 0) return nullptr;
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<PosixInputFile>(fd, info);
}

}  // namespace

char16_t nativeSeparator() { return u'/'; }

bool createDirectory(std::u16string_view path) {
  return ::mkdir(nativePath(path).c_str(), 0777) == 0;
}

std::u16string canonicalPath(std::u16string_view path) {
  return fromUtf8(realPath(nativePath(path)));
}

std::optional<std::string> readFileStart(std::u16string_view path, size_t count) {
  int fd = openForReading(path);
  if (fd < 0) return std::nullopt;
  struct stat info;
  std::string content(count, '\0');
  size_t got = 0;
  bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  while (ok && got < count) {
    ssize_t part = ::read(fd, content.data() + got, count - got);
    if (part < 0 && errno == EINTR) continue;
    if (part < 0) ok = false;
    if (part <= 0) break;
    got += static_cast<size_t>(part);
  }
  ::close(fd);
  if (!ok) return std::nullopt;
  content.resize(got);
  return content;
}

bool removeFile(std::u16string_view path) { return ::unlink(nativePath(path).c_str()) == 0; }

std::unique_ptr<InputFile> InputFile::open(std::u16string_view path) {
  return inputFile(openForReading(path));
}

std::unique_ptr<InputFile> InputFile::openInside(std::u16string_view path, std::u16string_view folder,
                                                 bool& outside) {
  return inputFile(openResolvedInside(path, folder, outside));
}

}  // namespace thc::platform
