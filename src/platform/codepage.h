// Conversion into and out of the double-byte ANSI code pages of Windows (932, 936, 949,
// 950), whose tables are too large to carry ourselves.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace thc::platform {

class CodePageConverter {
 public:
  // None when the platform cannot convert into the code page.
  static std::unique_ptr<CodePageConverter> open(unsigned codePage);
  virtual ~CodePageConverter() = default;
  // Appends the bytes of the longest start of `text` whose characters the
  // code page holds as they are, and returns its length in code units. A
  // character the code page could only stand in for by a look-alike (a best
  // fit, such as "\" for the yen sign) counts as lacking, so both platforms
  // stop at the same characters. `text` holds no lone surrogate.
  virtual size_t append(std::string& out, std::u16string_view text) = 0;
  // Appends the text of bytes in the code page; a byte sequence the code
  // page does not define becomes U+FFFD.
  virtual void decode(std::u16string& out, std::string_view bytes) = 0;
};

}  // namespace thc::platform
