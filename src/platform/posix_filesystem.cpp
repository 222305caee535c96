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

}  // namespace

char16_t nativeSeparator() { return u'/'; }

bool createDirectory(std::u16string_view path) {
  return ::mkdir(nativePath(path).c_str(), 0777) == 0;
}

std::optional<std::string> readFile(std::u16string_view path) {
  int fd = openForReading(path);
  if (fd < 0) return std::nullopt;
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  std::string content;
  content.reserve(static_cast<size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return std::nullopt;
    }
    if (got == 0) break;
    content.append(buffer, static_cast<size_t>(got));
  }
  ::close(fd);
  return content;
}

std::u16string canonicalPath(std::u16string_view path) {
  char* resolved = ::realpath(nativePath(path).c_str(), nullptr);
  if (!resolved) return {};
  std::u16string result = fromUtf8(resolved);
  std::free(resolved);
  return result;
}

}  // namespace thc::platform
