#include "helpproject/indexfile.h"

#include <array>
#include <cstdint>
#include <vector>

#include "codepage/codepage.h"
#include "common/output.h"
#include "common/text.h"
#include "helpproject/sitemap.h"

namespace thc {

namespace {

constexpr uint32_t slotCount = 512;

// The slot of a keyword in the 512-slot hash that decides the visiting order
// of the index: h = h * 65599 + c over the UTF-16 code units, wrapping.
uint32_t keywordSlot(std::u16string_view keyword) {
  uint32_t h = 0;
  for (char16_t c : keyword) h = h * 65599u + c;
  return h % slotCount;
}

void fileUnder(KeywordMap& keywordMap, std::u16string_view keyword, const IndexLink& link) {
  auto position = keywordMap.positions.find(keyword);
  if (position == keywordMap.positions.end()) {
    position = keywordMap.positions.emplace(std::u16string(keyword), keywordMap.keywords.size()).first;
    keywordMap.keywords.push_back({std::u16string(keyword), {}});
  }
  keywordMap.keywords[position->second].links.push_back(link);
}

constexpr std::string_view keywordStart = "<LI> <OBJECT type=\"text/sitemap\">\n";
constexpr std::string_view keywordEnd = "</OBJECT> </LI>\n";

void appendKeyword(std::string& out, TextEncoder& encoder, const KeywordMap::Keyword& keyword) {
  out += keywordStart;
  appendParamLine(out, "Name", keyword.keyword, encoder);
  for (const IndexLink& link : keyword.links) {
    appendParamLine(out, "Name", link.title, encoder);
    appendParamLine(out, "Local", link.local, encoder);
  }
  out += keywordEnd;
}

// What appendKeyword appends, counted first so that the index text, the
// largest text of a run, is allocated once instead of growing by doubling.
size_t keywordSize(TextEncoder& encoder, const KeywordMap::Keyword& keyword) {
  size_t size =
      keywordStart.size() + paramLineSize("Name", keyword.keyword, encoder) + keywordEnd.size();
  for (const IndexLink& link : keyword.links) {
    size +=
        paramLineSize("Name", link.title, encoder) + paramLineSize("Local", link.local, encoder);
  }
  return size;
}

}  // namespace

std::vector<size_t> keywordOrder(const KeywordMap& keywordMap) {
  // A counting sort by slot; walking the keywords from the newest to the
  // oldest puts the keyword created last first within its slot.
  const size_t count = keywordMap.keywords.size();
  std::vector<uint32_t> slots(count);
  std::array<size_t, slotCount + 1> start{};
  for (size_t i = 0; i < count; ++i) {
    slots[i] = keywordSlot(keywordMap.keywords[i].keyword);
    ++start[slots[i] + 1];
  }
  for (uint32_t s = 0; s < slotCount; ++s) start[s + 1] += start[s];
  std::vector<size_t> order(count);
  for (size_t i = count; i-- > 0;) order[start[slots[i]]++] = i;
  return order;
}

void addKeywords(KeywordMap& keywordMap, const IndexEntry& entry) {
  const std::u16string_view keywords = trimmedView(entry.keywords);
  if (keywords.empty()) return;
  IndexLink link{entry.title, entry.page};
  if (!entry.anchor.empty()) link.local += u"#" + entry.anchor;
  std::u16string_view rest = keywords;
  for (;;) {
    const size_t semicolon = rest.find(u';');
    const std::u16string_view field = trimmedView(rest.substr(0, semicolon));
    if (!field.empty()) fileUnder(keywordMap, field, link);
    if (semicolon == std::u16string_view::npos) break;
    rest.remove_prefix(semicolon + 1);
  }
}

KeywordMap collectKeywords(const std::vector<IndexEntry>& entries) {
  KeywordMap map;
  for (const IndexEntry& entry : entries) addKeywords(map, entry);
  return map;
}

std::string indexBody(const std::vector<IndexEntry>& entries, std::u16string_view lang) {
  const KeywordMap map = collectKeywords(entries);
  TextEncoder encoder(helpCodePage(lang));
  size_t size = 0;
  for (const KeywordMap::Keyword& keyword : map.keywords) size += keywordSize(encoder, keyword);
  std::string out;
  out.reserve(size);
  for (size_t position : keywordOrder(map)) appendKeyword(out, encoder, map.keywords[position]);
  return out;
}

bool writeIndexFile(Console& console, OutputFolder& folder, std::string_view body) {
  std::string head =
      "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\n"
      "<HTML>\n"
      "<HEAD>\n"
      "<meta name=\"GENERATOR\" content=\"";
  head += generatorCredit;
  head +=
      "\">\n"
      "<!-- Sitemap 1.0 -->\n"
      "</HEAD><BODY>\n"
      "<UL>\n";
  return folder.writeBytes(console, u"idx.hhk", {head, body, "</UL>\n</BODY></HTML>\n"});
}

}  // namespace thc
