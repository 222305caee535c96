#include "chm/sitemapcheck.h"

namespace thc::chm {

namespace {

bool startsWithIgnoringCase(std::string_view text, std::string_view word) {
  if (text.size() < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != word[i]) return false;
  }
  return true;
}

// "<ul" or "</ul" followed by the end of the name.
bool isListTag(std::string_view rest, std::string_view name) {
  if (!startsWithIgnoringCase(rest, name)) return false;
  if (rest.size() == name.size()) return true;
  const char after = rest[name.size()];
  return after == '>' || after == ' ' || after == '\t' || after == '\r' || after == '\n' || after == '/';
}

}  // namespace

bool listsClose(std::string_view sitemap) {
  long depth = 0;
  size_t at = 0;
  while ((at = sitemap.find('<', at)) != std::string_view::npos) {
    const std::string_view rest = sitemap.substr(at);
    if (rest.starts_with("<!--")) {
      const size_t end = sitemap.find("-->", at + 4);
      if (end == std::string_view::npos) return false;
      at = end + 3;
      continue;
    }
    if (isListTag(rest, "<ul")) ++depth;
    if (isListTag(rest, "</ul") && --depth < 0) return false;
    ++at;
  }
  return depth == 0;
}

}  // namespace thc::chm
