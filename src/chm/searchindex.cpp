#include "chm/searchindex.h"

#include <algorithm>
#include <numeric>
#include <span>

#include "chm/orderedpool.h"

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

// Words coded per batch, and batches with the workers at once.
constexpr size_t kWordsPerBatch = 4096;
constexpr size_t kBatchesAhead = 4;

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

// The codes of a batch of words, each word's title and body codes.
std::vector<SearchIndexBuilder::WordCodes> SearchIndexBuilder::codeWords(std::span<const uint32_t> words,
                                                                       const SearchIndexFacts& facts) const {
  std::vector<WordCodes> codes(words.size());
  for (size_t i = 0; i < words.size(); ++i) {
    const auto [title, body] = entriesOfWord_[words[i]];
    if (title != kNone) codeLocations(postings_[title], facts, codes[i].title);
    if (body != kNone) codeLocations(postings_[body], facts, codes[i].body);
  }
  return codes;
}

std::optional<PieceBuffer> SearchIndexBuilder::build(unsigned threads) const {
  if (lists_.overflowed()) return std::nullopt;
  std::vector<uint32_t> order(words_.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(),
            [&](uint32_t a, uint32_t b) { return searchOrder(words_.word(a), words_.word(b)); });
  const SearchIndexFacts facts = this->facts();
  // Coding the places is most of the work, and each word's codes depend on
  // that word alone: batches of words are coded on worker threads while
  // the writer lays out the ones before.
  using Batch = std::pair<size_t, size_t>;  // a range of `order`
  OrderedPool<Batch, std::vector<WordCodes>> pool(threads > 1 ? threads : 0, [&] {
    return [&](Batch& batch) {
      return codeWords(std::span(order).subspan(batch.first, batch.second - batch.first), facts);
    };
  });
  SearchIndexWriter writer;
  size_t sent = 0;
  for (size_t written = 0; written < order.size();) {
    while (sent < order.size() && pool.inFlight() < kBatchesAhead) {
      const size_t end = std::min(order.size(), sent + kWordsPerBatch);
      pool.submit(Batch{sent, end});
      sent = end;
    }
    const std::optional<std::vector<WordCodes>> codes = pool.takeOldest(true);
    for (const WordCodes& word : *codes) {
      const auto [title, body] = entriesOfWord_[order[written]];
      const SearchIndexWriter::Entry titleEntry{title != kNone ? postings_[title].topics : 0, word.title};
      const SearchIndexWriter::Entry bodyEntry{body != kNone ? postings_[body].topics : 0, word.body};
      writer.addWord(words_.word(order[written]), title != kNone ? &titleEntry : nullptr,
                     body != kNone ? &bodyEntry : nullptr);
      ++written;
    }
  }
  return writer.finish(facts);
}

}  // namespace thc::chm
