#include <windows.h>

#include <random>
#include <string>

#include "platform/scratchfile.h"
#include "platform/win32_text.h"

namespace thc::platform {

namespace {

using win32::Handle;

class Win32ScratchFile : public ScratchFile {
 public:
  explicit Win32ScratchFile(Handle handle) : handle_(std::move(handle)) {}

  bool append(std::string_view bytes) override {
    while (!bytes.empty()) {
      const DWORD wanted = static_cast<DWORD>(bytes.size() < (1u << 30) ? bytes.size() : (1u << 30));
      OVERLAPPED at = positioned(end_);
      DWORD written = 0;
      if (!WriteFile(handle_.get(), bytes.data(), wanted, &written, &at) || written == 0) return false;
      bytes.remove_prefix(written);
      end_ += written;
    }
    return true;
  }

  bool read(std::uint64_t offset, size_t count, std::string& out) override {
    out.resize(count);
    size_t got = 0;
    while (got < count) {
      const DWORD wanted = static_cast<DWORD>(count - got < (1u << 30) ? count - got : (1u << 30));
      OVERLAPPED at = positioned(offset + got);
      DWORD n = 0;
      if (!ReadFile(handle_.get(), out.data() + got, wanted, &n, &at)) {
        if (GetLastError() == ERROR_HANDLE_EOF) break;
        return false;
      }
      if (n == 0) break;
      got += n;
    }
    out.resize(got);
    return true;
  }

 private:
  static OVERLAPPED positioned(std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
  }

  Handle handle_;
  std::uint64_t end_ = 0;
};

}  // namespace

std::unique_ptr<ScratchFile> ScratchFile::create(std::u16string_view directory) {
  // A new name (never an existing file or link), shared with nobody, hidden,
  // and deleted by the system when the handle closes, also for a killed run.
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    std::wstring path = win32::systemPath(directory);
    if (path.empty()) return nullptr;
    path += L".tarnelthc-scratch-" + std::to_wstring(random());
    Handle handle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE |
                                  FILE_FLAG_OPEN_REPARSE_POINT,
                              nullptr));
    if (handle.valid()) return std::make_unique<Win32ScratchFile>(std::move(handle));
    if (GetLastError() != ERROR_FILE_EXISTS) return nullptr;
  }
  return nullptr;
}

}  // namespace thc::platform
