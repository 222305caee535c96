// The platform's full lower- and upper-casing of text (not just A to Z).
#pragma once

#include <string>
#include <string_view>

namespace thc::platform {

std::u16string toLower(std::u16string_view text);
std::u16string toUpper(std::u16string_view text);

}  // namespace thc::platform
