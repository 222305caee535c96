#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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

// How much more is read at a time of a file that has grown since it was opened.
constexpr size_t kReadPiece = 65536;

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

  // Read in place from the start, without moving the file's position: the
  // size known when it was opened and a byte more to see the end, then on
  // to the end should the file have grown meanwhile.
  std::optional<std::string> readAll() override {
    const auto known = static_cast<size_t>(info_.st_size);
    std::string content(known + 1, '\0');
    size_t got = 0;
    for (;;) {
      if (got == content.size()) content.resize(got + kReadPiece);
      const size_t wanted = content.size() - got;
      const ssize_t part = ::pread(fd_, content.data() + got, wanted, static_cast<off_t>(got));
      if (part < 0 && errno == EINTR) continue;
      if (part < 0) return std::nullopt;
      if (part == 0) break;
      got += static_cast<size_t>(part);
      // Fewer bytes than asked for, ending at the size it had: the end,
      // told without another call (calls are dear on virtual machines). A
      // short read anywhere else reads on.
      if (static_cast<size_t>(part) < wanted && got == known) break;
    }
    content.resize(got);
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

// A descriptor closed when it goes, unless released.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Descriptor& operator=(Descriptor&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// A folder that is only walked through: O_PATH, where the system has it,
// neither needs the right to list the folder nor reads it. A link in the
// folder's place is not followed.
#ifdef O_PATH
constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
#else
constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
#endif

// The names of a relative path, or none when one is empty, "." or "..": a
// path of plain names only can be walked without resolving anything.
std::optional<std::vector<std::string>> plainNames(std::u16string_view relative) {
  const std::string path = nativePath(relative);
  std::vector<std::string> names;
  size_t start = 0;
  for (;;) {
    const size_t end = path.find('/', start);
    std::string name = path.substr(start, end == std::string::npos ? end : end - start);
    if (name.empty() || name == "." || name == ".." || name.find('\0') != std::string::npos) return std::nullopt;
    names.push_back(std::move(name));
    if (end == std::string::npos) return names;
    start = end + 1;
  }
}

// What walking plain names below a folder came to. Anything unexpected (a
// link, a folder that may not be entered) is left to resolving the path.
enum class Walk { Opened, Unreadable, Resolve };

Walk resolveUnlessMissing() { return errno == ENOENT ? Walk::Unreadable : Walk::Resolve; }

// Opens the regular file at `names` below the folder `at` without following
// a link or going up, so what it opens lies inside by construction. Like
// openResolvedInside it looks before it opens, so no device or pipe is
// opened, and then checks that it opened the file it looked at.
Walk openPlain(int at, const std::vector<std::string>& names, Descriptor& file, struct stat& info) {
  Descriptor folder;
  for (size_t i = 0; i + 1 < names.size(); ++i) {
    Descriptor next(::openat(at, names[i].c_str(), kFolderFlags));
    if (next.get() < 0) return resolveUnlessMissing();
    folder = std::move(next);
    at = folder.get();
  }
  const char* name = names.back().c_str();
  struct stat checked;
  if (::fstatat(at, name, &checked, AT_SYMLINK_NOFOLLOW) != 0) return resolveUnlessMissing();
  if (S_ISLNK(checked.st_mode)) return Walk::Resolve;
  if (!S_ISREG(checked.st_mode)) return Walk::Unreadable;
  file = Descriptor(::openat(at, name, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW));
  if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !sameFile(info, checked)) return Walk::Resolve;
  return Walk::Opened;
}

// The folder stays open: its files are found from it, not from its path.
class PosixConfinedFolder : public ConfinedFolder {
 public:
  PosixConfinedFolder(Descriptor folder, std::u16string path) : folder_(std::move(folder)), path_(std::move(path)) {}

  std::unique_ptr<InputFile> openFile(std::u16string_view relative, bool& outside) const override {
    outside = false;
    if (const std::optional<std::vector<std::string>> names = plainNames(relative)) {
      Descriptor file;
      struct stat info;
      const Walk walk = openPlain(folder_.get(), *names, file, info);
      if (walk == Walk::Opened) return std::make_unique<PosixInputFile>(file.release(), info);
      if (walk == Walk::Unreadable) return nullptr;
    }
    return inputFile(openResolvedInside(path_ + u"/" + std::u16string(relative), path_, outside));
  }

 private:
  Descriptor folder_;
  std::u16string path_;
};

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

std::unique_ptr<ConfinedFolder> ConfinedFolder::open(std::u16string_view folder) {
  const std::string path = toUtf8(folder);
  Descriptor opened(::open(path.c_str(), kFolderFlags));
  struct stat info;
  // The folder opened must be the one the canonical path names.
  if (path.empty() || opened.get() < 0 || ::fstat(opened.get(), &info) != 0 || !isOpenedAt(opened.get(), info, path)) {
    return nullptr;
  }
  return std::make_unique<PosixConfinedFolder>(std::move(opened), std::u16string(folder));
}

}  // namespace thc::platform
