#include "catalog/catalog.h"

#include "common/text.h"
#include "platform/textcase.h"

namespace thc {

// Placeholder until the catalog reader lands: no words are replaced.
bool buildCatalog(Catalog& catalog, std::u16string_view) {
  catalog.clear();
  return true;
}

CatalogLine readLine(std::u16string_view, size_t) { return {}; }

std::u16string unescapeCatalogValue(std::u16string_view value) { return std::u16string(value); }

std::u16string catalogText(const Catalog& catalog, std::u16string_view key,
                           std::u16string_view builtIn) {
  if (catalog.empty()) return std::u16string(builtIn);
  auto found = catalog.find(platform::toLower(key));
  if (found == catalog.end()) return std::u16string(builtIn);
  return found->second;
}

std::u16string catalogText(const Catalog& catalog, const CatalogWord& word) {
  return catalogText(catalog, word.key, word.builtIn);
}

}  // namespace thc
