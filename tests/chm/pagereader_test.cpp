// What the search index sees of a page: its title and its words, for pages
// of our own and of other generators, written well or badly.
#include "chm/pagereader.h"

#include <gtest/gtest.h>

#include "chm/wordbreaker.h"
#include "support/u16.h"

namespace thc::chm {
namespace {

using thc::testing::u16;
using thc::testing::u8;

// The words of the title and the body in the code page, one space apart; a
// word the index leaves out shows as "?", as it still takes a position.
std::string wordsOf(const PageText& page, unsigned codePage) {
  WordBreaker breaker(codePage);
  std::string words;
  const auto take = [&](std::string_view word) {
    if (!words.empty()) words += ' ';
    words += word.empty() ? std::string_view("?") : word;
  };
  breaker.forEachWord(page.title, take);
  breaker.forEachWord(page.body, take);
  return words;
}

TEST(PageReader, TitleAndWordsOfHostilePages) {
  struct Case {
    const char* what;
    unsigned codePage;
    std::string html;
    std::string title;  // UTF-8
    std::string words;  // in the code page
  };
  const std::string longWord(100, 'x');
  const Case cases[] = {
      {"our own page", 1252,
       "<!DOCTYPE HTML><html><head><title>Gr&ouml;&szlig;e &amp; Ma\xC3\x9F</title>"
       "<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">"
       "<style type=\"text/css\">body { font-family: arial; }</style></head>"
       "<body><h2>K\xC3\xA4se</h2><p>Der <b>K</b>&auml;se</p></body></html>",
       "Gr\xC3\xB6\xC3\x9F" "e & Ma\xC3\x9F", "gr\xF6\xDF" "e ma\xDF k\xE4se der k\xE4se"},
      {"comments, also unclosed", 1252, "<p>one<!-- two <b>three</b> -->four</p><!-- five <p>six",
       "", "onefour"},
      {"script and style in any case", 1252,
       "<SCRIPT type=x>if (a<b) s = \"<p>hidden\";</SCRIPT >shown<style>p { x: 1 }</Style>text"
       "<script>never closed",
       "", "shown text"},
      {"references", 1252,
       "&lt;tag&gt; &quot;q&quot; a&nbsp;b &#228;&#xE4;&#XC4; x&#150;y &copy 2003 AT&T &bogus; &#; &#0;z",
       "", "tag q a b \xE4\xE4\xE4 x y 2003 at t bogus z"},
      {"unclosed title and tags", 1252,
       "<title>  Open\n\t title <body>text <a href=\"x\" title=\"1 > 0\">link</a> <p class=\"a>rest",
       "Open title", "open title text link"},
      {"only the first title, and it is no markup", 1252,
       "<title>First <b>bold</b></title><title>Second</title>body", "First <b>bold</b>",
       "first b bold b body"},
      {"stray less-than signs and inline tags", 1252,
       "a < b x<3 <b>Foo</b>bar <td>cell</td><td>next</td>", "", "a b x 3 foobar cell next"},
      {"apostrophes inside words only", 1252, "Don't 'quoted' it\xE2\x80\x99s", "",
       "dont quoted its"},
      {"characters the code page lacks", 1252,
       "na\xC3\xAFve \xCE\xA9mega " + longWord + " end\xE4\xB8\xAD", "", "na\xEFve ? ? end ?"},
      {"a page in the code page", 1251,
       "<title>\xCF\xF0\xE8\xE2\xE5\xF2</title>\xEC\xE8\xF0 &#1046;",
       "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82",
       "\xEF\xF0\xE8\xE2\xE5\xF2 \xEC\xE8\xF0 \xE6"},
      {"Greek letters by name, capital and small", 1252, "<title>&Sigma;&sigma;&sigmaf; &Omicron;&omicron;</title>",
       "\xCE\xA3\xCF\x83\xCF\x82 \xCE\x9F\xCE\xBF", "? ?"},
      {"a byte order mark", 1252, "\xEF\xBB\xBFword", "", "word"},
      {"ideographs one by one, kana in runs", 932,
       "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE3\x83\x86\xE3\x82\xAD\xE3\x82\xB9\xE3\x83\x88 ABC",
       "", "\x93\xFA \x96\x7B \x8C\xEA \x82\xCC \x83\x65\x83\x4C\x83\x58\x83\x67 abc"},
      {"a Shift-JIS page", 932, "<title>\x93\xFA\x96\x7B</title>\x83\x65\x83\x4C\x83\x58\x83\x67",
       "\xE6\x97\xA5\xE6\x9C\xAC", "\x93\xFA \x96\x7B \x83\x65\x83\x4C\x83\x58\x83\x67"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PageReader reader(c.codePage);
    const PageText page = reader.read(c.html);
    EXPECT_EQ(u8(page.title), c.title);
    EXPECT_EQ(wordsOf(page, c.codePage), c.words);
  }
}

}  // namespace
}  // namespace thc::chm
