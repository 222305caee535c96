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

}  // namespace thc::platform::win32
