#include "helpproject/sitemap.h"

namespace thc {

void appendSitemapValue(std::u16string& out, std::u16string_view text) {
  // Runs without a character to replace go in as one piece.
  for (;;) {
    size_t special = 0;
    while (special < text.size() && text[special] != u'"' && text[special] != u'<' &&
           text[special] != u'>') {
      ++special;
    }
    out.append(text.substr(0, special));
    if (special == text.size()) return;
    switch (text[special]) {
      case u'"':
        out += u"&quot;";
        break;
      case u'<':
        out += u"&lt;";
        break;
      default:
        out += u"&gt;";
        break;
    }
    text.remove_prefix(special + 1);
  }
}

namespace {

constexpr std::u16string_view paramStart = u"<param name=\"";
constexpr std::u16string_view paramValue = u"\" value=\"";
constexpr std::u16string_view paramEnd = u"\">\n";

}  // namespace

size_t sitemapValueSize(std::u16string_view text) {
  size_t size = text.size();
  for (char16_t c : text) {
    if (c == u'"') {
      size += 5;  // &quot;
    } else if (c == u'<' || c == u'>') {
      size += 3;  // &lt; &gt;
    }
  }
  return size;
}

void appendParamLine(std::u16string& out, std::u16string_view name, std::u16string_view value) {
  out += paramStart;
  out += name;
  out += paramValue;
  appendSitemapValue(out, value);
  out += paramEnd;
}

size_t paramLineSize(std::u16string_view name, std::u16string_view value) {
  return paramStart.size() + name.size() + paramValue.size() + sitemapValueSize(value) +
         paramEnd.size();
}

}  // namespace thc
