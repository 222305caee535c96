// The project reader: fills the model from the document tree. The root
// element, the document level (project texts, libraries, imports) and the
// direct children of each library; the items go to the item readers.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/console.h"
#include "project/model.h"

namespace thc {

class DocumentLoader;

// The files being read, from the main project file down to the innermost
// import, by canonical path. An import of a file that is already on the chain
// would never end, so it is skipped.
class ImportChain {
 public:
  bool contains(const std::u16string& file) const;
  // Empty paths (files that do not exist) are not recorded.
  void enter(const std::u16string& file);
  void leave();
  size_t depth() const { return files_.size(); }

 private:
  std::vector<std::u16string> files_;
  std::unordered_map<std::u16string, size_t> counts_;
};

// Reads the root element and its following siblings; the element named
// "doc" gives the project attributes and its children the document level.
// Imports are loaded and read where they stand; the chain starts with
// model.projectFile.
void readProject(ProjectModel& model, Console& console, const DocNode* root);

// Walks `first` and its following siblings by the document-level elements.
// Nested imports are followed without recursion, so their depth is bounded
// only by memory. Imported files come from the loader.
void readDocumentLevel(ProjectModel& model, Console& console, const DocNode* first,
                       ImportChain& chain, DocumentLoader& loader);

// Walks the children of one library, starting at its first child.
void readLibraryLevel(ProjectModel& model, Console& console, const DocNode* first,
                      Library& library);

// trimText, then every "&" written as "&amp;".
std::u16string escapeAmpersands(std::u16string_view text);

// The text of a description-like element: a leading CDATA section as it is,
// else the element's own text trimmed and escaped (with a warning when the
// element has children other than a leading CDATA section).
std::u16string readElementText(const DocNode* element, Console& console);

// readElementText of the element, translated from markup to HTML.
std::u16string readMarkup(const DocNode* element, ProjectModel& model, Console& console);

}  // namespace thc
