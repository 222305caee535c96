// The owner of the output folder: every file of a run (pages, help files,
// image copies) is written through it. A run holds the folder for itself; a
// file either stands complete under its name, or the earlier file of that
// name stays as it was; nothing is ever written through a link; a file that
// already holds exactly the new bytes is left untouched.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "base/console.h"
#include "platform/outputdirectory.h"
#include "platform/scratchfile.h"

namespace thc {

enum class WriteOutcome { Written, NotCreated, NotWritten };

// "Unable to create " + path or "Unable to write " + path for a file that was
// not written completely; nothing for a written one. True when written.
bool reportWriteOutcome(Console& console, WriteOutcome outcome, std::u16string_view path);

// A file name holding "/", "\" or a control character. Such a file is
// refused like one that cannot be created: a separator would put it into
// another folder, a control character (a line break above all) would split
// its line in the help project's file list.
bool isRefusedFileName(std::u16string_view name);

// Sees every file the folder stores, whole, right after it was stored (or
// found to hold its bytes already), on the thread that stored it; the folder
// stores one file at a time.
class StoredFileObserver {
 public:
  virtual ~StoredFileObserver() = default;
  virtual void stored(std::u16string_view name, std::string_view bytes) = 0;
};

class OutputFolder {
 public:
  // Takes the folder `directory` (ending in a separator) for this run and
  // removes the help project of an earlier run, which is written anew last,
  // so a run that does not finish leaves none behind that lists its files.
  // A folder that holds a help project of someone else's, to be compiled,
  // keeps it.
  enum class EarlierProject { remove, keep };
  explicit OutputFolder(std::u16string_view directory, EarlierProject earlier = EarlierProject::remove);
  OutputFolder(const OutputFolder&) = delete;
  OutputFolder& operator=(const OutputFolder&) = delete;

  // True when another run holds the folder: nothing may be written then.
  bool inUse() const { return !directory_; }
  // The folder as given, ending in a separator.
  const std::u16string& path() const { return path_; }

  // The methods below print nothing, so they may run on a thread of their
  // own; one file is stored at a time.

  // Writes the pieces as UTF-8 (no byte order mark) under `name`.
  WriteOutcome writeText(std::u16string_view name, std::initializer_list<std::u16string_view> pieces);
  // Writes the pieces' bytes as they are under `name` (text that mixes
  // encodings, say).
  WriteOutcome writeBytes(std::u16string_view name, std::initializer_list<std::string_view> pieces);

  // Stores bytes that come in pieces from `source`, which may be asked for
  // them twice (a help file, too large to gather in memory). No observer
  // sees them: nothing in the folder links to such a file.
  WriteOutcome writeStream(std::u16string_view name, platform::ByteSource& source);

  // A file without a name in the folder, for data on its way into a file
  // of the folder; none when it cannot be made.
  std::unique_ptr<platform::ScratchFile> scratch() const;

  // writeText and writeBytes, then the outcome on the console. True when
  // written.
  bool writeText(Console& console, std::u16string_view name,
                 std::initializer_list<std::u16string_view> pieces);
  bool writeBytes(Console& console, std::u16string_view name,
                  std::initializer_list<std::string_view> pieces);

  // Shows every file stored from now on to `observer` (none: nobody).
  void observe(StoredFileObserver* observer) { observer_ = observer; }

 private:
  WriteOutcome store(std::u16string_view name, platform::ByteSource& source);
  WriteOutcome storeUnobserved(std::u16string_view name, platform::ByteSource& source);

  std::u16string path_;
  std::unique_ptr<platform::OutputDirectory> directory_;
  std::mutex mutex_;
  StoredFileObserver* observer_ = nullptr;
  std::string observed_;  // the bytes of the file being stored, for observer_
};

}  // namespace thc
