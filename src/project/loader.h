// Loading the imported documents of a project ahead of the reader. The
// imports of the main document are known before the first of them is read,
// so a second thread reads and parses the next files while the reader turns
// the current one into the model. The reader still asks for every file at
// the point where it meets the import and gets exactly the tree loadDocument
// would give; a file it asks for out of turn is loaded then and there.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "project/doctree.h"

namespace thc {

class DocumentLoader {
 public:
  DocumentLoader() = default;
  ~DocumentLoader();
  DocumentLoader(const DocumentLoader&) = delete;
  DocumentLoader& operator=(const DocumentLoader&) = delete;

  // The files the reader is expected to ask for, in that order. Called at
  // most once; without it every file is loaded when it is asked for.
  void expect(std::vector<std::u16string> paths);

  // loadDocument(path), from the files loaded ahead when `path` is among the
  // next few expected ones. Expected files before it were skipped by the
  // reader and are dropped.
  std::unique_ptr<DocTree> load(const std::u16string& path);

 private:
  struct Entry {
    std::u16string path;
    std::unique_ptr<DocTree> tree;
    bool done = false;    // loaded, or given up on
    bool failed = false;  // the worker could not load it: the reader will
    bool dropped = false;  // skipped by the reader: its tree is not kept
  };

  void run();
  void stop();

  std::mutex mutex_;
  std::condition_variable loaded_;  // the worker finished an entry
  std::condition_variable taken_;   // the reader took or dropped entries
  std::vector<Entry> entries_;
  size_t next_ = 0;    // the first entry the reader has not taken or dropped
  size_t worker_ = 0;  // the entry the worker loads next
  bool closing_ = false;
  std::thread thread_;  // not started when no thread could be made
};

}  // namespace thc
