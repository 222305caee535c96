// The keyword index file idx.hhk.
#pragma once

#include <string>
#include <string_view>

#include "common/console.h"
#include "project/model.h"

namespace thc {

void addKeywords(KeywordMap& keywordMap, const IndexEntry& entry);
// Fills project.keywordMap from project.indexEntries and returns the body.
std::u16string indexBody(Project& project);
bool writeIndexFile(Console& console, std::u16string_view path, std::u16string_view body);

}  // namespace thc
