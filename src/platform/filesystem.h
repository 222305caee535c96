// The file system as the program needs it. Paths are the program's own
// UTF-16 text; on POSIX every "\" is turned into "/" before the system sees
// the path, so projects written on Windows work unchanged.
#pragma once

#include <memory>
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

// readFile, appending to `content` (unchanged when the file cannot be read):
// many files read in turn into one string need no allocation each.
bool appendFile(std::u16string_view path, std::string& content);

// The canonical absolute path of an existing file, or "" when there is none.
std::u16string canonicalPath(std::u16string_view path);

// Copies a file, replacing an existing destination.
bool copyFile(std::u16string_view from, std::u16string_view to);

// Reading confined to one folder, for projects that are not trusted: a file
// is read only when, with every link resolved, it is a regular file inside
// `folder` (a canonical path as canonicalPath gives it). The opened file
// itself is checked, so a link changed between the check and the opening
// cannot lead elsewhere. `outside` is set when the file exists but lies
// elsewhere; a file that is missing or not a regular file is just unreadable.
std::optional<std::string> readFileInside(std::u16string_view path, std::u16string_view folder,
                                          bool& outside);
// copyFile from a source that must lie inside `folder`, as above.
bool copyFileInside(std::u16string_view from, std::u16string_view to, std::u16string_view folder);

// The first `count` bytes of a regular file, fewer when it is shorter; none
// when it cannot be read.
std::optional<std::string> readFileStart(std::u16string_view path, size_t count);

// Removes a file (never a folder). False when there was none or it stays.
bool removeFile(std::u16string_view path);

// A file created fresh (an existing one is truncated), written without a
// buffer of its own.
class OutputFile {
 public:
  // None when the file cannot be created.
  static std::unique_ptr<OutputFile> create(std::u16string_view path);
  virtual ~OutputFile() = default;
  // False on a write error (disk full, file size limit ...). Once a write
  // failed, every later write and close fails too.
  virtual bool write(std::string_view bytes) = 0;
  // Closes the file; false when the close or an earlier write failed.
  virtual bool close() = 0;
};

}  // namespace thc::platform
