#include "helpproject/contents.h"

#include <utility>

#include "catalog/catalog.h"
#include "codepage/codepage.h"
#include "common/output.h"
#include "helpproject/sitemap.h"
#include "markup/naming.h"

namespace thc {

namespace {

// The contents as they are built: the bytes of the file's body, the encoder
// of its values and the names of the pages they lead to, all in the code page
// of the help language.
struct ContentsText {
  explicit ContentsText(std::u16string_view lang)
      : encoder(helpCodePage(lang)), names{helpCodePage(lang)} {}
  std::string bytes;
  TextEncoder encoder;
  PageNames names;
};

void open(ContentsText& out) { out.bytes += "<UL>\n"; }
void close(ContentsText& out) { out.bytes += "</UL>\n"; }

void entry(ContentsText& out, std::u16string_view local, std::u16string_view name) {
  out.bytes += "<LI> <OBJECT type=\"text/sitemap\">\n";
  appendParamLine(out.bytes, "name", name, out.encoder);
  appendParamLine(out.bytes, "Local", local, out.encoder);
  out.bytes += "</OBJECT> </LI>\n";
}

// About the size of the whole contents, so the text grows without being
// copied again and again; only the speed depends on it.
size_t estimatedSize(const Project& project) {
  constexpr size_t kBytesPerEntry = 160;
  size_t entries = 8;
  for (const Library& library : project.libraries) {
    entries += 12 + library.structures.size() + library.constants.size() + library.macros.size() +
               library.commands.size() + library.classes.size();
    for (const Class& cls : library.classes) entries += cls.methods.size();
  }
  return entries * kBytesPerEntry;
}

// A heading entry that leads to a section of the library page, followed by
// the sub-list of the section's items.
template <typename Items, typename LocalOf, typename NameOf>
void section(ContentsText& out, const std::u16string& libraryPage, std::u16string_view anchor,
             std::u16string_view heading, const Items& items, LocalOf local, NameOf name) {
  if (items.empty()) return;
  entry(out, libraryPage + u"#" + std::u16string(anchor), heading);
  open(out);
  for (const auto& item : items) entry(out, local(item), name(item));
  close(out);
}

void appendClasses(ContentsText& out, const Catalog& catalog, const Library& library,
                   const std::u16string& libraryPage) {
  if (library.classes.empty()) return;
  entry(out, libraryPage + u"#classes", catalogText(catalog, words::Classes));
  open(out);
  for (const Class& cls : library.classes) {
    entry(out, classPageName(out.names, library.name, cls.name), cls.name);
    if (cls.methods.empty()) continue;
    open(out);
    for (const Command& method : cls.methods) {
      entry(out, memberPageName(out.names, library.name, cls.name, method.name), method.name);
    }
    close(out);
  }
  close(out);
}

void appendLibrary(ContentsText& out, const Catalog& catalog, const Library& library) {
  const std::u16string page = libraryPageName(out.names, library.name);
  const std::u16string& lib = library.name;
  entry(out, page, lib);
  open(out);
  section(out, page, u"structures", catalogText(catalog, words::Structures), library.structures,
          [&](const Structure& s) { return structurePageName(out.names, lib, s.name); },
          [](const Structure& s) { return s.name; });
  section(out, page, u"constants", catalogText(catalog, words::Constants), library.constants,
          [&](const Constant& c) { return constantLink(out.names, lib, c.name); },
          [](const Constant& c) { return u"#" + c.name; });
  // Two macro entries: "Makros" lists the macros one by one (anchors of the
  // macros page), "Macros" further down opens the macros page itself.
  section(out, page, u"macros", catalogText(catalog, words::Makros), library.macros,
          [&](const Macro& m) { return macroLink(out.names, lib, m.name); },
          [](const Macro& m) { return m.name; });
  appendClasses(out, catalog, library, page);
  section(out, page, u"commands", catalogText(catalog, words::Commands), library.commands,
          [&](const Command& c) { return commandPageName(out.names, lib, c.name); },
          [](const Command& c) { return c.name; });
  if (!library.macros.empty()) {
    entry(out, macrosPageName(out.names, lib), catalogText(catalog, words::Macros));
  }
  if (!library.history.empty()) {
    entry(out, historyPageName(out.names, lib), catalogText(catalog, words::History));
  }
  close(out);
}

}  // namespace

std::string contentsEntry(std::u16string_view local, std::u16string_view name,
                          std::u16string_view lang) {
  ContentsText text(lang);
  entry(text, local, name);
  return std::move(text.bytes);
}

std::string contentsBody(const Project& project, const Catalog& catalog) {
  ContentsText out(project.lang);
  out.bytes.reserve(estimatedSize(project));
  entry(out, u"index.html", u"Index");  // fixed, not from the catalog
  if (!project.history.empty()) {
    entry(out, historyPageName(out.names, project.title),
          catalogText(catalog, words::History));
  }
  entry(out, u"index.html#libraries", catalogText(catalog, words::Libraries));
  open(out);
  for (const Library& library : project.libraries) appendLibrary(out, catalog, library);
  close(out);
  return std::move(out.bytes);
}

bool writeContentsFile(Console& console, OutputFolder& folder, std::string_view body) {
  std::string head = "<HTML><HEAD><meta name=\"GENERATOR\" content=\"";
  head += generatorCredit;
  head +=
      "\"></HEAD>\n"
      "<BODY><OBJECT type=\"text/site properties\">\n"
      "<param name=\"Window Styles\" value=\"0x800025\">\n"
      "</OBJECT>\n"
      "<UL>\n";
  return folder.writeBytes(console, u"toc.hhc", {head, body, "</UL></BODY></HTML>\n"});
}

}  // namespace thc
