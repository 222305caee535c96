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

using win32::Handle;
using win32::isDiskFile;
using win32::systemPath;

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

}  // namespace thc::platform
