// The files being read, from the main project file down to the innermost
// open import. An import of a file that is already on the chain would never
// end, so it is skipped. Files are told apart by their identity, not by a
// path: a folder reached under another name, or one whose full path is too
// long to resolve, still holds the same files.
#pragma once

#include <cstddef>
#include <unordered_map>
#include <vector>

#include "platform/filesystem.h"

namespace thc {

class ImportChain {
 public:
  bool contains(const platform::FileIdentity& file) const { return counts_.count(file) != 0; }
  void enter(const platform::FileIdentity& file) {
    files_.push_back(file);
    ++counts_[file];
  }
  // Leaves the file entered last.
  void leave() {
    if (files_.empty()) return;
    auto found = counts_.find(files_.back());
    if (--found->second == 0) counts_.erase(found);
    files_.pop_back();
  }

 private:
  std::vector<platform::FileIdentity> files_;
  std::unordered_map<platform::FileIdentity, size_t, platform::FileIdentityHash> counts_;
};

}  // namespace thc
