#include "chm/fiftimain.h"

#include <algorithm>

namespace thc::chm {

namespace {

constexpr size_t kHeader = 1024;
constexpr size_t kLeafHeader = 8;   // next leaf, 0, free bytes
constexpr size_t kIndexHeader = 2;  // free bytes

// The full-text flavour of the encoded integer: seven bits at a time,
// lowest first, every byte but the last with bit 7 set.
template <typename Bytes>
void appendCount(Bytes& out, uint32_t value) {
  while (value >= 0x80) {
    out.push_back(static_cast<char>((value & 0x7F) | 0x80));
    value >>= 7;
  }
  out.push_back(static_cast<char>(value));
}

size_t countSize(uint32_t value) {
  size_t size = 1;
  for (; value >= 0x80; value >>= 7) ++size;
  return size;
}

template <typename Bytes>
void append32(Bytes& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

size_t sharedStart(std::string_view a, std::string_view b) {
  return static_cast<size_t>(std::mismatch(a.begin(), a.begin() + static_cast<long>(std::min(a.size(), b.size())),
                                           b.begin())
                                 .first -
                             a.begin());
}

// Length byte, shared byte, the rest of the word.
void appendWord(std::string& out, std::string_view word, size_t shared) {
  out.push_back(static_cast<char>(word.size() - shared + 1));
  out.push_back(static_cast<char>(shared));
  out.append(word.substr(shared));
}

size_t leafEntrySize(size_t rest, const SearchIndexWriter::Entry& entry) {
  return 2 + rest + 1 + countSize(entry.topics) + 6 + countSize(static_cast<uint32_t>(entry.locations.size()));
}

}  // namespace

SearchIndexWriter::SearchIndexWriter() { out_.append(kHeader, '\0'); }

void SearchIndexWriter::addWord(std::string_view word, const Entry* title, const Entry* body) {
  // Both entries of a word share a leaf: a reader looks for a word in the
  // one leaf whose last word is not below it. The body's entry comes first:
  // a whole-word search in CHMLib's readers stops at the first entry of a
  // word, and the pages that use a word matter more than those titled by it
  // (a page's title words stand in its body as well).
  size_t shared = leaf_.empty() ? 0 : sharedStart(lastWord_, word);
  size_t size = 0;
  if (body) size += leafEntrySize(word.size() - shared, *body);
  if (title) size += leafEntrySize(body ? 0 : word.size() - shared, *title);
  if (!leaf_.empty() && kLeafHeader + leaf_.size() + size > kNode) {
    writeLeaf();
    shared = 0;
  }
  if (body) appendLeafEntry(word, shared, false, *body);
  if (title) appendLeafEntry(word, body ? word.size() : shared, true, *title);
  lastWord_ = word;
}

void SearchIndexWriter::appendLeafEntry(std::string_view word, size_t shared, bool title, const Entry& entry) {
  const uint32_t offset = static_cast<uint32_t>(out_.size());
  out_.append(entry.locations);
  appendWord(leaf_, word, shared);
  leaf_.push_back(title ? 1 : 0);
  appendCount(leaf_, entry.topics);
  append32(leaf_, offset);
  leaf_.append(2, '\0');
  appendCount(leaf_, static_cast<uint32_t>(entry.locations.size()));
}

void SearchIndexWriter::writeLeaf() {
  const size_t offset = out_.size();
  if (previousLeaf_ != 0) out_.put(previousLeaf_, offset, 4);
  lastLeafFree_ = static_cast<uint32_t>(kNode - kLeafHeader - leaf_.size());
  append32(out_, 0);  // the next leaf, filled in when it is written
  out_.append(2, '\0');
  out_.push_back(static_cast<char>(lastLeafFree_ & 0xFF));
  out_.push_back(static_cast<char>(lastLeafFree_ >> 8));
  out_.append(leaf_);
  out_.append(lastLeafFree_, '\0');
  level_.emplace_back(lastWord_, static_cast<uint32_t>(offset));
  previousLeaf_ = offset;
  ++leaves_;
  leaf_.clear();
}

// Each entry of an index node holds the last word of its child; a reader
// goes down into the first child whose last word is not below the one it
// looks for.
void SearchIndexWriter::writeIndexLevel() {
  std::vector<std::pair<std::string, uint32_t>> next;
  std::string node;
  std::string_view last;
  for (const auto& [word, child] : level_) {
    size_t shared = node.empty() ? 0 : sharedStart(last, word);
    if (!node.empty() && kIndexHeader + node.size() + 2 + word.size() - shared + 6 > kNode) {
      writeIndexNode(node, last, next);
      shared = 0;
    }
    appendWord(node, word, shared);
    append32(node, child);
    node.append(2, '\0');
    last = word;
  }
  writeIndexNode(node, last, next);
  level_.swap(next);
}

void SearchIndexWriter::writeIndexNode(std::string& node, std::string_view lastWord,
                                       std::vector<std::pair<std::string, uint32_t>>& into) {
  const size_t free = kNode - kIndexHeader - node.size();
  into.emplace_back(lastWord, static_cast<uint32_t>(out_.size()));
  out_.push_back(static_cast<char>(free & 0xFF));
  out_.push_back(static_cast<char>(free >> 8));
  out_.append(node);
  out_.append(free, '\0');
  node.clear();
}

std::optional<PieceBuffer> SearchIndexWriter::finish(const SearchIndexFacts& facts) {
  // An index without words still has its one (empty) leaf as the root.
  if (!leaf_.empty() || leaves_ == 0) writeLeaf();
  uint16_t depth = 1;
  for (; level_.size() > 1; ++depth) writeIndexLevel();
  if (out_.size() > UINT32_MAX) return std::nullopt;
  writeHeader(facts, level_.front().second, depth);
  return std::move(out_);
}

void SearchIndexWriter::writeHeader(const SearchIndexFacts& facts, uint32_t root, uint16_t depth) {
  out_.put(0x00, 0x00280000, 4);  // the signature 00 00 28 00
  out_.put(0x04, facts.topics, 4);
  out_.put(0x08, root, 4);
  out_.put(0x10, leaves_, 4);
  out_.put(0x14, root, 4);
  out_.put(0x18, depth, 2);
  out_.put(0x1A, 7, 4);
  const uint8_t roots[] = {facts.topicRoot, facts.countRoot, facts.locationRoot};
  for (size_t i = 0; i < 3; ++i) {
    out_.put(0x1E + 2 * i, 2, 1);  // scale
    out_.put(0x1F + 2 * i, roots[i], 1);
  }
  out_.put(0x2E, kNode, 4);
  out_.put(0x3E, facts.longestWord, 4);
  out_.put(0x42, std::min<uint64_t>(facts.occurrences, UINT32_MAX), 4);
  out_.put(0x46, facts.distinctWords, 4);
  out_.put(0x4A, facts.occurrenceBytes, 8);
  out_.put(0x52, std::min<uint64_t>(facts.distinctBytes, UINT32_MAX), 4);
  out_.put(0x56, lastLeafFree_, 4);
  out_.put(0x5E, facts.topics == 0 ? 0 : facts.topics - 1, 4);
  out_.put(0x7A, facts.codePage, 4);
  out_.put(0x7E, facts.lcid, 4);
}

}  // namespace thc::chm
