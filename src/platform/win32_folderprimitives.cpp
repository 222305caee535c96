#include <windows.h>

#include <string>

#include "platform/folderprimitives.h"
#include "platform/outputdirectory.h"
#include "platform/win32_text.h"

namespace thc::platform {

namespace {

using win32::Handle;
using win32::isDiskFile;

// Held open without sharing for the whole run and deleted when the last
// handle closes, which the system does for a killed process too.
constexpr const wchar_t* kLockName = L".tarnelthc.lock";

// A name such as NUL opens a device, not a file: nothing is written to such
// a "file", and it counts as not written.
class Win32File : public FolderFile {
 public:
  explicit Win32File(HANDLE handle) : file_(handle), disk_(isDiskFile(file_)) {}

  bool write(std::string_view bytes) override {
    if (!disk_) return false;
    // WriteFile takes a 32-bit count; one gigabyte at a time stays well
    // inside.
    constexpr size_t chunk = size_t{1} << 30;
    while (!bytes.empty()) {
      DWORD wanted = static_cast<DWORD>(bytes.size() < chunk ? bytes.size() : chunk);
      DWORD written = 0;
      if (!WriteFile(file_.get(), bytes.data(), wanted, &written, nullptr) || written == 0) return false;
      bytes.remove_prefix(written);
    }
    return true;
  }

  std::optional<size_t> read(char* buffer, size_t size) override {
    size_t got = 0;
    while (got < size) {
      const size_t left = size - got;
      DWORD n = 0;
      if (!ReadFile(file_.get(), buffer + got, static_cast<DWORD>(left < MAXDWORD ? left : MAXDWORD), &n, nullptr)) {
        return std::nullopt;
      }
      if (n == 0) break;
      got += n;
    }
    return got;
  }

  bool close() override { return file_.close() && disk_; }

 private:
  Handle file_;
  bool disk_;
};

class Win32Folder : public FolderPrimitives {
 public:
  // `folder` ends in a separator; `lock` is held for the run.
  Win32Folder(std::wstring folder, HANDLE lock) : folder_(std::move(folder)), lock_(lock) {}

  std::unique_ptr<FolderFile> create(std::u16string_view name, CreateResult& result) override {
    HANDLE file = CreateFileW(pathOf(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      const bool exists = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
      result = exists ? CreateResult::Exists : CreateResult::Failed;
      return nullptr;
    }
    result = CreateResult::Created;
    return std::make_unique<Win32File>(file);
  }

  std::unique_ptr<FolderFile> openPlain(std::u16string_view name, std::uint64_t& size) override {
    Handle file(CreateFileW(pathOf(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid() || !isDiskFile(file)) return nullptr;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file.get(), &info)) return nullptr;
    const DWORD notPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    if ((info.dwFileAttributes & notPlain) != 0 || info.nNumberOfLinks != 1) return nullptr;
    size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    return std::make_unique<Win32File>(file.release());
  }

  bool renameOver(std::u16string_view from, std::u16string_view to) override {
    return MoveFileExW(pathOf(from).c_str(), pathOf(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
  }

  void remove(std::u16string_view name) override { DeleteFileW(pathOf(name).c_str()); }

 private:
  std::wstring pathOf(std::u16string_view name) const { return folder_ + win32::wide(name); }

  std::wstring folder_;
  Handle lock_;
};

}  // namespace

std::unique_ptr<FolderPrimitives> openFolder(std::u16string_view path, FolderOpenStatus& status) {
  std::wstring folder = win32::systemPath(path);
  const DWORD attributes = folder.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    status = FolderOpenStatus::Unavailable;
    return nullptr;
  }
  if (folder.back() != L'\\') folder.push_back(L'\\');
  HANDLE lock = CreateFileW(
      (folder + kLockName).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT,
      nullptr);
  if (lock == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION) {
    status = FolderOpenStatus::InUse;
    return nullptr;
  }
  status = FolderOpenStatus::Opened;
  return std::make_unique<Win32Folder>(std::move(folder), lock);
}

void keepRunningOnFailedWrites() {
  // Failed writes end no Windows process: nothing to change.
}

}  // namespace thc::platform
