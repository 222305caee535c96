#include "pages/constantspage.h"

#include "catalog/catalog.h"
#include "pages/pagetext.h"

namespace thc {

std::u16string constantsPageBody(const Catalog& catalog, const Library& library) {
  std::u16string out;
  const std::u16string description = catalogText(catalog, words::Description);
  appendText(out, {u"<h2>", catalogText(catalog, words::Constants),
                   u"</h2><table class='marleft'><tr><th>", catalogText(catalog, words::Constant),
                   u"</th><th>", description, u"</th></tr>"});
  for (const Constant& constant : library.constants) {
    // The anchor is the bare name; the visible name carries a leading "#".
    appendText(out, {u"<tr><td class='padright syntax'><a name='", constant.name, u"'></a>#",
                     constant.name});
    if (constant.deprecated) {
      appendText(out, {u"<br><span class='stdfont deprecated'>(",
                       catalogText(catalog, words::Deprecated), u")</span>"});
    }
    appendText(out, {u"</td><td>", constant.description, u"</td></tr>"});
  }
  out += u"</table>";
  return out;
}

}  // namespace thc
