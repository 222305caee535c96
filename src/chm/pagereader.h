// What the help compiler reads from an HTML page: its title for the topic
// tables, and the text a reader sees for the full-text search. Pages come
// from our own generator and from others, so nothing is taken for granted:
// comments, scripts, unclosed tags and stray "<" and "&" are all read as a
// browser would show them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "codepage/decoder.h"

namespace thc::chm {

struct PageText {
  // The text of the first title element with its references resolved, its
  // runs of blanks made one space and trimmed; empty when the page has none.
  std::u16string title;
  // The text the page shows outside its title, markup and the content of
  // script and style elements dropped, references resolved. Where a tag
  // other than an inline one (a, b, span, ...) stood, a space keeps the
  // words on both sides of it apart, as the layout does.
  std::u16string body;
};

class PageReader {
 public:
  // The code page of pages that are not UTF-8: a code page helpCodePage gives.
  explicit PageReader(unsigned codePage) : codePage_(codePage) {}

  // Our own pages are UTF-8 and say so; pages of other generators are
  // mostly in the help's code page, and such bytes are seldom valid UTF-8.
  // So a page is read as UTF-8 (a byte order mark dropped) when its bytes
  // are valid UTF-8, and in the code page otherwise.
  PageText read(std::string_view html);

 private:
  unsigned codePage_;
  std::optional<TextDecoder> codePageText_;  // made for the first page that needs it
  std::u16string text_;  // the decoded page, its room kept for the next one
};

}  // namespace thc::chm
