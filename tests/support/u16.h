// Small conveniences for tests over UTF-16 text.
#pragma once

#include <string>

#include "base/utf.h"

namespace thc::testing {

inline std::u16string u16(const std::string& utf8) { return fromUtf8(utf8); }
inline std::string u8(std::u16string_view text) { return toUtf8(text); }

}  // namespace thc::testing
