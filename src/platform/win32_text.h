// Helpers shared by the Win32 platform files: the program's UTF-16 text as
// the system's wide strings, and paths as the system wants them.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace thc::platform::win32 {

// wchar_t is 16 bits on Windows, so the conversions only copy; copying (not
// casting the buffer) keeps the two character types apart for the optimizer.
inline std::wstring wide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

inline std::u16string fromWide(std::wstring_view text) {
  return std::u16string(text.begin(), text.end());
}

// A path for the file functions: "/" becomes "\" (projects written on POSIX
// name their imports and images with "/"), and a long path gets the "\\?\"
// prefix, which lifts the 260-character limit but needs an absolute path with
// backslashes only. "" (which every file function rejects) when the path is
// empty or holds a NUL, which would otherwise cut it short and name another
// file.
std::wstring systemPath(std::u16string_view path);

// A handle of the file functions, closed on every path out.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  Handle(Handle&& other) noexcept : handle_(other.release()) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { close(); }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  // Gives the handle up without closing it.
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
inline bool isDiskFile(const Handle& file) { return GetFileType(file.get()) == FILE_TYPE_DISK; }

}  // namespace thc::platform::win32
