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

void appendParamLine(std::u16string& out, std::u16string_view name, std::u16string_view value) {
  out += u"<param name=\"";
  out += name;
  out += u"\" value=\"";
  appendSitemapValue(out, value);
  out += u"\">\n";
}

}  // namespace thc
