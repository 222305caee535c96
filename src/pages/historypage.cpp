#include "pages/historypage.h"

#include "catalog/catalog.h"
#include "pages/pagetext.h"

namespace thc {

std::u16string historyPageBody(const Catalog& catalog, std::u16string_view text) {
  std::u16string out;
  appendText(out, {u"<h2>", catalogText(catalog, words::History), u"</h2><div class='marleft'>",
                   text, u"</div>"});
  return out;
}

}  // namespace thc
