// The text of an HTML page's bytes. Our own pages are UTF-8 and say so; pages
// of other generators are mostly in the ANSI code page of the help language,
// and their bytes are seldom valid UTF-8 unless they are UTF-8.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "helpproject/singlebyte.h"
#include "platform/codepage.h"

namespace thc::chm {

class PageDecoder {
 public:
  // A code page that helpCodePage gives.
  explicit PageDecoder(unsigned codePage);

  // Replaces `out` with the text of the bytes: UTF-8 (a byte order mark
  // dropped) when they are valid UTF-8, otherwise the code page's, with
  // U+FFFD for a byte it leaves undefined.
  void decode(std::string_view bytes, std::u16string& out);

 private:
  void decodeCodePage(std::string_view bytes, std::u16string& out);

  unsigned codePage_;
  const HighHalf* singleBytes_;  // none for a double-byte code page
  // Opened the first time a page needs it: most helps have no such page.
  std::unique_ptr<platform::CodePageConverter> converter_;
  bool converterOpened_ = false;
};

}  // namespace thc::chm
