// The file system as the program needs it. Paths are the program's own
// UTF-16 text; on POSIX every "\" is turned into "/" before the system sees
// the path, so projects written on Windows work unchanged.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace thc::platform {

// The native separator: "/" on POSIX, "\" on Windows.
char16_t nativeSeparator();

// Creates one directory level. False when it exists already or fails.
bool createDirectory(std::u16string_view path);

// The whole content of a regular file; none when it cannot be opened or read.
std::optional<std::string> readFile(std::u16string_view path);

// The canonical absolute path of an existing file, or "" when there is none.
std::u16string canonicalPath(std::u16string_view path);

}  // namespace thc::platform
