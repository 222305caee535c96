#include "helpproject/sitemap.h"

namespace thc {

void appendSitemapValue(std::string& out, std::u16string_view text, TextEncoder& encoder) {
  // Runs without a character to replace go in as one piece.
  for (;;) {
    size_t special = 0;
    while (special < text.size() && text[special] != u'"' && text[special] != u'<' &&
           text[special] != u'>') {
      ++special;
    }
    encoder.appendWithReferences(out, text.substr(0, special));
    if (special == text.size()) return;
    switch (text[special]) {
      case u'"':
        out += "&quot;";
        break;
      case u'<':
        out += "&lt;";
        break;
      default:
        out += "&gt;";
        break;
    }
    text.remove_prefix(special + 1);
  }
}

namespace {

constexpr std::string_view paramStart = "<param name=\"";
constexpr std::string_view paramValue = "\" value=\"";
constexpr std::string_view paramEnd = "\">\n";

}  // namespace

size_t sitemapValueSize(std::u16string_view text, TextEncoder& encoder) {
  // The replaced characters are ASCII, one byte each before they are replaced.
  size_t size = encoder.sizeWithReferences(text);
  for (char16_t c : text) {
    if (c == u'"') {
      size += 5;  // &quot;
    } else if (c == u'<' || c == u'>') {
      size += 3;  // &lt; &gt;
    }
  }
  return size;
}

void appendParamLine(std::string& out, std::string_view name, std::u16string_view value,
                     TextEncoder& encoder) {
  out += paramStart;
  out += name;
  out += paramValue;
  appendSitemapValue(out, value, encoder);
  out += paramEnd;
}

size_t paramLineSize(std::string_view name, std::u16string_view value, TextEncoder& encoder) {
  return paramStart.size() + name.size() + paramValue.size() + sitemapValueSize(value, encoder) +
         paramEnd.size();
}

}  // namespace thc
