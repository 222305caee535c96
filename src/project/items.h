// The item readers: the children of constant, command, class, structure and
// macro elements. Each takes the first child of the item's element and the
// record the library-level reader has just appended.
#pragma once

#include <string_view>
#include <vector>

#include "base/console.h"
#include "project/model.h"

namespace thc {

// True when the attribute, trimmed and lower-cased, is "yes".
bool attributeIsYes(const DocNode* element, std::u16string_view name);

// Appends a record for an item element and sets, in this order, its source,
// its name as written and its deprecated flag.
template <typename Record>
Record& appendItem(std::vector<Record>& list, const DocNode* element, SourceMap& sources) {
  Record& record = list.emplace_back();
  record.source = sources.refer(element);
  record.name = attribute(element, u"name");
  record.deprecated = attributeIsYes(element, u"deprecated");
  return record;
}

void readConstant(ProjectModel& model, Console& console, const DocNode* first, Constant& constant);

// Library commands and class methods alike.
void readCommand(ProjectModel& model, Console& console, const DocNode* first, Command& command);

void readClass(ProjectModel& model, Console& console, const DocNode* first, Class& cls);

void readStructure(ProjectModel& model, Console& console, const DocNode* first,
                   Structure& structure);

void readMacro(ProjectModel& model, Console& console, const DocNode* first, Macro& macro);

// Appends ";" + the element's own text (not trimmed, no CDATA, no markup).
void appendKeywords(std::u16string& keywords, const DocNode* element);

}  // namespace thc
