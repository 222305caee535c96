#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "base/utf.h"
#include "platform/scratchfile.h"

namespace thc::platform {

namespace {

class PosixScratchFile : public ScratchFile {
 public:
  explicit PosixScratchFile(int fd) : fd_(fd) {}
  ~PosixScratchFile() override { ::close(fd_); }
  PosixScratchFile(const PosixScratchFile&) = delete;
  PosixScratchFile& operator=(const PosixScratchFile&) = delete;

  bool append(std::string_view bytes) override {
    while (!bytes.empty()) {
      const ssize_t n = ::pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(end_));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      bytes.remove_prefix(static_cast<size_t>(n));
      end_ += static_cast<std::uint64_t>(n);
    }
    return true;
  }

  bool read(std::uint64_t offset, size_t count, std::string& out) override {
    out.resize(count);
    size_t got = 0;
    while (got < count) {
      const ssize_t n = ::pread(fd_, out.data() + got, count - got, static_cast<off_t>(offset + got));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return false;
      if (n == 0) break;
      got += static_cast<size_t>(n);
    }
    out.resize(got);
    return true;
  }

 private:
  int fd_;
  std::uint64_t end_ = 0;
};

// Where the system cannot make a file without a name, one is made under a
// name nobody can have planted (created exclusively, never through a link)
// and the name is removed at once.
int createUnlinked(const std::string& directory) {
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::string path = directory + ".tarnelthc-scratch-" + std::to_string(random());
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::unlink(path.c_str());
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

}  // namespace

std::unique_ptr<ScratchFile> ScratchFile::create(std::u16string_view directory) {
  std::string path = toUtf8(directory);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  int fd = -1;
#ifdef O_TMPFILE
  fd = ::open(path.empty() ? "." : path.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
#endif
  if (fd < 0) fd = createUnlinked(path);
  if (fd < 0) return nullptr;
  return std::make_unique<PosixScratchFile>(fd);
}

}  // namespace thc::platform
