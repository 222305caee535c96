// The layout of the full-text search index of a compiled help file: a
// 1024-byte header, then leaf nodes of 4096 bytes listing the words in byte
// order, each leaf after the word-location data its entries point at, then
// the index nodes over the leaves, the root last.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "chm/piecebuffer.h"

namespace thc::chm {

// What the header tells about the index as a whole.
struct SearchIndexFacts {
  uint32_t topics = 0;  // pages indexed
  uint32_t codePage = 0;
  uint32_t lcid = 0;
  // The roots of the codes for topic distances, counts and word positions.
  uint8_t topicRoot = 1;
  uint8_t countRoot = 1;
  uint8_t locationRoot = 1;
  uint64_t occurrences = 0;      // words indexed, repeats counted
  uint64_t occurrenceBytes = 0;  // their bytes
  uint32_t distinctWords = 0;
  uint64_t distinctBytes = 0;
  uint32_t longestWord = 0;  // in bytes
};

class SearchIndexWriter {
 public:
  static constexpr size_t kNode = 4096;

  // One entry of a word: the topics it occurs in and where, coded.
  struct Entry {
    uint32_t topics;
    std::string_view locations;
  };

  SearchIndexWriter();

  // Adds the entries of the next word in byte order: the one for its
  // occurrences in titles, then the one for the rest, either of them none.
  void addWord(std::string_view word, const Entry* title, const Entry* body);

  // The bytes of the index; none when they would outgrow the 4 GiB their
  // offsets can address.
  std::optional<PieceBuffer> finish(const SearchIndexFacts& facts);

 private:
  void appendLeafEntry(std::string_view word, size_t shared, bool title, const Entry& entry);
  void writeLeaf();
  void writeIndexLevel();
  void writeIndexNode(std::string& node, std::string_view lastWord, std::vector<std::pair<std::string, uint32_t>>& into);
  void writeHeader(const SearchIndexFacts& facts, uint32_t root, uint16_t depth);

  PieceBuffer out_;
  std::string leaf_;      // the entries of the leaf being filled
  std::string lastWord_;  // the last word in leaf_
  size_t previousLeaf_ = 0;  // offset of the last leaf written, 0 before the first
  uint32_t leaves_ = 0;
  uint32_t lastLeafFree_ = 0;
  // The last word and offset of each node of the level last written.
  std::vector<std::pair<std::string, uint32_t>> level_;
};

}  // namespace thc::chm
