// The platform's full lower- and upper-casing of text (not just A to Z), and
// what it counts as a letter.
#pragma once

#include <string>
#include <string_view>

namespace thc::platform {

std::u16string toLower(std::u16string_view text);
std::u16string toUpper(std::u16string_view text);

// A letter or a digit of any script (not just A to Z and 0 to 9).
bool isLetterOrDigit(char32_t c);

}  // namespace thc::platform
