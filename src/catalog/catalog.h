// The language catalog: every fixed word of the generated pages has a key and
// a built-in English text; the project's catalog text may replace any of them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "project/model.h"

namespace thc {

struct CatalogWord {
  std::u16string_view key;
  std::u16string_view builtIn;
};

// Every word the pages and the contents file look up.
namespace words {
inline constexpr CatalogWord All{u"all", u"all"};
inline constexpr CatalogWord AllBut{u"allbut", u"all but"};
inline constexpr CatalogWord Author{u"Author", u"Author"};
inline constexpr CatalogWord Classes{u"Classes", u"Classes"};
inline constexpr CatalogWord ClassOverview{u"classoverview", u"Class overview"};
inline constexpr CatalogWord CommandOverview{u"commandoverview", u"Command overview"};
inline constexpr CatalogWord Commands{u"Commands", u"Commands"};
inline constexpr CatalogWord Constant{u"Constant", u"Constant"};
inline constexpr CatalogWord ConstantOverview{u"constantoverview", u"Constant overview"};
inline constexpr CatalogWord Constants{u"Constants", u"Constants"};
inline constexpr CatalogWord Copyright{u"Copyright", u"Copyright"};
inline constexpr CatalogWord Default{u"Default", u"Default"};
inline constexpr CatalogWord Deprecated{u"deprecated", u"deprecated"};
inline constexpr CatalogWord Description{u"Description", u"Description"};
inline constexpr CatalogWord Elements{u"Elements", u"Elements"};
inline constexpr CatalogWord Examples{u"Examples", u"Examples"};
inline constexpr CatalogWord Functions{u"Functions", u"Functions"};
inline constexpr CatalogWord History{u"History", u"History"};
inline constexpr CatalogWord Index{u"Index", u"Index"};
inline constexpr CatalogWord Introduction{u"Introduction", u"Introduction"};
inline constexpr CatalogWord Libraries{u"Libraries", u"Libraries"};
inline constexpr CatalogWord LibraryWord{u"Library", u"Library"};
inline constexpr CatalogWord LibraryOverview{u"libraryoverview", u"Library overview"};
inline constexpr CatalogWord Licence{u"Licence", u"Licence"};
inline constexpr CatalogWord MacroOverview{u"macrooverview", u"Macro overview"};
inline constexpr CatalogWord Macros{u"Macros", u"Macros"};
inline constexpr CatalogWord Makros{u"Makros", u"Makros"};
inline constexpr CatalogWord NameWord{u"Name", u"Name"};
inline constexpr CatalogWord Offset{u"Offset", u"Offset"};
inline constexpr CatalogWord Parameter{u"Parameter", u"Parameter"};
inline constexpr CatalogWord Parameters{u"Parameters", u"Parameters"};
inline constexpr CatalogWord References{u"References", u"References"};
inline constexpr CatalogWord ResultWord{u"Result", u"Result"};
inline constexpr CatalogWord StructureOverview{u"structureoverview", u"Structure overview"};
inline constexpr CatalogWord Structures{u"Structures", u"Structures"};
inline constexpr CatalogWord SupportedSystems{u"SupportedSystems", u"Supported systems"};
inline constexpr CatalogWord Syntax{u"Syntax", u"Syntax"};
}  // namespace words

// Fills the catalog from the catalog text (lines of key = text). Never fails.
bool buildCatalog(Catalog& catalog, std::u16string_view source);

// The line starting at the 1-based position p, and the 1-based position of
// the following line (none when there is no following line). A line ends at
// the first line feed at or after p; only when no line feed follows, at the
// first carriage return. A position of 0 or past the end gives an empty line
// and none.
struct CatalogLine {
  std::u16string line;
  std::optional<size_t> next;
};
CatalogLine readLine(std::u16string_view text, size_t p);

// Resolves the backslash escapes of a catalog value.
std::u16string unescapeCatalogValue(std::u16string_view value);

// The catalog text for the lower-cased key, else the built-in text.
std::u16string catalogText(const Catalog& catalog, std::u16string_view key,
                           std::u16string_view builtIn);
std::u16string catalogText(const Catalog& catalog, const CatalogWord& word);

}  // namespace thc
