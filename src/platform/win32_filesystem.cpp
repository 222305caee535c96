#include <windows.h>

#include "platform/filesystem.h"
#include "platform/win32_text.h"

namespace thc::platform {

namespace win32 {

namespace {

// Below this length a path needs no prefix; CreateDirectoryW already stops at
// MAX_PATH - 12 characters, so the prefix starts there.
constexpr size_t longPathLength = MAX_PATH - 12;

std::wstring fullPath(const std::wstring& path) {
  DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return {};
  std::wstring result(size, L'\0');
  DWORD length = GetFullPathNameW(path.c_str(), size, result.data(), nullptr);
  if (length == 0 || length >= size) return {};
  result.resize(length);
  return result;
}

bool hasPrefix(std::wstring_view text, std::wstring_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::wstring systemPath(std::u16string_view path) {
  if (path.empty() || path.find(u'\0') != std::u16string_view::npos) return {};
  std::wstring result = wide(path);
  for (wchar_t& c : result) {
    if (c == L'/') c = L'\\';
  }
  if (result.size() < longPathLength || hasPrefix(result, L"\\\\?\\")) return result;
  std::wstring full = fullPath(result);
  if (full.empty()) return result;
  if (hasPrefix(full, L"\\\\.\\")) return full;  // a device path stays as it is
  if (hasPrefix(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

}  // namespace win32

namespace {

using win32::systemPath;

// Handles of the file functions, closed on every path out.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { close(); }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  // Hands the handle over to a new owner.
  HANDLE release() {
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle;
  }
  bool close() {
    if (!valid()) return false;
    BOOL closed = CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return closed != 0;
  }

 private:
  HANDLE handle_;
};

// Only a file on a disk is a file: a reserved device name ("NUL", "CON",
// "COM1" ...) opens a device instead, where a write "succeeds" and the data
// is lost, and a read may wait for ever.
bool isDiskFile(const Handle& file) { return GetFileType(file.get()) == FILE_TYPE_DISK; }

bool writeAll(HANDLE file, const char* data, size_t size) {
  // WriteFile takes a 32-bit count; one gigabyte at a time stays well inside.
  constexpr size_t chunk = size_t{1} << 30;
  while (size > 0) {
    DWORD wanted = static_cast<DWORD>(size < chunk ? size : chunk);
    DWORD written = 0;
    if (!WriteFile(file, data, wanted, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

class Win32OutputFile : public OutputFile {
 public:
  explicit Win32OutputFile(HANDLE handle) : file_(handle) {}
  bool write(std::string_view bytes) override {
    if (failed_ || !file_.valid()) return false;
    if (!writeAll(file_.get(), bytes.data(), bytes.size())) failed_ = true;
    return !failed_;
  }
  bool close() override {
    if (!file_.valid()) return false;
    return file_.close() && !failed_;
  }

 private:
  Handle file_;
  bool failed_ = false;
};

class Win32InputFile : public InputFile {
 public:
  Win32InputFile(HANDLE handle, const BY_HANDLE_FILE_INFORMATION& info) : file_(handle), info_(info) {}

  FileIdentity identity() const override {
    return FileIdentity{info_.dwVolumeSerialNumber,
                        (static_cast<uint64_t>(info_.nFileIndexHigh) << 32) | info_.nFileIndexLow};
  }

  std::optional<std::string> readAll() override {
    LARGE_INTEGER start;
    start.QuadPart = 0;
    if (!SetFilePointerEx(file_.get(), start, nullptr, FILE_BEGIN)) return std::nullopt;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file_.get(), &size) || size.QuadPart < 0) return std::nullopt;
    std::string content;
    content.reserve(static_cast<size_t>(size.QuadPart));
    char buffer[65536];
    for (;;) {
      DWORD got = 0;
      if (!ReadFile(file_.get(), buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
      if (got == 0) break;
      content.append(buffer, got);
    }
    return content;
  }

 private:
  Handle file_;
  BY_HANDLE_FILE_INFORMATION info_;
};

// "\\?\C:\x" and "\\?\UNC\server\share\x" as the user writes them.
std::u16string withoutLongPrefix(std::wstring path) {
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return win32::fromWide(L"\\\\" + path.substr(8));
  if (path.rfind(L"\\\\?\\", 0) == 0) return win32::fromWide(path.substr(4));
  return win32::fromWide(path);
}

std::wstring finalPath(HANDLE file) {
  DWORD size = GetFinalPathNameByHandleW(file, nullptr, 0, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (size == 0) return {};
  std::wstring result(size, L'\0');
  DWORD length =
      GetFinalPathNameByHandleW(file, result.data(), size, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (length == 0 || length >= size) return {};
  result.resize(length);
  return result;
}

}  // namespace

char16_t nativeSeparator() { return u'\\'; }

bool createDirectory(std::u16string_view path) {
  std::wstring target = systemPath(path);
  return !target.empty() && CreateDirectoryW(target.c_str(), nullptr) != 0;
}

std::optional<std::string> readFile(std::u16string_view path) {
  std::unique_ptr<InputFile> file = InputFile::open(path);
  if (!file) return std::nullopt;
  return file->readAll();
}

std::u16string canonicalPath(std::u16string_view path) {
  std::wstring source = systemPath(path);
  if (source.empty()) return {};
  // Opening only for its attributes works on files in use and on folders.
  Handle file(CreateFileW(source.c_str(), FILE_READ_ATTRIBUTES,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.valid()) return {};
  std::wstring resolved = finalPath(file.get());
  // Without a final path (some network file systems) the full path still
  // names the file in one way for one spelling.
  if (resolved.empty()) resolved = win32::fullPath(source);
  return withoutLongPrefix(std::move(resolved));
}

bool copyFile(std::u16string_view from, std::u16string_view to) {
  std::wstring source = systemPath(from);
  std::wstring target = systemPath(to);
  if (source.empty() || target.empty()) return false;
  if (!CopyFileW(source.c_str(), target.c_str(), FALSE)) return false;
  // CopyFileW carries the attributes over. A read-only source would leave a
  // read-only copy that the next run could not replace, so the copy gets the
  // plain attributes of a file the program wrote itself.
  DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    SetFileAttributesW(target.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  }
  return true;
}

std::unique_ptr<InputFile> InputFile::open(std::u16string_view path) {
  std::wstring source = systemPath(path);
  if (source.empty()) return nullptr;
  HANDLE handle = CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  Handle file(handle);
  BY_HANDLE_FILE_INFORMATION info;
  if (!isDiskFile(file) || !GetFileInformationByHandle(handle, &info)) return nullptr;
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return nullptr;
  (void)file.release();
  return std::make_unique<Win32InputFile>(handle, info);
}

std::unique_ptr<OutputFile> OutputFile::create(std::u16string_view path) {
  std::wstring target = systemPath(path);
  if (target.empty()) return nullptr;
  HANDLE handle = CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  auto file = std::make_unique<Win32OutputFile>(handle);
  if (GetFileType(handle) != FILE_TYPE_DISK) return nullptr;  // a device, see isDiskFile
  return file;
}

}  // namespace thc::platform
