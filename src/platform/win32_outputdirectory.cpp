#include <windows.h>

#include <cstring>
#include <string>

#include "platform/outputdirectory.h"
#include "platform/win32_text.h"

namespace thc::platform {

namespace {

using win32::Handle;
using win32::isDiskFile;

// The name a new file is written under before it replaces an existing one;
// one run holds the folder and stores one file at a time.
constexpr const wchar_t* kTemporaryName = L".tarnelthc.tmp";
// Held open without sharing for the whole run and deleted when the last
// handle closes, which the system does for a killed process too.
constexpr const wchar_t* kLockName = L".tarnelthc.lock";

constexpr DWORD kReadSize = 64 * 1024;

bool writeAll(HANDLE file, std::string_view bytes) {
  // WriteFile takes a 32-bit count; one gigabyte at a time stays well inside.
  constexpr size_t chunk = size_t{1} << 30;
  while (!bytes.empty()) {
    DWORD wanted = static_cast<DWORD>(bytes.size() < chunk ? bytes.size() : chunk);
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), wanted, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// Reads up to `size` bytes, fewer only at the end of the file; -1 on error.
long long readFully(HANDLE file, char* buffer, DWORD size) {
  DWORD got = 0;
  while (got < size) {
    DWORD n = 0;
    if (!ReadFile(file, buffer + got, size - got, &n, nullptr)) return -1;
    if (n == 0) break;
    got += n;
  }
  return got;
}

bool writeSource(HANDLE file, ByteSource& source) {
  if (!source.restart()) return false;
  for (;;) {
    std::string_view piece;
    if (!source.next(piece)) return false;
    if (piece.empty()) return true;
    if (!writeAll(file, piece)) return false;
  }
}

bool holdsBytes(HANDLE file, ByteSource& source) {
  if (!source.restart()) return false;
  std::string buffer(kReadSize, '\0');
  for (;;) {
    std::string_view piece;
    if (!source.next(piece)) return false;
    if (piece.empty()) break;
    while (!piece.empty()) {
      const DWORD take = static_cast<DWORD>(piece.size() < kReadSize ? piece.size() : kReadSize);
      if (readFully(file, buffer.data(), take) != take) return false;
      if (std::memcmp(buffer.data(), piece.data(), take) != 0) return false;
      piece.remove_prefix(take);
    }
  }
  return readFully(file, buffer.data(), 1) == 0;
}

// A file created under a name that must not exist yet, never through a link.
HANDLE createNew(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

class Win32OutputDirectory : public OutputDirectory {
 public:
  // folder "": a folder that could not be opened.
  Win32OutputDirectory(std::wstring folder, HANDLE lock) : folder_(std::move(folder)), lock_(lock) {}

  StoreResult store(std::u16string_view name, ByteSource& source) override {
    if (folder_.empty()) return StoreResult::NotCreated;
    const std::wstring target = pathOf(name);
    Handle created(createNew(target));
    if (created.valid()) return finishNewFile(created, target, target, source);
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return StoreResult::NotCreated;
    if (holdsSameFile(target, source)) return StoreResult::Unchanged;
    return replace(target, source);
  }

  void remove(std::u16string_view name) override {
    if (!folder_.empty()) DeleteFileW(pathOf(name).c_str());
  }

 private:
  std::wstring pathOf(std::u16string_view name) const { return folder_ + win32::wide(name); }

  StoreResult finishNewFile(Handle& file, const std::wstring& written, const std::wstring& target,
                            ByteSource& source) {
    bool ok = isDiskFile(file) && writeSource(file.get(), source);
    if (!file.close()) ok = false;
    if (!ok) {
      DeleteFileW(written.c_str());
      return StoreResult::NotWritten;
    }
    if (written == target) return StoreResult::Stored;
    if (!MoveFileExW(written.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      DeleteFileW(written.c_str());
      return StoreResult::NotCreated;
    }
    return StoreResult::Stored;
  }

  // A plain file with no other name that holds exactly the new bytes is
  // left alone; a link of either kind never counts, so it is replaced.
  bool holdsSameFile(const std::wstring& target, ByteSource& source) {
    Handle file(CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid() || !isDiskFile(file)) return false;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file.get(), &info)) return false;
    const DWORD notPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    if ((info.dwFileAttributes & notPlain) != 0 || info.nNumberOfLinks != 1) return false;
    const std::uint64_t size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    std::optional<std::uint64_t> expected = source.size();
    if (expected && *expected != size) return false;
    return holdsBytes(file.get(), source);
  }

  StoreResult replace(const std::wstring& target, ByteSource& source) {
    const std::wstring temporary = folder_ + kTemporaryName;
    DeleteFileW(temporary.c_str());
    Handle file(createNew(temporary));
    if (!file.valid()) return StoreResult::NotCreated;
    return finishNewFile(file, temporary, target, source);
  }

  std::wstring folder_;  // ends in a separator
  Handle lock_;
};

}  // namespace

std::unique_ptr<OutputDirectory> OutputDirectory::open(std::u16string_view path, OpenStatus& status) {
  std::wstring folder = win32::systemPath(path);
  const DWORD attributes = folder.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    status = OpenStatus::Unavailable;
    return std::make_unique<Win32OutputDirectory>(std::wstring(), INVALID_HANDLE_VALUE);
  }
  if (folder.back() != L'\\') folder.push_back(L'\\');
  HANDLE lock = CreateFileW((folder + kLockName).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_ALWAYS,
                            FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE |
                                FILE_FLAG_OPEN_REPARSE_POINT,
                            nullptr);
  if (lock == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION) {
    status = OpenStatus::InUse;
    return nullptr;
  }
  DeleteFileW((folder + kTemporaryName).c_str());
  status = OpenStatus::Opened;
  return std::make_unique<Win32OutputDirectory>(std::move(folder), lock);
}

void keepRunningOnFailedWrites() {
  // Failed writes end no Windows process: nothing to change.
}

}  // namespace thc::platform
