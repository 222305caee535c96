// The few operations on the output folder that each system does its own way,
// beneath the one algorithm that stores and replaces files
// (outputdirectory.cpp). They decide nothing: which name to write, when to
// compare and what to do when a step fails is the algorithm's business, so a
// test can put a folder of its own here and make any step fail.
//
// Names are plain file names inside the folder; none is ever followed as a
// link.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace thc::platform {

// One open file of the folder: a new one being written, or an existing one
// being read. Closed by its destructor when close() was not called.
class FolderFile {
 public:
  virtual ~FolderFile() = default;
  // Writes all the bytes; false when they could not be (disk full, file size
  // limit ...).
  virtual bool write(std::string_view bytes) = 0;
  // Reads up to `size` bytes, fewer only at the end of the file; none on an
  // error.
  virtual std::optional<size_t> read(char* buffer, size_t size) = 0;
  // Closes the file; false when a write failed that shows only now, or when
  // the file is not a file of the disk (a device name on Windows).
  virtual bool close() = 0;
};

enum class CreateResult {
  Created,
  Exists,  // something has the name: a file, a link of either kind, a folder
  Failed,  // anything else (no such folder, no permission ...)
};

enum class FolderOpenStatus { Opened, InUse, Unavailable };

class FolderPrimitives {
 public:
  virtual ~FolderPrimitives() = default;
  // Creates a file under a name that must not exist yet, never through a
  // link; none unless `result` is Created.
  virtual std::unique_ptr<FolderFile> create(std::u16string_view name, CreateResult& result) = 0;
  // Opens the name for reading when it is a plain file with no other name (a
  // link of either kind never is), and gives its size; none otherwise.
  virtual std::unique_ptr<FolderFile> openPlain(std::u16string_view name, std::uint64_t& size) = 0;
  // Gives the file `from` the name `to`, replacing the file or link of that
  // name (never what a link points to).
  virtual bool renameOver(std::u16string_view from, std::u16string_view to) = 0;
  // Removes the file or link of that name, not followed; nothing when there
  // is none or it is a folder.
  virtual void remove(std::u16string_view name) = 0;
};

// Opens the folder of this system at `path` and takes it for this run: the
// hold ends with the process, however it ends, and leaves nothing behind.
// None when another run holds it (InUse) or it cannot be opened
// (Unavailable).
std::unique_ptr<FolderPrimitives> openFolder(std::u16string_view path, FolderOpenStatus& status);

}  // namespace thc::platform
