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

using win32::Handle;
using win32::isDiskFile;

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


Handle openForReading(const std::wstring& path) {
  return Handle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

// Reads the rest of an opened file in pieces, handing each to `take`; false
// when a read fails or `take` does.
template <typename Take>
bool readPieces(const Handle& file, Take take) {
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return false;
    if (got == 0) return true;
    if (!take(std::string_view(buffer, got))) return false;
  }
}

// Whether a final path lies inside a folder's final path; Windows compares
// names without regard to case.
bool liesInside(std::wstring_view path, std::wstring_view folder) {
  while (!folder.empty() && folder.back() == L'\\') folder.remove_suffix(1);
  if (folder.empty() || path.size() <= folder.size() + 1 || path[folder.size()] != L'\\') return false;
  return CompareStringOrdinal(path.data(), static_cast<int>(folder.size()), folder.data(),
                              static_cast<int>(folder.size()), TRUE) == CSTR_EQUAL;
}

// The file is opened first and the opened file's own final path (links and
// junctions resolved) is what is checked, so nothing can be swapped in
// between. An invalid handle when it is not a file inside `folder`.
Handle openResolvedInside(std::u16string_view path, std::u16string_view folder, bool& outside) {
  outside = false;
  std::wstring source = systemPath(path);
  if (source.empty()) return Handle(INVALID_HANDLE_VALUE);
  Handle file = openForReading(source);
  if (!file.valid() || !isDiskFile(file)) return Handle(INVALID_HANDLE_VALUE);
  std::wstring resolved = win32::wide(withoutLongPrefix(finalPath(file.get())));
  if (resolved.empty() || !liesInside(resolved, win32::wide(folder))) {
    outside = !resolved.empty();
    return Handle(INVALID_HANDLE_VALUE);
  }
  return file;
}

class Win32InputFile : public InputFile {
 public:
  Win32InputFile(Handle file, const BY_HANDLE_FILE_INFORMATION& info) : file_(std::move(file)), info_(info) {}

  FileIdentity identity() const override {
    return FileIdentity{info_.dwVolumeSerialNumber,
                        (static_cast<uint64_t>(info_.nFileIndexHigh) << 32) | info_.nFileIndexLow};
  }

  uint64_t size() const override {
    return (static_cast<uint64_t>(info_.nFileSizeHigh) << 32) | info_.nFileSizeLow;
  }

  std::optional<std::string> readAll() override {
    LARGE_INTEGER start;
    start.QuadPart = 0;
    if (!SetFilePointerEx(file_.get(), start, nullptr, FILE_BEGIN)) return std::nullopt;
    std::string content;
    auto append = [&](std::string_view piece) {
      content.append(piece);
      return true;
    };
    if (!readPieces(file_, append)) return std::nullopt;
    return content;
  }

 private:
  Handle file_;
  BY_HANDLE_FILE_INFORMATION info_;
};

// A regular file on a disk as an InputFile; none for anything else.
std::unique_ptr<InputFile> inputFile(Handle file) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!file.valid() || !isDiskFile(file) || !GetFileInformationByHandle(file.get(), &info)) return nullptr;
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return nullptr;
  return std::make_unique<Win32InputFile>(std::move(file), info);
}

// Windows resolves the file's final path from the opened handle, which costs
// no more than opening it below a folder would: each file is checked alone.
class Win32ConfinedFolder : public ConfinedFolder {
 public:
  // A drive's root ("C:\\") already ends in a separator.
  explicit Win32ConfinedFolder(std::u16string folder)
      : folder_(std::move(folder)), prefix_(folder_.back() == u'\\' ? folder_ : folder_ + u"\\") {}

  std::unique_ptr<InputFile> openFile(std::u16string_view relative, bool& outside) const override {
    return inputFile(openResolvedInside(prefix_ + std::u16string(relative), folder_, outside));
  }

 private:
  std::u16string folder_;
  std::u16string prefix_;
};

}  // namespace

char16_t nativeSeparator() { return u'\\'; }

bool createDirectory(std::u16string_view path) {
  std::wstring target = systemPath(path);
  return !target.empty() && CreateDirectoryW(target.c_str(), nullptr) != 0;
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
  return inputFile(openForReading(source));
}

std::unique_ptr<InputFile> InputFile::openInside(std::u16string_view path, std::u16string_view folder,
                                                 bool& outside) {
  return inputFile(openResolvedInside(path, folder, outside));
}

std::unique_ptr<ConfinedFolder> ConfinedFolder::open(std::u16string_view folder) {
  if (folder.empty()) return nullptr;
  return std::make_unique<Win32ConfinedFolder>(std::u16string(folder));
}

std::optional<std::string> readFileStart(std::u16string_view path, size_t count) {
  std::wstring source = systemPath(path);
  if (source.empty()) return std::nullopt;
  Handle file = openForReading(source);
  if (!file.valid() || !isDiskFile(file)) return std::nullopt;
  std::string content(count, '\0');
  size_t got = 0;
  while (got < count) {
    DWORD part = 0;
    DWORD wanted = static_cast<DWORD>(count - got < 65536 ? count - got : 65536);
    if (!ReadFile(file.get(), content.data() + got, wanted, &part, nullptr)) return std::nullopt;
    if (part == 0) break;
    got += part;
  }
  content.resize(got);
  return content;
}

bool removeFile(std::u16string_view path) {
  std::wstring target = systemPath(path);
  return !target.empty() && DeleteFileW(target.c_str()) != 0;
}

}  // namespace thc::platform
