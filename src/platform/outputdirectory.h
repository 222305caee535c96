// The output folder as the file system sees it: the one place where the
// program creates, replaces and removes files, the same on every system. A
// run holds the folder for itself, and every file it stores either stands
// complete under its name or leaves the earlier file of that name as it was.
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

#include "platform/folderprimitives.h"

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

// The one algorithm of storing a file, over the folder's primitives: a new
// name is created and written; an existing one that holds other bytes (or is
// a link) gets a complete new file under a temporary name, renamed over it.
class OutputDirectory {
 public:
  using OpenStatus = FolderOpenStatus;

  // Opens the folder and takes it for this run; the hold ends with the
  // process, however it ends, and leaves nothing behind. None when another
  // run holds it (InUse); when it cannot be opened (Unavailable), a folder
  // whose every store fails to create.
  static std::unique_ptr<OutputDirectory> open(std::u16string_view path, OpenStatus& status);

  // Over a folder of one's own (none: the folder that could not be opened).
  explicit OutputDirectory(std::unique_ptr<FolderPrimitives> folder);

  StoreResult store(std::u16string_view name, ByteSource& source);
  // Removes the name (a file or a link, not followed). Nothing when absent.
  void remove(std::u16string_view name);

 private:
  StoreResult finishNewFile(FolderFile& file, std::u16string_view written, std::u16string_view name,
                            ByteSource& source);
  bool holdsSameFile(std::u16string_view name, ByteSource& source);
  bool holdsBytes(FolderFile& file, ByteSource& source);
  StoreResult replace(std::u16string_view name, ByteSource& source);

  std::unique_ptr<FolderPrimitives> folder_;
  // The temporary name that worked last: the next replacement tries it
  // first, so things planted under the names before it cost one search.
  unsigned temporaryNumber_ = 0;
  std::string buffer_;  // the existing file's bytes, a piece at a time
};

// Keeps writes that fail from ending the process: a closed pipe and an
// exceeded file size limit become failed writes. Called once at start.
void keepRunningOnFailedWrites();

}  // namespace thc::platform
