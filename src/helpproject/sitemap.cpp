#include "helpproject/sitemap.h"

namespace thc {

void appendSitemapValue(std::u16string& out, std::u16string_view text) {
  for (char16_t c : text) {
    switch (c) {
      case u'"':
        out += u"&quot;";
        break;
      case u'<':
        out += u"&lt;";
        break;
      case u'>':
        out += u"&gt;";
        break;
      default:
        out.push_back(c);
    }
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
