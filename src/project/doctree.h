// A small in-memory XML document over expat. Nodes live in an arena owned by
// their tree: nothing is freed or walked recursively, so a million siblings or
// a very deep nesting neither overflow the stack nor take long to release.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/filesystem.h"
#include "project/blockstore.h"

namespace thc {

enum class NodeKind : int16_t {
  Document = 0,
  Element = 1,
  Comment = 2,
  CData = 3,
  DocType = 4,
  Instruction = 5,
};

struct DocAttribute {
  std::u16string_view name;
  std::u16string_view value;
};

// The names, texts and attributes of a node are views into the stores of its
// tree (see DocTree), so building a node allocates nothing of its own.
struct DocNode {
  NodeKind kind = NodeKind::Document;
  // 1 + the number of earlier siblings of the same kind (and, for elements,
  // the same name); counted while the tree is built so paths cost no walk.
  uint32_t siblingNumber = 1;
  uint32_t attributeCount = 0;
  std::u16string_view name;  // element name or instruction target
  std::u16string_view text;
  const DocAttribute* attributes = nullptr;  // attributeCount of them, in document order
  DocNode* parent = nullptr;
  DocNode* firstChild = nullptr;
  DocNode* lastChild = nullptr;
  DocNode* previousSibling = nullptr;
  DocNode* nextSibling = nullptr;
};

// The nodes of one tree, in creation order. They sit in blocks that are never
// moved, so a node's address stays valid while the tree grows; the blocks
// grow from a few nodes to kLargestBlock, so a small document stays small and
// a large one costs one allocation per few thousand nodes.
class NodeArena {
 public:
  static constexpr size_t kFirstBlock = 4;
  static constexpr size_t kLargestBlock = 4096;

  DocNode& emplace_back() {
    if (blocks_.empty() || blocks_.back().size() == blocks_.back().capacity()) {
      size_t capacity = blocks_.empty() ? kFirstBlock : std::min(2 * blocks_.back().capacity(), kLargestBlock);
      blocks_.emplace_back().reserve(capacity);
    }
    ++size_;
    return blocks_.back().emplace_back();
  }
  size_t size() const { return size_; }

  template <typename Node, typename Blocks>
  class Iterator {
   public:
    Iterator(Blocks* blocks, size_t block) : blocks_(blocks), block_(block) {}
    Node& operator*() const { return (*blocks_)[block_][index_]; }
    Node* operator->() const { return &**this; }
    Iterator& operator++() {
      if (++index_ == (*blocks_)[block_].size()) {
        ++block_;
        index_ = 0;
      }
      return *this;
    }
    bool operator==(const Iterator& other) const { return block_ == other.block_ && index_ == other.index_; }

   private:
    Blocks* blocks_;
    size_t block_;
    size_t index_ = 0;
  };
  using Blocks = std::vector<std::vector<DocNode>>;
  using iterator = Iterator<DocNode, Blocks>;
  using const_iterator = Iterator<const DocNode, const Blocks>;

  iterator begin() { return iterator(&blocks_, 0); }
  iterator end() { return iterator(&blocks_, blocks_.size()); }
  const_iterator begin() const { return const_iterator(&blocks_, 0); }
  const_iterator end() const { return const_iterator(&blocks_, blocks_.size()); }

 private:
  // Every block keeps the capacity it was given; only the last one has room.
  Blocks blocks_;
  size_t size_ = 0;
};

struct DocTree {
  int status = 0;         // 0, or the parser's error code
  int64_t errorLine = 0;  // counted from 1
  int64_t errorPosition = 0;  // column counted from 1
  std::u16string errorMessage;
  DocNode* root = nullptr;  // the document node
  NodeArena nodes;  // root is its first node
  // Element, attribute and instruction names, each distinct one kept once;
  // they stay as long as the nodes.
  BlockStore<char16_t> names;
  // The texts and attribute values, and the attribute runs; released by
  // releaseContent.
  BlockStore<char16_t> texts;
  BlockStore<DocAttribute> attributes;
};

// Parses the bytes of a document, all of them at once. Never fails: a parse
// error is recorded in the tree's status.
std::unique_ptr<DocTree> parseDocument(std::string_view bytes);

// Reads and parses a file. None when the file cannot be read or is empty.
std::unique_ptr<DocTree> loadDocument(std::u16string_view path);
std::unique_ptr<DocTree> loadDocument(platform::InputFile& file);

// The version of the XML parser in use, as "2.5.0".
std::u16string parserVersion();

const DocNode* rootElement(const DocTree& tree);

// Frees the text and the attributes of every node once the readers have
// taken what they need from the document. The nodes, their names and their
// paths stay, for the diagnostics that name them later.
void releaseContent(DocTree& tree);

// The value of the attribute with exactly this name, or "". A view into the
// node's tree, valid until its content is released.
std::u16string_view attribute(const DocNode* node, std::u16string_view name);

// The part of a path that names the node without its number: the element
// name, or "#comment" and the like.
std::u16string_view pathSegment(const DocNode* node);

// The node's path for diagnostics: /doc/library[2]/command[3].
std::u16string path(const DocNode* node);

}  // namespace thc
