// Where the records came from, kept after the documents are freed: the
// checks name a faulty element by its path, and the trees, far larger than
// what the paths need, go as soon as reading ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "project/blockstore.h"
#include "project/doctree.h"

namespace thc {

// A record's element: an index into the SourceMap that read it. The default
// stands for the document itself, whose path is "/".
struct SourceRef {
  uint32_t index = 0;
};

class SourceMap {
 public:
  SourceMap() : entries_(1) {}

  // The element and each of its ancestors not met before get an entry. The
  // readers refer to elements in document order, so the chain of the element
  // met last holds the ancestors of the next one nearly always.
  SourceRef refer(const DocNode* node);
  // Takes over the tree's element names, which the entries view; the tree
  // may be freed afterwards.
  void keepNames(DocTree& tree);
  // As path() of the element: /doc/library[2]/command[3].
  std::u16string path(SourceRef ref) const;

 private:
  struct Entry {
    uint32_t parent = 0;
    uint32_t siblingNumber = 1;
    std::u16string_view name;
  };
  struct Open {
    const DocNode* node;
    uint32_t index;
  };
  uint32_t add(const DocNode* node, uint32_t parent);

  std::vector<Entry> entries_;
  std::vector<BlockStore<char16_t>> names_;
  // The chain of the element met last, from the outermost element down.
  std::vector<Open> chain_;
  // The ancestors refer() has yet to enter; kept to spare an allocation per
  // record.
  std::vector<const DocNode*> missing_;
};

}  // namespace thc
