#include "project/reader.h"

#include <optional>

#include "common/text.h"
#include "platform/filesystem.h"
#include "platform/textcase.h"
#include "project/items.h"
#include "project/loader.h"
#include "project/readtext.h"

namespace thc {

namespace {

bool isElement(const DocNode* node, std::u16string_view name) {
  return node->kind == NodeKind::Element && node->name == name;
}

void readLibrary(ProjectModel& model, Console& console, const DocNode* element) {
  Library& library = model.project.libraries.emplace_back();
  library.name = attribute(element, u"name");
  library.deprecated = attributeIsYes(element, u"deprecated");
  library.source = model.sources.refer(element);
  readLibraryLevel(model, console, element->firstChild, library);
}

// A project text or a library of the document level; imports are handled by
// the walk itself, every other element is skipped.
void readDocumentElement(ProjectModel& model, Console& console, const DocNode* element) {
  Project& project = model.project;
  const std::u16string_view name = element->name;
  if (name == u"library") {
    readLibrary(model, console, element);
  } else if (name == u"description") {
    project.description = readMarkup(element, model, console);
  } else if (name == u"author") {
    project.author = readMarkup(element, model, console);
  } else if (name == u"license") {
    project.license = readMarkup(element, model, console);
  } else if (name == u"copyright") {
    project.copyright = readMarkup(element, model, console);
  } else if (name == u"version") {
    project.version = readMarkup(element, model, console);
  } else if (name == u"history") {
    project.history = readMarkup(element, model, console);
  } else if (name == u"catalog") {
    project.catalogSource = readElementText(element, console);
  }
}

// The file an import names. Resolved against the main project file's
// directory, also inside imports.
std::u16string importPath(const ProjectModel& model, std::u16string_view file) {
  std::u16string path = model.projectDir;
  path.append(file);
  return path;
}

// An import that was loaded: where the walk goes on once the imported
// document is read.
struct OpenImport {
  const DocNode* resume;
  DocTree* tree;  // the imported document, released once it is read
};

// Loads the file of an import element and enters it into the chain. The
// root element of the loaded document (kept in importedDocs) when it is to be
// read, else none.
std::optional<const DocNode*> openImport(ProjectModel& model, Console& console,
                                         const DocNode* element, ImportChain& chain,
                                         DocumentLoader& loader) {
  const std::u16string_view file = attribute(element, u"file");
  if (trimmedView(file).empty()) return std::nullopt;
  std::u16string filePath = importPath(model, file);
  console.writeLine(u"Importing external file " + filePath);
  // A project that is not trusted has its imports read only from inside its
  // folder, and never ahead (see readProject).
  ImportedDocument imported = model.confinedTo ? loadImportInside(filePath, chain, *model.confinedTo)
                                               : loader.load(filePath, chain);
  if (imported.outside) {
    console.writeLine(u"Outside the project folder, file skipped");
    model.importRefused = true;
    return std::nullopt;
  }
  if (imported.cycle) {
    console.writeLine(u"Import cycle, file skipped");
    return std::nullopt;
  }
  std::unique_ptr<DocTree>& tree = imported.tree;
  if (!tree) {
    console.writeLine(u"failed");
    model.importFailed = true;
    return std::nullopt;
  }
  console.writeLine(u"success");
  if (tree->status != 0) {
    console.writeLine(u"File is defective [" + decimalText(tree->errorLine) + u":" +
                      decimalText(tree->errorPosition) + u"]");
    console.writeLine(u"Error " + tree->errorMessage);
    model.importFailed = true;
    return std::nullopt;
  }
  console.writeLine(u"File ok");
  console.writeLine(u"Parsing file ...");
  const DocNode* root = rootElement(*tree);
  model.project.importedDocs.push_back(std::move(tree));
  chain.enter(imported.identity);
  return root;
}

}  // namespace

void readDocumentLevel(ProjectModel& model, Console& console, const DocNode* first,
                       ImportChain& chain, DocumentLoader& loader) {
  // Imports nest depth first; the open ones are kept here instead of on the
  // call stack, so a deep chain of imports cannot overflow it.
  std::vector<OpenImport> open;
  const DocNode* node = first;
  for (;;) {
    if (!node) {
      if (open.empty()) return;
      console.writeLine(u"done");
      chain.leave();
      releaseContent(*open.back().tree);
      node = open.back().resume;
      open.pop_back();
      continue;
    }
    const DocNode* next = node->nextSibling;
    if (isElement(node, u"import")) {
      if (std::optional<const DocNode*> root = openImport(model, console, node, chain, loader)) {
        open.push_back(OpenImport{next, model.project.importedDocs.back().get()});
        node = *root;
        continue;
      }
    } else if (node->kind == NodeKind::Element) {
      readDocumentElement(model, console, node);
    }
    node = next;
  }
}

void readLibraryLevel(ProjectModel& model, Console& console, const DocNode* first,
                      Library& library) {
  SourceMap& sources = model.sources;
  for (const DocNode* node = first; node; node = node->nextSibling) {
    if (node->kind != NodeKind::Element) continue;
    const std::u16string_view name = node->name;
    if (name == u"constant") {
      readConstant(model, console, node->firstChild, appendItem(library.constants, node, sources));
    } else if (name == u"description") {
      library.description = readMarkup(node, model, console);
    } else if (name == u"command") {
      readCommand(model, console, node->firstChild, appendItem(library.commands, node, sources));
    } else if (name == u"class") {
      readClass(model, console, node->firstChild, appendItem(library.classes, node, sources));
    } else if (name == u"structure") {
      readStructure(model, console, node->firstChild, appendItem(library.structures, node, sources));
    } else if (name == u"macro") {
      readMacro(model, console, node->firstChild, appendItem(library.macros, node, sources));
    } else if (name == u"keywords") {
      appendKeywords(library.keywords, node);
    } else if (name == u"version") {
      library.version = readMarkup(node, model, console);
    } else if (name == u"history") {
      library.history = readMarkup(node, model, console);
    } else if (name == u"globalos") {
      library.globalOs.push_back(readMarkup(node, model, console));
    }
  }
}

// The files of the imports directly below the doc elements, in the order
// the walk meets them: the imports a project is normally made of.
static std::vector<std::u16string> expectedImports(const ProjectModel& model, const DocNode* root) {
  std::vector<std::u16string> files;
  for (const DocNode* doc = root; doc; doc = doc->nextSibling) {
    if (!isElement(doc, u"doc")) continue;
    for (const DocNode* node = doc->firstChild; node; node = node->nextSibling) {
      if (!isElement(node, u"import")) continue;
      const std::u16string_view file = attribute(node, u"file");
      if (!trimmedView(file).empty()) files.push_back(importPath(model, file));
    }
  }
  return files;
}

void readProject(ProjectModel& model, Console& console, const DocNode* root) {
  ImportChain chain;
  // The project file was read already; opened again, it tells its identity.
  if (std::unique_ptr<platform::InputFile> project = platform::InputFile::open(model.projectFile)) {
    chain.enter(project->identity());
  }
  DocumentLoader loader;
  // Reading ahead would read an import before it is known to be inside the
  // project folder.
  if (!model.confinedTo) loader.expect(expectedImports(model, root), chain);
  for (const DocNode* node = root; node; node = node->nextSibling) {
    if (!isElement(node, u"doc")) continue;
    Project& project = model.project;
    project.lang = platform::toLower(trimText(attribute(node, u"lang")));
    project.title = attribute(node, u"title");
    project.docSource = model.sources.refer(node);
    readDocumentLevel(model, console, node->firstChild, chain, loader);
  }
}

}  // namespace thc
