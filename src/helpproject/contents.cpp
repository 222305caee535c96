#include "helpproject/contents.h"

#include "catalog/catalog.h"
#include "common/output.h"
#include "helpproject/sitemap.h"
#include "markup/naming.h"

namespace thc {

namespace {

void open(std::u16string& out) { out += u"<UL>\n"; }
void close(std::u16string& out) { out += u"</UL>\n"; }

void entry(std::u16string& out, std::u16string_view local, std::u16string_view name) {
  out += u"<LI> <OBJECT type=\"text/sitemap\">\n";
  appendParamLine(out, u"name", name);
  appendParamLine(out, u"Local", local);
  out += u"</OBJECT> </LI>\n";
}

// About the size of the whole contents, so the text grows without being
// copied again and again; only the speed depends on it.
size_t estimatedSize(const Project& project) {
  constexpr size_t kUnitsPerEntry = 160;
  size_t entries = 8;
  for (const Library& library : project.libraries) {
    entries += 12 + library.structures.size() + library.constants.size() + library.macros.size() +
               library.commands.size() + library.classes.size();
    for (const Class& cls : library.classes) entries += cls.methods.size();
  }
  return entries * kUnitsPerEntry;
}

// A heading entry that leads to a section of the library page, followed by
// the sub-list of the section's items.
template <typename Items, typename LocalOf, typename NameOf>
void section(std::u16string& out, const std::u16string& libraryPage, std::u16string_view anchor,
             std::u16string_view heading, const Items& items, LocalOf local, NameOf name) {
  if (items.empty()) return;
  entry(out, libraryPage + u"#" + std::u16string(anchor), heading);
  open(out);
  for (const auto& item : items) entry(out, local(item), name(item));
  close(out);
}

void appendClasses(std::u16string& out, const Catalog& catalog, const Library& library,
                   const std::u16string& libraryPage) {
  if (library.classes.empty()) return;
  entry(out, libraryPage + u"#classes", catalogText(catalog, words::Classes));
  open(out);
  for (const Class& cls : library.classes) {
    entry(out, classPageName(library.name, cls.name), cls.name);
    if (cls.methods.empty()) continue;
    open(out);
    for (const Command& method : cls.methods) {
      entry(out, memberPageName(library.name, cls.name, method.name), method.name);
    }
    close(out);
  }
  close(out);
}

void appendLibrary(std::u16string& out, const Catalog& catalog, const Library& library) {
  const std::u16string page = libraryPageName(library.name);
  const std::u16string& lib = library.name;
  entry(out, page, lib);
  open(out);
  section(out, page, u"structures", catalogText(catalog, words::Structures), library.structures,
          [&](const Structure& s) { return structurePageName(lib, s.name); },
          [](const Structure& s) { return s.name; });
  section(out, page, u"constants", catalogText(catalog, words::Constants), library.constants,
          [&](const Constant& c) { return constantLink(lib, c.name); },
          [](const Constant& c) { return u"#" + c.name; });
  // Two macro entries: "Makros" lists the macros one by one (anchors of the
  // macros page), "Macros" further down opens the macros page itself.
  section(out, page, u"macros", catalogText(catalog, words::Makros), library.macros,
          [&](const Macro& m) { return macroLink(lib, m.name); },
          [](const Macro& m) { return m.name; });
  appendClasses(out, catalog, library, page);
  section(out, page, u"commands", catalogText(catalog, words::Commands), library.commands,
          [&](const Command& c) { return commandPageName(lib, c.name); },
          [](const Command& c) { return c.name; });
  if (!library.macros.empty()) {
    entry(out, htmlFileName(lib + u"_macro"), catalogText(catalog, words::Macros));
  }
  if (!library.history.empty()) {
    entry(out, htmlFileName(lib + u"_history"), catalogText(catalog, words::History));
  }
  close(out);
}

}  // namespace

std::u16string contentsEntry(std::u16string_view local, std::u16string_view name) {
  std::u16string text;
  entry(text, local, name);
  return text;
}

std::u16string contentsBody(const ProjectModel& model) {
  const Project& project = model.project;
  const Catalog& catalog = model.catalog;
  std::u16string out;
  out.reserve(estimatedSize(project));
  entry(out, u"index.html", u"Index");  // fixed, not from the catalog
  if (!project.history.empty()) {
    entry(out, htmlFileName(project.title + u"_history"), catalogText(catalog, words::History));
  }
  entry(out, u"index.html#libraries", catalogText(catalog, words::Libraries));
  open(out);
  for (const Library& library : project.libraries) appendLibrary(out, catalog, library);
  close(out);
  return out;
}

bool writeContentsFile(Console& console, OutputFolder& folder, std::u16string_view body) {
  std::u16string head = u"<HTML><HEAD><meta name=\"GENERATOR\" content=\"";
  head += generatorCredit;
  head +=
      u"\"></HEAD>\n"
      u"<BODY><OBJECT type=\"text/site properties\">\n"
      u"<param name=\"Window Styles\" value=\"0x800025\">\n"
      u"</OBJECT>\n"
      u"<UL>\n";
  return folder.writeText(console, u"toc.hhc", {head, body, u"</UL></BODY></HTML>\n"});
}

}  // namespace thc
