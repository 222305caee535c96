// What the compiler takes from each file it stores: the bytes, and of a
// page its title, its words and the files it links to. This is most of the
// compiler's work besides compressing, and each file's part depends on that
// file alone, so worker threads do it while the compiler's own thread stores
// the files before in order.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "chm/pagereader.h"
#include "chm/sourcefiles.h"
#include "chm/wordbreaker.h"
#include "platform/filesystem.h"

namespace thc::chm {

struct FileJob {
  SourceFile file;
  std::unique_ptr<platform::InputFile> input;  // none when it could not be opened
  std::u16string why;                          // then why not
};

struct ReadFile {
  SourceFile file;
  std::optional<std::string> bytes;  // none when it could not be read
  std::u16string why;                // then why not
  bool listsClose = true;            // of the contents and index files
  std::u16string title;              // of a page, as it gives it (maybe none)
  PageWords words;                   // of a page, for the search index
  std::vector<std::u16string> linked;  // of a page or style sheet: the files it needs
};

struct FileWorkSettings {
  unsigned codePage = 0;  // of pages that are not UTF-8
  bool search = false;    // whether the words are wanted
  std::u16string contentsFile;
  std::u16string indexFile;
};

// One thread's means of reading files; each worker has one of its own, as
// the page reader and the word breaker keep buffers between files.
class FileWorker {
 public:
  explicit FileWorker(const FileWorkSettings& settings);
  ReadFile read(FileJob& job);

 private:
  void readPage(ReadFile& file);

  const FileWorkSettings& settings_;
  PageReader pages_;
  WordBreaker words_;
};

}  // namespace thc::chm
