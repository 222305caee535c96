// The keyword index file idx.hhk.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/console.h"
#include "common/output.h"
#include "project/model.h"

namespace thc {

void addKeywords(KeywordMap& keywordMap, const IndexEntry& entry);
// The keywords of the entries, each with its links, in creation order.
KeywordMap collectKeywords(const std::vector<IndexEntry>& entries);

// The body for the entries, as bytes in the code page of the help language.
std::string indexBody(const std::vector<IndexEntry>& entries, std::u16string_view lang);
// Writes idx.hhk into the folder: the fixed head, the body, the fixed tail.
bool writeIndexFile(Console& console, OutputFolder& folder, std::string_view body);

// Positions in keywordMap.keywords in the order the index lists them: by hash
// slot ascending, and within a slot the keyword created last first.
std::vector<size_t> keywordOrder(const KeywordMap& keywordMap);

}  // namespace thc
