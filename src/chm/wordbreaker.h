// The words of a page as the full-text search holds them: runs of letters
// and digits, lower-cased, in the ANSI code page of the help language, which
// is what viewers look the typed words up in.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "chm/pagereader.h"
#include "codepage/codepage.h"

namespace thc::chm {

// The words of a page in the order the search index counts them, the
// title's first. Each is its length in one byte, then its bytes; an empty
// one stands for a word the index cannot hold. The pages are broken into
// words on worker threads and indexed in order on the compiler's own.
struct PageWords {
  std::string coded;
  uint32_t inTitle = 0;  // how many of the words are the title's
};

class WordBreaker {
 public:
  // Longer words are left out of the index: its readers stop at this length.
  static constexpr size_t maxWordBytes = 99;

  // A code page that helpCodePage gives.
  explicit WordBreaker(unsigned codePage) : encoder_(codePage) {}

  // Calls `take` with every word of the text in order. A word the index
  // cannot hold (the code page lacks one of its characters, or it is too
  // long) comes as an empty view, so word positions still count it.
  //
  // A word is a run of letters and digits of one script; an apostrophe
  // between two letters is dropped ("don't" is "dont"). Chinese and Japanese
  // set no spaces between words, so each ideograph is a word of its own, and
  // a run of hiragana or of katakana is one; a run of hangul syllables is one
  // as Korean sets spaces. A run of another script ends at each of them, so
  // that a Latin word beside them is found even where the code page lacks
  // the other script.
  void forEachWord(std::u16string_view text, const std::function<void(std::string_view)>& take);

  // The words of the page's title, then of its body.
  PageWords wordsOf(const PageText& page);

 private:
  void endWord(const std::function<void(std::string_view)>& take);
  void lowerWord();

  TextEncoder encoder_;
  std::u16string word_;
  std::string bytes_;
};

}  // namespace thc::chm
