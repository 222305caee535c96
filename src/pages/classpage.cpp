#include "pages/classpage.h"

#include "catalog/catalog.h"
#include "markup/naming.h"
#include "pages/pagetext.h"

namespace thc {

namespace {

void appendFunctions(std::u16string& out, const Catalog& catalog, PageNames names,
                     const Library& library, const Class& cls) {
  if (cls.methods.empty()) return;
  appendText(out, {u"<h3>", catalogText(catalog, words::Functions),
                   u"</h3><p class='marleft syntax'>"});
  for (const Command& method : cls.methods) {
    appendText(out, {u"<a href='", memberPageName(names, library.name, cls.name, method.name),
                     u"' class='syntax'>", memberLinkText(u"", u"", method.name), u"</a>"});
    appendDeprecatedMark(out, catalog, method.deprecated);
    out += u"<br>";
  }
  out += u"</p>";
}

NavigationLink classLink(PageNames names, const Library& library, const Class& cls) {
  return {classPageName(names, library.name, cls.name), classLinkText(library.name, cls.name)};
}

}  // namespace

std::u16string classPageBody(const Catalog& catalog, PageNames names, const Library& library,
                             const Class& cls, const Class* next, const Class* previous) {
  std::u16string out;
  appendText(out, {u"<h2>", classLinkText(library.name, cls.name), u"</h2><h3>",
                   catalogText(catalog, words::Description)});
  appendDeprecatedMark(out, catalog, cls.deprecated);
  appendText(out, {u"</h3><div class='marleft'>", cls.description, u"</div>"});
  appendFunctions(out, catalog, names, library, cls);

  // The up link shows the bare library name.
  const NavigationLink up{libraryPageName(names, library.name), library.name};
  const NavigationLink previousLink =
      previous ? classLink(names, library, *previous) : NavigationLink{};
  const NavigationLink nextLink = next ? classLink(names, library, *next) : NavigationLink{};
  appendNavigationBar(out, previous ? &previousLink : nullptr, up, next ? &nextLink : nullptr);
  return out;
}

}  // namespace thc
