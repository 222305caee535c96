// Conversion between the UTF-16 text inside the program and UTF-8 at its
// edges (the parser's output, files, the console).
#pragma once

#include <string>
#include <string_view>

namespace thc {

// Unpaired surrogates are written as U+FFFD.
std::string toUtf8(std::u16string_view text);
void appendUtf8(std::string& out, std::u16string_view text);
// The number of bytes appendUtf8 appends for the text.
size_t utf8Size(std::u16string_view text);

// Invalid sequences become U+FFFD, one for each byte that does not fit.
// appendFromUtf8 is false when there was such a byte.
std::u16string fromUtf8(std::string_view bytes);
bool appendFromUtf8(std::u16string& out, std::string_view bytes);
// Appends one code point (at most U+10FFFF): a unit, or a surrogate pair.
void appendUtf16(std::u16string& out, char32_t codePoint);

// Text that came from outside as bytes (an argument, an environment value, a
// typed line), with whether those bytes were valid UTF-8. A path that was not
// names some other file than the one meant, once its bytes are U+FFFD.
struct ExternalText {
  std::u16string text;
  bool utf8 = true;
};

ExternalText decodeExternal(std::string_view bytes);

}  // namespace thc
