#include "helpproject/indexfile.h"

namespace thc {

// Placeholders until the index file lands.
void addKeywords(KeywordMap&, const IndexEntry&) {}
std::u16string indexBody(Project&) { return {}; }
bool writeIndexFile(Console&, std::u16string_view, std::u16string_view) { return true; }

}  // namespace thc
