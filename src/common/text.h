// Shared text helpers. All text inside the program is UTF-16; positions and
// lengths are counted in UTF-16 code units.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace thc {

// A hash for maps keyed by text that are also looked up by string views, so
// a lookup needs no key string.
struct TextHash {
  using is_transparent = void;
  size_t operator()(std::u16string_view key) const { return std::hash<std::u16string_view>{}(key); }
};

// Removes every character whose code is below 33 from both ends.
std::u16string trimText(std::u16string_view text);
// The same, as a view into the text (nothing is copied).
std::u16string_view trimmedView(std::u16string_view text);

// Integer value of a text: leading blanks and tabs, an optional sign, then
// "$" + hex digits, "%" + binary digits, or decimal digits. Stops at the first
// character that does not fit; no digits give 0. Wraps on overflow.
int64_t textToInteger(std::u16string_view text);

// Extension of a path: the text after the last "." when that dot is found
// before any "/", "\" or blank scanning backwards, and is neither the first
// character nor directly after a separator. Cut at a double quote.
std::u16string fileExtension(std::u16string_view path);

// Directory part of a path: everything up to and including the last "\" or
// "/". A leading double quote is skipped and the scan stops at a "|".
std::u16string directoryPart(std::u16string_view path);

// Decimal form of a signed integer ("-5", "20").
std::u16string decimalText(int64_t value);

// Lower-cases only the letters A to Z.
std::u16string lowerAscii(std::u16string_view text);

}  // namespace thc
