// Loading the imported documents of a project ahead of the reader. The
// imports of the main document are known before the first of them is read,
// so a second thread reads and parses the next files while the reader turns
// the current one into the model. The reader still asks for every file at
// the point where it meets the import and gets exactly the tree loadDocument
// would give; a file it asks for out of turn is loaded then and there. A file
// that is already being read is recognised once it is open, before a byte
// of it is read or parsed.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/filesystem.h"
#include "project/doctree.h"
#include "project/importchain.h"

namespace thc {

// What the reader gets for an import.
struct ImportedDocument {
  // The file is on the import chain already: nothing was read.
  bool cycle = false;
  // Confined to a folder, the file lies outside it: nothing was read.
  bool outside = false;
  // None when the file could not be opened or read, or is empty.
  std::unique_ptr<DocTree> tree;
  platform::FileIdentity identity;  // of the file the tree was read from
};

// Opens the file, skips it when it is on the chain, else reads and parses it.
ImportedDocument loadImport(const std::u16string& path, const ImportChain& chain);
// loadImport for a file that must lie inside `folder`, with links resolved.
ImportedDocument loadImportInside(const std::u16string& path, const ImportChain& chain,
                                  std::u16string_view folder);

class DocumentLoader {
 public:
  DocumentLoader() = default;
  ~DocumentLoader();
  DocumentLoader(const DocumentLoader&) = delete;
  DocumentLoader& operator=(const DocumentLoader&) = delete;

  // The files the reader is expected to ask for, in that order, while the
  // files of `reading` are on its chain; one of those is not loaded ahead, as
  // the reader will skip it. Called at most once; without it every file is
  // loaded when it is asked for.
  void expect(std::vector<std::u16string> paths, const ImportChain& reading);

  // loadImport(path, chain), from the files loaded ahead when `path` is among
  // the next few expected ones. Expected files before it were skipped by the
  // reader and are dropped.
  ImportedDocument load(const std::u16string& path, const ImportChain& chain);

 private:
  struct Entry {
    std::u16string path;
    std::unique_ptr<DocTree> tree;
    platform::FileIdentity identity;
    bool done = false;    // loaded, or given up on
    bool failed = false;  // the worker could not load it, or left it to the reader
    bool dropped = false;  // skipped by the reader: its tree is not kept
  };

  void run();
  void stop();

  std::mutex mutex_;
  std::condition_variable loaded_;  // the worker finished an entry
  std::condition_variable taken_;   // the reader took or dropped entries
  std::vector<Entry> entries_;
  ImportChain reading_;  // the chain while the expected files are met
  size_t next_ = 0;    // the first entry the reader has not taken or dropped
  size_t worker_ = 0;  // the entry the worker loads next
  bool closing_ = false;
  std::thread thread_;  // not started when no thread could be made
};

}  // namespace thc
