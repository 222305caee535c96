#include "index/extend.h"

#include <string>

#include "codepage/codepage.h"
#include "markup/naming.h"

namespace thc {

namespace {

// The name is both the title and the keyword, as stored (untrimmed); an
// empty name gives empty keywords, which the index file skips.
void addEntry(Project& project, const std::u16string& name, std::u16string page) {
  project.indexEntries.push_back(IndexEntry{name, std::move(page), name, std::u16string()});
}

void extendLibrary(Project& project, PageNames names, const Library& library) {
  const std::u16string& lib = library.name;
  for (const Class& cls : library.classes) {
    for (const Command& method : cls.methods) {
      addEntry(project, method.name, memberPageName(names, lib, cls.name, method.name));
    }
    addEntry(project, cls.name, classPageName(names, lib, cls.name));
  }
  for (const Command& command : library.commands) {
    addEntry(project, command.name, commandPageName(names, lib, command.name));
  }
  for (const Structure& structure : library.structures) {
    addEntry(project, structure.name, structurePageName(names, lib, structure.name));
  }
  // Constants and macros share one page per library: the anchor is already
  // part of the link, so the entry's own anchor stays empty.
  for (const Constant& constant : library.constants) {
    addEntry(project, constant.name, constantLink(names, lib, constant.name));
  }
  for (const Macro& macro : library.macros) {
    addEntry(project, macro.name, macroLink(names, lib, macro.name));
  }
  addEntry(project, lib, libraryPageName(names, lib));
}

}  // namespace

void extendIndex(Project& project) {
  const PageNames names{helpCodePage(project.lang)};
  for (const Library& library : project.libraries) extendLibrary(project, names, library);
}

}  // namespace thc
