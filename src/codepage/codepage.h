// Text in the ANSI code page of the help language. Help compilers and
// viewers read the contents, index and project files in that code page, not
// as UTF-8: the names shown, the title and the file names alike. So a page's
// file name holds only characters of that code page.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/codepage.h"

namespace thc {

// The number Windows gives UTF-8 among its code pages.
inline constexpr unsigned utf8CodePage = 65001;

// The code page of the help language: for a lang written as a hexadecimal
// LCID ("0x419") the ANSI code page Windows gives that language, otherwise
// (a lang such as "de", or an LCID not known here) Windows-1252.
unsigned helpCodePage(std::u16string_view lang);

// The text with "_" for each character the code page lacks (a surrogate pair
// is one character): a file name that text in the code page can name.
std::u16string fileNameInCodePage(std::u16string_view text, unsigned codePage);

class TextEncoder {
 public:
  // utf8CodePage or a code page that helpCodePage gives. A code page that
  // can be converted into neither by a table of our own nor by the platform
  // lacks every character beyond ASCII.
  explicit TextEncoder(unsigned codePage);

  // Appends the text in the code page. A character the code page lacks is
  // written as "&#" + its code point in decimal + ";", which sitemap readers
  // show as the character: a surrogate pair is one character, a lone
  // surrogate counts as U+FFFD.
  void appendWithReferences(std::string& out, std::u16string_view text);
  // The number of bytes appendWithReferences appends for the text.
  size_t sizeWithReferences(std::u16string_view text);
  // The same, with "?" for a character the code page lacks, for a place
  // that knows no character references.
  void appendWithQuestionMarks(std::string& out, std::u16string_view text);
  // Appends the text only when the code page holds every character of it,
  // for a place where a stand-in would be wrong (a word of the search index).
  bool appendIfHeld(std::string& out, std::u16string_view text);
  // The same, with "_" for a character the code page lacks, for a file name.
  void appendWithUnderscores(std::string& out, std::u16string_view text);
  // The text with "_" for each character the code page lacks.
  std::u16string withUnderscores(std::u16string_view text);

 private:
  // Appends the longest start of the text that the code page holds and
  // returns its length in code units.
  size_t appendHeld(std::string& out, std::u16string_view text);
  // The byte of a character in a single-byte code page; none when it lacks it.
  const char* singleByte(char16_t c) const;
  template <typename Lacking>
  void append(std::string& out, std::u16string_view text, Lacking lacking);

  unsigned codePage_;
  // A single-byte code page, as its characters beyond ASCII with their bytes,
  // sorted by character.
  std::vector<std::pair<char16_t, char>> singleBytes_;
  std::unique_ptr<platform::CodePageConverter> converter_;
  std::string scratch_;  // sizeWithReferences counts here what the platform converts
};

}  // namespace thc
