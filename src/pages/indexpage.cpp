#include "pages/indexpage.h"

#include "catalog/catalog.h"
#include "markup/naming.h"
#include "pages/pagetext.h"

namespace thc {

namespace {

// "<h3>" + word + "</h3><p class='marleft'>" + text + "</p>", only for a text.
void appendTextSection(std::u16string& out, const Catalog& catalog, const CatalogWord& word,
                       const std::u16string& text) {
  if (text.empty()) return;
  appendText(out, {u"<h3>", catalogText(catalog, word), u"</h3><p class='marleft'>", text,
                   u"</p>"});
}

void appendLibraryOverview(std::u16string& out, const Catalog& catalog, PageNames names,
                           const Project& project) {
  if (project.libraries.empty()) return;
  appendText(out, {u"<h3><a name='libraries'></a>", catalogText(catalog, words::LibraryOverview),
                   u"</h3><p class='marleft syntax'>"});
  for (const Library& library : project.libraries) {
    appendText(out,
               {u"<a href='", libraryPageName(names, library.name), u"'>", library.name, u"</a>"});
    appendDeprecatedMark(out, catalog, library.deprecated);
    out += u"<br>";
  }
  out += u"</p>";
}

}  // namespace

std::u16string indexPageBody(const Catalog& catalog, PageNames names, const Project& project) {
  std::u16string out;
  if (!project.title.empty()) appendText(out, {u"<h2>", project.title, u"</h2>"});
  if (!project.version.empty()) appendText(out, {u"<h6>", project.version, u"</h6>"});
  appendText(out, {u"<h3>", catalogText(catalog, words::Introduction),
                   u"</h3><div class='marleft'>", project.description, u"</div>"});
  appendLibraryOverview(out, catalog, names, project);
  appendTextSection(out, catalog, words::Author, project.author);
  appendTextSection(out, catalog, words::Licence, project.license);
  appendTextSection(out, catalog, words::Copyright, project.copyright);
  return out;
}

}  // namespace thc
