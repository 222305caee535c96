#include "chm/pagetitle.h"

#include "common/text.h"
#include "common/utf.h"

namespace thc::chm {

namespace {

size_t findIgnoringCase(std::string_view text, std::string_view word, size_t from) {
  for (size_t i = from; i + word.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < word.size() && (text[i + k] | 0x20) == word[k]) ++k;
    if (k == word.size()) return i;
  }
  return std::string_view::npos;
}

}  // namespace

std::u16string pageTitle(std::string_view html) {
  const size_t open = findIgnoringCase(html, "<title", 0);
  if (open == std::string_view::npos) return {};
  const size_t start = html.find('>', open);
  if (start == std::string_view::npos) return {};
  const size_t end = findIgnoringCase(html, "</title", start);
  if (end == std::string_view::npos) return {};
  std::u16string title;
  for (char16_t c : fromUtf8(html.substr(start + 1, end - start - 1))) {
    const bool blank = c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
    if (blank && (title.empty() || title.back() == u' ')) continue;
    title += blank ? u' ' : c;
  }
  return trimText(title);
}

}  // namespace thc::chm
