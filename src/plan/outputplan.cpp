#include "plan/outputplan.h"

#include <utility>

#include "catalog/catalog.h"
#include "codepage/codepage.h"
#include "markup/imagelist.h"

namespace thc {

namespace {

uint32_t position(size_t i) { return static_cast<uint32_t>(i); }

class Planner {
 public:
  Planner(const Project& project, const Catalog& catalog) : project_(project), catalog_(catalog) {
    plan_.names = PageNames{helpCodePage(project.lang)};
  }

  OutputPlan run() {
    const std::vector<Library>& libraries = project_.libraries;
    for (const Library& library : libraries) nameEntries(library);
    for (size_t i = 0; i < libraries.size(); ++i) planLibrary(position(i));
    planProjectPages();
    for (const ImageEntry& image : project_.images) {
      plan_.images.push_back(PlannedImage{image.source, imageFileName(image.number, image.source)});
    }
    return std::move(plan_);
  }

 private:
  void page(PageKind kind, uint32_t library, uint32_t item, uint32_t member, std::u16string file,
            std::u16string title) {
    plan_.pages.push_back(PlannedPage{kind, library, item, member, std::move(file), std::move(title)});
  }

  // An entry for an item the author gave keywords to.
  void keywordEntry(const std::u16string& title, const std::u16string& file,
                    const std::u16string& keywords, const std::u16string& anchor = {}) {
    if (keywords.empty()) return;
    plan_.indexEntries.push_back(IndexEntry{title, file, keywords, anchor});
  }

  // The name is both the title and the keyword, as stored (untrimmed); an
  // empty name gives empty keywords, which the index file skips.
  void nameEntry(const std::u16string& name, std::u16string file) {
    plan_.indexEntries.push_back(IndexEntry{name, std::move(file), name, std::u16string()});
  }

  // Library name + " - " + the catalog word.
  std::u16string libraryPageTitle(const Library& library, const CatalogWord& word) const {
    return library.name + u" - " + catalogText(catalog_, word);
  }

  void nameEntries(const Library& library);
  void planClass(uint32_t lib, uint32_t i);
  void planItems(uint32_t lib);
  void planLibrary(uint32_t lib);
  void planProjectPages();

  const Project& project_;
  const Catalog& catalog_;
  OutputPlan plan_;
};

// The methods of each class before the class, then commands, structures,
// constants, macros, and last the library itself.
void Planner::nameEntries(const Library& library) {
  const PageNames names = plan_.names;
  const std::u16string& lib = library.name;
  for (const Class& cls : library.classes) {
    for (const Command& method : cls.methods) {
      nameEntry(method.name, memberPageName(names, lib, cls.name, method.name));
    }
    nameEntry(cls.name, classPageName(names, lib, cls.name));
  }
  for (const Command& command : library.commands) {
    nameEntry(command.name, commandPageName(names, lib, command.name));
  }
  for (const Structure& structure : library.structures) {
    nameEntry(structure.name, structurePageName(names, lib, structure.name));
  }
  // Constants and macros share one page per library: the anchor is already
  // part of the link, so the entry's own anchor stays empty.
  for (const Constant& constant : library.constants) {
    nameEntry(constant.name, constantLink(names, lib, constant.name));
  }
  for (const Macro& macro : library.macros) nameEntry(macro.name, macroLink(names, lib, macro.name));
  nameEntry(lib, libraryPageName(names, lib));
}

// The pages of the class's methods, then the class page.
void Planner::planClass(uint32_t lib, uint32_t i) {
  const Library& library = project_.libraries[lib];
  const Class& cls = library.classes[i];
  for (size_t m = 0; m < cls.methods.size(); ++m) {
    const Command& method = cls.methods[m];
    std::u16string file = memberPageName(plan_.names, library.name, cls.name, method.name);
    std::u16string title = memberLinkText(library.name, cls.name, method.name);
    keywordEntry(title, file, method.keywords);
    page(PageKind::Member, lib, i, position(m), std::move(file), std::move(title));
  }
  std::u16string file = classPageName(plan_.names, library.name, cls.name);
  std::u16string title = classLinkText(library.name, cls.name);
  keywordEntry(title, file, cls.keywords);
  page(PageKind::Class, lib, i, 0, std::move(file), std::move(title));
}

// The commands, the structures, and the one page of the macros and of the
// constants each, whose index entries point at their anchors.
void Planner::planItems(uint32_t lib) {
  const Library& library = project_.libraries[lib];
  const PageNames names = plan_.names;
  for (size_t i = 0; i < library.commands.size(); ++i) {
    const Command& command = library.commands[i];
    std::u16string file = commandPageName(names, library.name, command.name);
    std::u16string title = commandLinkText(library.name, command.name);
    keywordEntry(title, file, command.keywords);
    page(PageKind::Command, lib, position(i), 0, std::move(file), std::move(title));
  }
  for (size_t i = 0; i < library.structures.size(); ++i) {
    const Structure& structure = library.structures[i];
    std::u16string file = structurePageName(names, library.name, structure.name);
    std::u16string title = structureLinkText(library.name, structure.name);
    keywordEntry(title, file, structure.keywords);
    page(PageKind::Structure, lib, position(i), 0, std::move(file), std::move(title));
  }
  if (!library.macros.empty()) {
    const std::u16string file = macrosPageName(names, library.name);
    const std::u16string title = libraryPageTitle(library, words::Macros);
    for (const Macro& macro : library.macros) keywordEntry(title, file, macro.keywords, macro.name);
    page(PageKind::Macros, lib, 0, 0, file, title);
  }
  if (!library.constants.empty()) {
    const std::u16string file = constantsPageName(names, library.name);
    const std::u16string title = libraryPageTitle(library, words::Constants);
    for (const Constant& constant : library.constants) {
      keywordEntry(title, file, constant.keywords, constant.name);
    }
    page(PageKind::Constants, lib, 0, 0, file, title);
  }
}

// The items' pages, the history page when there is a history, and last the
// library page.
void Planner::planLibrary(uint32_t lib) {
  const Library& library = project_.libraries[lib];
  for (size_t c = 0; c < library.classes.size(); ++c) planClass(lib, position(c));
  planItems(lib);
  std::u16string file = libraryPageName(plan_.names, library.name);
  std::u16string title = libraryLinkText(library.name);
  keywordEntry(title, file, library.keywords);
  if (!library.history.empty()) {
    page(PageKind::LibraryHistory, lib, 0, 0, historyPageName(plan_.names, library.name),
         libraryPageTitle(library, words::History));
  }
  page(PageKind::Library, lib, 0, 0, std::move(file), std::move(title));
}

// The project history page, when there is a history, and index.html.
void Planner::planProjectPages() {
  if (!project_.history.empty()) {
    page(PageKind::ProjectHistory, 0, 0, 0, historyPageName(plan_.names, project_.title),
         project_.title + u" - " + catalogText(catalog_, words::History));
  }
  page(PageKind::Index, 0, 0, 0, u"index.html", catalogText(catalog_, words::Index));
}

}  // namespace

OutputPlan planOutput(const Project& project, const Catalog& catalog) {
  return Planner(project, catalog).run();
}

}  // namespace thc
