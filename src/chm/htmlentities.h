// The named character references of HTML 4 (the Latin-1 letters and signs,
// the Greek letters, mathematical signs, arrows and typographic marks), which
// pages of every generator use, and numeric references as browsers read them.
#pragma once

#include <string_view>

namespace thc::chm {

// The character a name stands for ("auml" gives U+00E4), 0 when HTML 4 has
// no such name. Names are case-sensitive: "Auml" and "auml" differ.
char32_t namedCharacter(std::u16string_view name);

// The character of a numeric reference's number as a browser shows it: the
// numbers 0x80 to 0x9F name the characters Windows-1252 has there (pages
// written on Windows say &#150; for a dash), and 0, a surrogate or a number
// beyond Unicode stand for U+FFFD.
char32_t referencedCharacter(char32_t number);

}  // namespace thc::chm
