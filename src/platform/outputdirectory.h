// The output folder as the file system sees it: the one place where the
// program creates, replaces and removes files. A run holds the folder for
// itself, and every file it stores either stands complete under its name or
// leaves the earlier file of that name as it was.
//
// Names are plain file names inside the folder (the caller refuses names with
// separators). A name is never followed as a link: a new name is created
// exclusively, an existing one (a file, a link of either kind, anything but a
// folder) is replaced by renaming a complete new file over it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace thc::platform {

// The bytes of one file, handed over in pieces. A store may read them twice:
// once to compare them with the file already there, once to write them.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Goes back to the first byte. False when the bytes cannot be had again.
  virtual bool restart() = 0;
  // The next piece, empty at the end. False when the bytes cannot be read.
  virtual bool next(std::string_view& piece) = 0;
  // The number of bytes in all, when known before reading them.
  virtual std::optional<std::uint64_t> size() = 0;
};

enum class StoreResult {
  Stored,      // the name now holds the new bytes
  Unchanged,   // the name held exactly these bytes already and was left alone
  NotCreated,  // no file could be made under the name
  NotWritten,  // writing failed (disk full, file size limit ...) or the
               // source could not be read; the earlier file stands
};

class OutputDirectory {
 public:
  enum class OpenStatus { Opened, InUse, Unavailable };

  // Opens the folder and takes it for this run; the hold ends with the
  // process, however it ends, and leaves nothing behind. InUse when another
  // run holds it; Unavailable when it cannot be opened (then the result is a
  // folder whose every store fails to create).
  static std::unique_ptr<OutputDirectory> open(std::u16string_view path, OpenStatus& status);

  virtual ~OutputDirectory() = default;
  virtual StoreResult store(std::u16string_view name, ByteSource& source) = 0;
  // Removes the name (a file or a link, not followed). Nothing when absent.
  virtual void remove(std::u16string_view name) = 0;
};

// Keeps writes that fail from ending the process: a closed pipe and an
// exceeded file size limit become failed writes. Called once at start.
void keepRunningOnFailedWrites();

}  // namespace thc::platform
