// Conversion between the UTF-16 text inside the program and UTF-8 at its
// edges (the parser's output, files, the console).
#pragma once

#include <string>
#include <string_view>

namespace thc {

// Unpaired surrogates are written as U+FFFD.
std::string toUtf8(std::u16string_view text);
void appendUtf8(std::string& out, std::u16string_view text);

// Invalid sequences become U+FFFD.
std::u16string fromUtf8(std::string_view bytes);
void appendFromUtf8(std::u16string& out, std::string_view bytes);

}  // namespace thc
