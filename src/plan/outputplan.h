// The output named before anything is written: every page with its file
// name, title, kind and place in the document, and the entries of the
// keyword index in the order the index file takes them. The pages, the index
// and the contents all take their names from here, so they always agree.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "markup/naming.h"
#include "project/model.h"

namespace thc {

enum class PageKind : uint8_t {
  Member,          // a method of a class
  Class,
  Command,
  Structure,
  Macros,          // all macros of a library
  Constants,       // all constants of a library
  LibraryHistory,
  Library,
  ProjectHistory,
  Index,           // index.html
};

// One page. Its item is found by position: `library` in the document's
// libraries, `item` in the library's list of that kind (the class, for a
// member), `member` among the class's methods. The neighbours a page links
// to are the items before and after it in that same list.
struct PlannedPage {
  PageKind kind = PageKind::Index;
  uint32_t library = 0;
  uint32_t item = 0;
  uint32_t member = 0;
  std::u16string file;
  std::u16string title;
};

// An image's source as written, and the name of its copy in the output
// folder, which the pages' img elements use.
struct PlannedImage {
  std::u16string source;
  std::u16string file;
};

struct OutputPlan {
  PageNames names{0};
  std::vector<PlannedPage> pages;  // in writing order
  // Every item under its own name, library by library; then one entry per
  // item the author gave keywords to, in page order.
  std::vector<IndexEntry> indexEntries;
  std::vector<PlannedImage> images;  // in the order the markup numbered them
};

OutputPlan planOutput(const Project& project, const Catalog& catalog);

}  // namespace thc
