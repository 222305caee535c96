// Pieces shared by the contents file and the index file: both are sitemap
// lists whose entries carry their texts in value="..." attributes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace thc {

// The credit text of the GENERATOR line of toc.hhc and idx.hhk.
inline constexpr std::u16string_view generatorCredit = u"TarnelTHC help compiler";

// Appends a text for a value="..." attribute. A double quote, "<" and ">"
// become entities, because an unescaped quote or ">" cuts the entry short in
// HTML Help compilers; everything else is written as stored.
void appendSitemapValue(std::u16string& out, std::u16string_view text);

// The number of units appendSitemapValue appends for the text.
size_t sitemapValueSize(std::u16string_view text);

// Appends the line <param name="NAME" value="VALUE"> and its line feed.
void appendParamLine(std::u16string& out, std::u16string_view name, std::u16string_view value);
// The number of units appendParamLine appends.
size_t paramLineSize(std::u16string_view name, std::u16string_view value);

}  // namespace thc
