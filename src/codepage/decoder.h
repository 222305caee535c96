// Text of the help's code page turned into the program's UTF-16: help
// projects, contents and index files are written in the code page of their
// language.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "platform/codepage.h"

namespace thc {

class TextDecoder {
 public:
  explicit TextDecoder(unsigned codePage);
  // A byte the code page leaves undefined becomes U+FFFD.
  std::u16string decode(std::string_view bytes);

 private:
  const std::array<char16_t, 128>* table_ = nullptr;
  std::unique_ptr<platform::CodePageConverter> converter_;
};

}  // namespace thc
