#include "pages/pagebody.h"

#include "pages/classpage.h"
#include "pages/commandpage.h"
#include "pages/constantspage.h"
#include "pages/historypage.h"
#include "pages/indexpage.h"
#include "pages/librarypage.h"
#include "pages/macrospage.h"
#include "pages/structurepage.h"

namespace thc {

namespace {

// The neighbours of the item at position i, taken within its own list only.
template <typename Item>
const Item* previousItem(const std::vector<Item>& items, size_t i) {
  return i > 0 ? &items[i - 1] : nullptr;
}

template <typename Item>
const Item* nextItem(const std::vector<Item>& items, size_t i) {
  return i + 1 < items.size() ? &items[i + 1] : nullptr;
}

std::u16string itemBody(const Catalog& catalog, PageNames names, const Library& library,
                        const PlannedPage& page) {
  const size_t i = page.item;
  switch (page.kind) {
    case PageKind::Member: {
      const Class& cls = library.classes[i];
      const size_t m = page.member;
      return commandPageBody(catalog, names, library, cls.methods[m], &cls, nextItem(cls.methods, m),
                             previousItem(cls.methods, m));
    }
    case PageKind::Class:
      return classPageBody(catalog, names, library, library.classes[i], nextItem(library.classes, i),
                           previousItem(library.classes, i));
    case PageKind::Command:
      return commandPageBody(catalog, names, library, library.commands[i], nullptr,
                             nextItem(library.commands, i), previousItem(library.commands, i));
    case PageKind::Structure:
      return structurePageBody(catalog, names, library, library.structures[i],
                               nextItem(library.structures, i), previousItem(library.structures, i));
    case PageKind::Macros:
      return macrosPageBody(catalog, library);
    case PageKind::Constants:
      return constantsPageBody(catalog, library);
    case PageKind::LibraryHistory:
      return historyPageBody(catalog, library.history);
    default:
      return {};
  }
}

}  // namespace

std::u16string pageBody(const Project& project, const Catalog& catalog, PageNames names,
                        const PlannedPage& page) {
  const std::vector<Library>& libraries = project.libraries;
  switch (page.kind) {
    case PageKind::ProjectHistory:
      return historyPageBody(catalog, project.history);
    case PageKind::Index:
      return indexPageBody(catalog, names, project);
    case PageKind::Library:
      return libraryPageBody(catalog, names, libraries[page.library], nextItem(libraries, page.library),
                             previousItem(libraries, page.library));
    default:
      return itemBody(catalog, names, libraries[page.library], page);
  }
}

}  // namespace thc
