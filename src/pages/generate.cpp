#include "pages/generate.h"

#include <utility>
#include <vector>

#include "catalog/catalog.h"
#include "codepage/codepage.h"
#include "helpproject/contents.h"
#include "helpproject/indexfile.h"
#include "helpproject/projectfile.h"
#include "markup/naming.h"
#include "pages/classpage.h"
#include "pages/commandpage.h"
#include "pages/constantspage.h"
#include "pages/frame.h"
#include "pages/historypage.h"
#include "pages/indexpage.h"
#include "pages/librarypage.h"
#include "pages/macrospage.h"
#include "pages/pagewriter.h"
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

// Writes the pages of one run and remembers whether every one succeeded; a
// failing page never stops the walk.
class Generator {
 public:
  Generator(ProjectModel& model, Console& console, OutputFolder& folder)
      : model_(model),
        console_(console),
        folder_(folder),
        names_{helpCodePage(model.project.lang)},
        pages_(folder) {}

  void writeLibrary(const std::vector<Library>& libraries, size_t i);
  void writeProjectPages();
  // Waits for the pages handed over, reports them and lists those written.
  void finishPages() {
    if (!pages_.finish(model_, console_)) succeeded_ = false;
  }
  void writeHelpProjectFiles();
  bool succeeded() const { return succeeded_; }

 private:
  const Catalog& catalog() const { return model_.catalog; }

  void write(std::u16string_view file, std::u16string_view title, std::u16string body) {
    pages_.write(std::u16string(file), std::u16string(title), std::move(body));
  }

  // An entry for an item the author gave keywords to.
  void addIndexEntry(const std::u16string& title, const std::u16string& page,
                     const std::u16string& keywords, const std::u16string& anchor = {}) {
    if (keywords.empty()) return;
    model_.project.indexEntries.push_back(IndexEntry{title, page, keywords, anchor});
  }

  // Library name + " - " + the catalog word.
  std::u16string libraryPageTitle(const Library& library, const CatalogWord& word) const {
    return library.name + u" - " + catalogText(catalog(), word);
  }

  void writeClass(const Library& library, size_t i);
  void writeCommands(const Library& library);
  void writeStructures(const Library& library);
  void writeMacros(const Library& library);
  void writeConstants(const Library& library);

  ProjectModel& model_;
  Console& console_;
  OutputFolder& folder_;
  const PageNames names_;
  PageWriter pages_;
  bool succeeded_ = true;
};

// The pages of the class's methods, then the class page.
void Generator::writeClass(const Library& library, size_t i) {
  const Class& cls = library.classes[i];
  for (size_t m = 0; m < cls.methods.size(); ++m) {
    const Command& method = cls.methods[m];
    const std::u16string file = memberPageName(names_, library.name, cls.name, method.name);
    const std::u16string title = memberLinkText(library.name, cls.name, method.name);
    write(file, title,
          commandPageBody(catalog(), names_, library, method, &cls, nextItem(cls.methods, m),
                          previousItem(cls.methods, m)));
    addIndexEntry(title, file, method.keywords);
  }
  const std::u16string file = classPageName(names_, library.name, cls.name);
  const std::u16string title = classLinkText(library.name, cls.name);
  write(file, title,
        classPageBody(catalog(), names_, library, cls, nextItem(library.classes, i),
                      previousItem(library.classes, i)));
  addIndexEntry(title, file, cls.keywords);
}

void Generator::writeCommands(const Library& library) {
  const std::vector<Command>& commands = library.commands;
  for (size_t i = 0; i < commands.size(); ++i) {
    const Command& command = commands[i];
    const std::u16string file = commandPageName(names_, library.name, command.name);
    const std::u16string title = commandLinkText(library.name, command.name);
    write(file, title,
          commandPageBody(catalog(), names_, library, command, nullptr, nextItem(commands, i),
                          previousItem(commands, i)));
    addIndexEntry(title, file, command.keywords);
  }
}

void Generator::writeStructures(const Library& library) {
  const std::vector<Structure>& structures = library.structures;
  for (size_t i = 0; i < structures.size(); ++i) {
    const Structure& structure = structures[i];
    const std::u16string file = structurePageName(names_, library.name, structure.name);
    const std::u16string title = structureLinkText(library.name, structure.name);
    write(file, title,
          structurePageBody(catalog(), names_, library, structure, nextItem(structures, i),
                            previousItem(structures, i)));
    addIndexEntry(title, file, structure.keywords);
  }
}

// One page for all macros; their index entries point at their anchors.
void Generator::writeMacros(const Library& library) {
  if (library.macros.empty()) return;
  const std::u16string file = htmlFileName(names_, library.name + u"_macro");
  const std::u16string title = libraryPageTitle(library, words::Macros);
  write(file, title, macrosPageBody(catalog(), library));
  for (const Macro& macro : library.macros) addIndexEntry(title, file, macro.keywords, macro.name);
}

void Generator::writeConstants(const Library& library) {
  if (library.constants.empty()) return;
  const std::u16string file = htmlFileName(names_, library.name + u"_constant");
  const std::u16string title = libraryPageTitle(library, words::Constants);
  write(file, title, constantsPageBody(catalog(), library));
  for (const Constant& constant : library.constants) {
    addIndexEntry(title, file, constant.keywords, constant.name);
  }
}

void Generator::writeLibrary(const std::vector<Library>& libraries, size_t i) {
  const Library& library = libraries[i];
  for (size_t c = 0; c < library.classes.size(); ++c) writeClass(library, c);
  writeCommands(library);
  writeStructures(library);
  writeMacros(library);
  writeConstants(library);

  const std::u16string file = libraryPageName(names_, library.name);
  const std::u16string title = libraryLinkText(library.name);
  addIndexEntry(title, file, library.keywords);
  if (!library.history.empty()) {
    write(htmlFileName(names_, library.name + u"_history"),
          libraryPageTitle(library, words::History), historyPageBody(catalog(), library.history));
  }
  write(file, title,
        libraryPageBody(catalog(), names_, library, nextItem(libraries, i),
                        previousItem(libraries, i)));
}

// The project history page, when there is a history, and index.html.
void Generator::writeProjectPages() {
  const Project& project = model_.project;
  if (!project.history.empty()) {
    write(htmlFileName(names_, project.title + u"_history"),
          project.title + u" - " + catalogText(catalog(), words::History),
          historyPageBody(catalog(), project.history));
  }
  write(u"index.html", catalogText(catalog(), words::Index),
        indexPageBody(catalog(), names_, project));
}

// The contents are built while the last pages are still being written, and
// written after them; the index, as large, only once the contents are freed.
// The project file comes last so that it lists every page written.
void Generator::writeHelpProjectFiles() {
  {
    const std::string contents = contentsBody(model_);
    finishPages();
    if (!writeContentsFile(console_, folder_, contents)) succeeded_ = false;
  }
  if (!writeIndexFile(console_, folder_, indexBody(model_.project))) succeeded_ = false;
  if (!writeTextFile(console_, folder_, u"document.hhp", helpProjectText(model_))) succeeded_ = false;
}

}  // namespace

bool generateOutput(ProjectModel& model, Console& console, OutputFolder& folder) {
  Generator generator(model, console, folder);
  const std::vector<Library>& libraries = model.project.libraries;
  for (size_t i = 0; i < libraries.size(); ++i) generator.writeLibrary(libraries, i);
  generator.writeProjectPages();
  generator.writeHelpProjectFiles();
  return generator.succeeded();
}

}  // namespace thc
