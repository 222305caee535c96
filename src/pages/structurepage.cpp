#include "pages/structurepage.h"

#include "catalog/catalog.h"
#include "markup/naming.h"
#include "pages/pagetext.h"

namespace thc {

namespace {

void appendElements(std::u16string& out, const Catalog& catalog, const Structure& structure) {
  if (structure.elements.empty()) return;
  appendText(out, {u"<h3>", catalogText(catalog, words::Elements),
                   u"</h3><table class='marleft'><tr><th>", catalogText(catalog, words::Offset),
                   u"</th><th>", catalogText(catalog, words::NameWord), u"</th><th>",
                   catalogText(catalog, words::Description), u"</th></tr>"});
  // The rows come in offset order (sorted before generation); each shows its
  // offset as written.
  for (const StructureElement& element : structure.elements) {
    appendText(out, {u"<tr><td class='padright syntax'>", element.offset,
                     u"</td><td class='padright syntax'>",
                     typedName(element.name, element.type, false), u"</td><td>",
                     element.description, u"</td></tr>"});
  }
  out += u"</table>";
}

NavigationLink structureLink(PageNames names, const Library& library, const Structure& structure) {
  return {structurePageName(names, library.name, structure.name),
          structureLinkText(library.name, structure.name)};
}

}  // namespace

std::u16string structurePageBody(const Catalog& catalog, PageNames names, const Library& library,
                                 const Structure& structure, const Structure* next,
                                 const Structure* previous) {
  std::u16string out;
  appendText(out, {u"<h2>", structureLinkText(library.name, structure.name), u"</h2><h3>",
                   catalogText(catalog, words::Description)});
  appendDeprecatedMark(out, catalog, structure.deprecated);
  appendText(out, {u"</h3><div class='marleft'>", structure.description, u"</div>"});
  appendElements(out, catalog, structure);

  const NavigationLink up{libraryPageName(names, library.name), libraryLinkText(library.name)};
  const NavigationLink previousLink =
      previous ? structureLink(names, library, *previous) : NavigationLink{};
  const NavigationLink nextLink = next ? structureLink(names, library, *next) : NavigationLink{};
  appendNavigationBar(out, previous ? &previousLink : nullptr, up, next ? &nextLink : nullptr);
  return out;
}

}  // namespace thc
