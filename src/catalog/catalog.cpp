#include "catalog/catalog.h"

#include "common/text.h"
#include "platform/textcase.h"

namespace thc {

namespace {

constexpr size_t npos = std::u16string_view::npos;

// readLine with the index of the text's last line feed known: once p is past
// it, no line feed can follow, so the search goes straight to carriage
// returns. Keeps a catalog of carriage-return lines linear instead of
// searching the whole rest of the text for a line feed on every line.
CatalogLine readLineFrom(std::u16string_view text, size_t p, size_t lastLineFeed) {
  CatalogLine result;
  if (text.empty() || p < 1 || p > text.size()) return result;
  const size_t start = p - 1;
  size_t end = npos;
  if (lastLineFeed != npos && lastLineFeed >= start) end = text.find(u'\n', start);
  if (end == npos) end = text.find(u'\r', start);
  if (end == npos) {
    result.line = std::u16string(text.substr(start));
    return result;
  }
  result.line = std::u16string(text.substr(start, end - start));
  result.next = end + 2;  // the 1-based position after the line end
  return result;
}

char16_t escapedCharacter(char16_t c) {
  switch (c) {
    case u't': return u'\t';
    case u'n': return u'\n';
    case u'r': return u'\r';
    default: return u' ';
  }
}

// One "key = text" line into the catalog; anything else is skipped.
void addCatalogLine(Catalog& catalog, std::u16string_view line) {
  if (line.empty() || line[0] == u'#') return;  // a comment only at the untrimmed start
  // The search starts at the second character: a leading "=" belongs to the key.
  const size_t equals = line.find(u'=', 1);
  if (equals == npos) return;
  std::u16string key = platform::toLower(trimText(line.substr(0, equals)));
  catalog[std::move(key)] = unescapeCatalogValue(trimText(line.substr(equals + 1)));
}

}  // namespace

bool buildCatalog(Catalog& catalog, std::u16string_view source) {
  catalog.clear();
  const size_t lastLineFeed = source.rfind(u'\n');
  std::optional<size_t> p = 1;
  while (p && *p <= source.size()) {
    CatalogLine line = readLineFrom(source, *p, lastLineFeed);
    addCatalogLine(catalog, line.line);
    p = line.next;
  }
  return true;
}

CatalogLine readLine(std::u16string_view text, size_t p) {
  return readLineFrom(text, p, text.rfind(u'\n'));
}

std::u16string unescapeCatalogValue(std::u16string_view value) {
  std::u16string result;
  result.reserve(value.size());
  size_t backslashes = 0;
  for (char16_t c : value) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    result.append(backslashes / 2, u'\\');
    if (backslashes % 2 == 1) {
      result += escapedCharacter(c);
    } else {
      result += c;
    }
    backslashes = 0;
  }
  // A run of backslashes at the very end has no character to escape: dropped.
  return result;
}

namespace {

// The keys the pages pass are short ASCII words: they are lowered on the
// stack, which gives the same key as the full lower-casing.
Catalog::const_iterator findLowered(const Catalog& catalog, std::u16string_view key) {
  constexpr size_t kShortKey = 64;
  char16_t lowered[kShortKey];
  if (key.size() <= kShortKey) {
    bool ascii = true;
    for (size_t i = 0; i < key.size() && ascii; ++i) {
      char16_t c = key[i];
      ascii = c < 0x80;
      lowered[i] = (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
    }
    if (ascii) return catalog.find(std::u16string_view(lowered, key.size()));
  }
  return catalog.find(platform::toLower(key));
}

}  // namespace

std::u16string catalogText(const Catalog& catalog, std::u16string_view key,
                           std::u16string_view builtIn) {
  if (catalog.empty()) return std::u16string(builtIn);
  auto found = findLowered(catalog, key);
  if (found == catalog.end()) return std::u16string(builtIn);
  return found->second;
}

std::u16string catalogText(const Catalog& catalog, const CatalogWord& word) {
  return catalogText(catalog, word.key, word.builtIn);
}

}  // namespace thc
