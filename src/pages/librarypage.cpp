#include "pages/librarypage.h"

#include "catalog/catalog.h"
#include "markup/naming.h"
#include "pages/pagetext.h"

namespace thc {

namespace {

// One overview section: the anchored heading, then one line per item made by
// appendItem, each followed by the item's deprecated mark and "<br>".
template <typename Item, typename AppendItem>
void appendOverview(std::u16string& out, const Catalog& catalog, const std::vector<Item>& items,
                    std::u16string_view anchor, const CatalogWord& heading,
                    AppendItem appendItem) {
  if (items.empty()) return;
  appendText(out, {u"<h3><a name='", anchor, u"'></a>", catalogText(catalog, heading),
                   u"</h3><p class='marleft syntax'>"});
  for (const Item& item : items) {
    appendItem(item);
    appendDeprecatedMark(out, catalog, item.deprecated);
    out += u"<br>";
  }
  out += u"</p>";
}

NavigationLink libraryLink(PageNames names, const Library& library) {
  return {libraryPageName(names, library.name), library.name};
}

}  // namespace

std::u16string libraryPageBody(const Catalog& catalog, PageNames names, const Library& library,
                               const Library* next, const Library* previous) {
  const std::u16string& name = library.name;
  std::u16string out;
  appendText(out, {u"<h2>", catalogText(catalog, words::LibraryWord), u": ", name, u"</h2>"});
  if (!library.version.empty()) appendText(out, {u"<h6>", library.version, u"</h6>"});
  appendText(out, {u"<h3>", catalogText(catalog, words::Introduction)});
  appendDeprecatedMark(out, catalog, library.deprecated);
  appendText(out, {u"</h3><div class='marleft'>", library.description, u"</div>"});

  appendOverview(out, catalog, library.classes, u"classes", words::ClassOverview,
                 [&](const Class& item) {
                   appendText(out, {u"<a href='", classPageName(names, name, item.name), u"'>",
                                    classLinkText(u"", item.name), u"</a>"});
                 });
  appendOverview(out, catalog, library.commands, u"commands", words::CommandOverview,
                 [&](const Command& item) {
                   appendText(out, {u"<a href='", commandPageName(names, name, item.name), u"'>",
                                    commandLinkText(u"", item.name), u"</a>"});
                 });
  appendOverview(out, catalog, library.structures, u"structures", words::StructureOverview,
                 [&](const Structure& item) {
                   appendText(out, {u"<a href='", structurePageName(names, name, item.name), u"'>",
                                    structureLinkText(u"", item.name), u"</a>"});
                 });
  appendOverview(out, catalog, library.constants, u"constants", words::ConstantOverview,
                 [&](const Constant& item) {
                   appendText(out, {u"<a href='", constantLink(names, name, item.name),
                                    u"' class='syntax'>#", item.name, u"</a>"});
                 });
  appendOverview(out, catalog, library.macros, u"macros", words::MacroOverview,
                 [&](const Macro& item) {
                   appendText(out, {u"<a href='", macroLink(names, name, item.name),
                                    u"' class='syntax'>", item.name,
                                    item.args.empty() ? u"" : u"()", u"</a>"});
                 });

  const NavigationLink up{u"index.html", catalogText(catalog, words::Index)};
  const NavigationLink previousLink = previous ? libraryLink(names, *previous) : NavigationLink{};
  const NavigationLink nextLink = next ? libraryLink(names, *next) : NavigationLink{};
  appendNavigationBar(out, previous ? &previousLink : nullptr, up, next ? &nextLink : nullptr);
  return out;
}

}  // namespace thc
