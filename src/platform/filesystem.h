// The file system as the program needs it. Paths are the program's own
// UTF-16 text; on POSIX every "\" is turned into "/" before the system sees
// the path, so projects written on Windows work unchanged.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace thc::platform {

// The native separator: "/" on POSIX, "\" on Windows.
char16_t nativeSeparator();

// Creates one directory level. False when it exists already or fails.
bool createDirectory(std::u16string_view path);

// What makes two names one file: the device and inode on POSIX, the volume
// serial number and file index on Windows. It needs no resolved path, so a
// file is recognised also behind links or in a folder whose full path is too
// long for the system to spell out.
struct FileIdentity {
  uint64_t volume = 0;
  uint64_t file = 0;
  bool operator==(const FileIdentity&) const = default;
};

struct FileIdentityHash {
  size_t operator()(const FileIdentity& identity) const {
    return static_cast<size_t>(identity.file * 0x9E3779B97F4A7C15u ^ identity.volume);
  }
};

// A regular file opened for reading. Its identity is known as soon as it is
// open, so a file can be recognised before a byte of it is read; the bytes
// read later are those of the same file, whatever happens to its name.
class InputFile {
 public:
  // None when the path cannot be opened or is not a regular file.
  static std::unique_ptr<InputFile> open(std::u16string_view path);
  // Reading confined to one folder, for projects that are not trusted: the
  // file is opened only when, with every link resolved, it is a regular file
  // inside `folder` (a canonical path as canonicalPath gives it). The opened
  // file itself is checked, so a link changed between the check and the
  // opening cannot lead elsewhere. `outside` is set when the file exists but
  // lies elsewhere; a file that is missing or not regular is just unreadable.
  static std::unique_ptr<InputFile> openInside(std::u16string_view path, std::u16string_view folder,
                                               bool& outside);
  virtual ~InputFile() = default;
  virtual FileIdentity identity() const = 0;
  // Its length when it was opened: a guide only, as it may change.
  virtual uint64_t size() const = 0;
  // The whole content from the start; none on a read error.
  virtual std::optional<std::string> readAll() = 0;
};

// A folder whose files are read with the guarantees of InputFile::openInside,
// opened once. A compiler reads tens of thousands of files of one folder:
// resolving each full path anew costs a system call per folder on the way,
// while a name without links below an opened folder cannot lead out of it,
// so most files are opened with no resolving at all.
class ConfinedFolder {
 public:
  // None when the folder cannot be opened. `folder` is a canonical path as
  // canonicalPath gives it.
  static std::unique_ptr<ConfinedFolder> open(std::u16string_view folder);
  virtual ~ConfinedFolder() = default;
  // The file at `relative` ("/" or "\" between folders), exactly as
  // InputFile::openInside(folder + "/" + relative, folder, outside) gives
  // it. Safe to call from several threads at once.
  virtual std::unique_ptr<InputFile> openFile(std::u16string_view relative, bool& outside) const = 0;
};

// The canonical absolute path of an existing file, or "" when there is none.
std::u16string canonicalPath(std::u16string_view path);

// The first `count` bytes of a regular file, fewer when it is shorter; none
// when it cannot be read.
std::optional<std::string> readFileStart(std::u16string_view path, size_t count);

// Removes a file (never a folder). False when there was none or it stays.
bool removeFile(std::u16string_view path);

}  // namespace thc::platform
