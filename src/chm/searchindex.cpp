#include "chm/searchindex.h"

#include <algorithm>
#include <numeric>

#include "chm/fiftimain.h"

namespace thc::chm {

SearchIndexBuilder::SearchIndexBuilder(unsigned codePage, uint32_t lcid)
    : codePage_(codePage), lcid_(lcid) {}

void SearchIndexBuilder::addTopic(uint32_t topic, const PageWords& words) {
  ++topics_;
  page_.clear();
  // One count of positions runs through the title and the body.
  const std::string_view coded = words.coded;
  uint32_t position = 0;
  for (size_t at = 0; at < coded.size(); ++position) {
    const size_t length = static_cast<unsigned char>(coded[at]);
    const std::string_view word = coded.substr(at + 1, length);
    at += 1 + length;
    if (!word.empty()) page_.emplace_back(entryOf(word, position < words.inTitle), position);
  }
  std::sort(page_.begin(), page_.end());
  for (size_t first = 0; first < page_.size();) {
    size_t end = first + 1;
    while (end < page_.size() && page_[end].first == page_[first].first) ++end;
    addOccurrences(topic, page_[first].first, &page_[first], end - first);
    first = end;
  }
}

uint32_t SearchIndexBuilder::entryOf(std::string_view word, bool title) {
  ++occurrences_;
  occurrenceBytes_ += word.size();
  longestWord_ = std::max(longestWord_, static_cast<uint32_t>(word.size()));
  const uint32_t number = words_.intern(word);
  if (number == entriesOfWord_.size()) entriesOfWord_.push_back({kNone, kNone});
  uint32_t& entry = entriesOfWord_[number][title ? 0 : 1];
  if (entry == kNone) {
    entry = static_cast<uint32_t>(postings_.size());
    postings_.emplace_back();
  }
  return entry;
}

void SearchIndexBuilder::addOccurrences(uint32_t topic, uint32_t entry,
                                        const std::pair<uint32_t, uint32_t>* first, size_t count) {
  Postings& postings = postings_[entry];
  // A topic out of order could not be coded as a distance.
  if (postings.topics > 0 && topic <= postings.lastTopic) return;
  const uint32_t distance = topic - postings.lastTopic;
  lists_.appendNumber(postings.codes, distance);
  topicRoot_.count(distance);
  lists_.appendNumber(postings.codes, static_cast<uint32_t>(count));
  countRoot_.count(static_cast<uint32_t>(count));
  uint32_t previous = 0;
  for (size_t i = 0; i < count; ++i) {
    const uint32_t step = first[i].second - previous;
    lists_.appendNumber(postings.codes, step);
    locationRoot_.count(step);
    previous = first[i].second;
  }
  postings.lastTopic = topic;
  ++postings.topics;
}

void SearchIndexBuilder::codeLocations(const Postings& postings, const SearchIndexFacts& facts,
                                       std::string& out) const {
  out.clear();
  BitWriter bits(out);
  ByteLists::Reader codes(lists_, postings.codes);
  for (uint32_t topic = 0; topic < postings.topics; ++topic) {
    putScaleRoot(bits, codes.nextNumber(), facts.topicRoot);
    const uint32_t count = codes.nextNumber();
    putScaleRoot(bits, count, facts.countRoot);
    for (uint32_t i = 0; i < count; ++i) putScaleRoot(bits, codes.nextNumber(), facts.locationRoot);
    bits.alignToByte();
  }
}

SearchIndexFacts SearchIndexBuilder::facts() const {
  SearchIndexFacts facts;
  facts.topics = topics_;
  facts.codePage = codePage_;
  facts.lcid = lcid_;
  facts.topicRoot = static_cast<uint8_t>(topicRoot_.best());
  facts.countRoot = static_cast<uint8_t>(countRoot_.best());
  facts.locationRoot = static_cast<uint8_t>(locationRoot_.best());
  facts.occurrences = occurrences_;
  facts.occurrenceBytes = occurrenceBytes_;
  facts.distinctWords = words_.size();
  facts.distinctBytes = words_.bytes();
  facts.longestWord = longestWord_;
  return facts;
}

namespace {

// Readers walk the words comparing bytes with A to Z folded to lower case,
// and stop at the first word they take to be larger; in a double-byte code
// page a second byte may be such a letter (0x8F 0x54 and 0x8F 0x6E), so the
// words are sorted the readers' way, raw bytes deciding a tie.
bool searchOrder(std::string_view a, std::string_view b) {
  const auto folded = [](char c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte;
  };
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    if (folded(a[i]) != folded(b[i])) return folded(a[i]) < folded(b[i]);
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

}  // namespace

std::optional<PieceBuffer> SearchIndexBuilder::build() const {
  if (lists_.overflowed()) return std::nullopt;
  std::vector<uint32_t> order(words_.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(),
            [&](uint32_t a, uint32_t b) { return searchOrder(words_.word(a), words_.word(b)); });
  const SearchIndexFacts facts = this->facts();
  SearchIndexWriter writer;
  std::string titleCodes, bodyCodes;
  for (uint32_t number : order) {
    const auto [title, body] = entriesOfWord_[number];
    SearchIndexWriter::Entry titleEntry{}, bodyEntry{};
    if (title != kNone) {
      codeLocations(postings_[title], facts, titleCodes);
      titleEntry = {postings_[title].topics, titleCodes};
    }
    if (body != kNone) {
      codeLocations(postings_[body], facts, bodyCodes);
      bodyEntry = {postings_[body].topics, bodyCodes};
    }
    writer.addWord(words_.word(number), title != kNone ? &titleEntry : nullptr,
                   body != kNone ? &bodyEntry : nullptr);
  }
  return writer.finish(facts);
}

}  // namespace thc::chm
