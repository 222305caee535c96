// Pieces shared by the contents file and the index file: both are sitemap
// lists whose entries carry their texts in value="..." attributes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "codepage/codepage.h"

namespace thc {

// The credit text of the GENERATOR line of toc.hhc and idx.hhk.
inline constexpr std::string_view generatorCredit = "TarnelTHC help compiler";

// Appends a text for a value="..." attribute. A double quote, "<" and ">"
// become entities, because an unescaped quote or ">" cuts the entry short in
// HTML Help compilers; everything else is written as stored, in the encoding
// given: the help language's code page, in which help compilers and viewers
// read the names shown and the link targets alike. A link target holds
// nothing the code page lacks, as page names are made to fit it.
void appendSitemapValue(std::string& out, std::u16string_view text, TextEncoder& encoder);

// The number of bytes appendSitemapValue appends for the text.
size_t sitemapValueSize(std::u16string_view text, TextEncoder& encoder);

// Appends the line <param name="NAME" value="VALUE"> and its line feed.
void appendParamLine(std::string& out, std::string_view name, std::u16string_view value,
                     TextEncoder& encoder);
// The number of bytes appendParamLine appends.
size_t paramLineSize(std::string_view name, std::u16string_view value, TextEncoder& encoder);

}  // namespace thc
