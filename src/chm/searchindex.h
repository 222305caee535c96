// The full-text search index of a compiled help file ("$FIftiMain"): which
// words occur in which topics and where, the words of the titles apart from
// the rest. Built page by page while the pages are stored; the postings of a
// word are kept as compact codes in shared blocks, each word once, so a help
// of a hundred thousand pages fits in a few dozen bytes per page.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "chm/bytelists.h"
#include "chm/fiftimain.h"
#include "chm/wlccode.h"
#include "chm/wordbreaker.h"
#include "chm/wordtable.h"

namespace thc::chm {

class SearchIndexBuilder {
 public:
  // The help's ANSI code page (helpCodePage) and its language.
  SearchIndexBuilder(unsigned codePage, uint32_t lcid);

  // Indexes the words of a page's title and body. Topics come in ascending
  // order, each once: the numbers of the topic table.
  void addTopic(uint32_t topic, const PageWords& words);

  // The bytes of $FIftiMain; none when the index would outgrow the 4 GiB
  // its offsets can address.
  std::optional<PieceBuffer> build() const;

  // The bytes held for the postings, for measuring.
  size_t postingBytes() const { return lists_.footprint(); }

 private:
  static constexpr uint32_t kNone = UINT32_MAX;

  // One entry of the index: a word's occurrences in titles or in bodies.
  struct Postings {
    ByteLists::List codes;  // per topic: distance from the last, count, positions
    uint32_t lastTopic = 0;
    uint32_t topics = 0;
  };

  uint32_t entryOf(std::string_view word, bool title);
  void addOccurrences(uint32_t topic, uint32_t entry, const std::pair<uint32_t, uint32_t>* first, size_t count);
  void codeLocations(const Postings& postings, const SearchIndexFacts& facts, std::string& out) const;
  SearchIndexFacts facts() const;

  unsigned codePage_;
  uint32_t lcid_;
  WordTable words_;
  std::vector<std::array<uint32_t, 2>> entriesOfWord_;  // title, body; kNone for none
  std::vector<Postings> postings_;
  ByteLists lists_;
  RootChooser topicRoot_, countRoot_, locationRoot_;
  uint32_t topics_ = 0;
  uint64_t occurrences_ = 0;
  uint64_t occurrenceBytes_ = 0;
  uint32_t longestWord_ = 0;
  // The entry and position of each word of the page being added.
  std::vector<std::pair<uint32_t, uint32_t>> page_;
};

}  // namespace thc::chm
