// The project reader: fills the model from the document tree. The root
// element, the document level (project texts, libraries, imports) and the
// direct children of each library; the items go to the item readers.
#pragma once

#include <string>
#include <string_view>

#include "base/console.h"
#include "project/importchain.h"
#include "project/model.h"

namespace thc {

class DocumentLoader;

// Reads the root element and its following siblings; the element named
// "doc" gives the project attributes and its children the document level.
// Imports are loaded and read where they stand; the chain starts with
// model.projectFile. An import that is missing or defective sets
// model.importFailed.
void readProject(ProjectModel& model, Console& console, const DocNode* root);

// Walks `first` and its following siblings by the document-level elements.
// Nested imports are followed without recursion, so their depth is bounded
// only by memory. Imported files come from the loader.
void readDocumentLevel(ProjectModel& model, Console& console, const DocNode* first,
                       ImportChain& chain, DocumentLoader& loader);

// Walks the children of one library, starting at its first child.
void readLibraryLevel(ProjectModel& model, Console& console, const DocNode* first,
                      Library& library);

}  // namespace thc
