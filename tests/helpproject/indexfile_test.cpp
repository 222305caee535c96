#include "helpproject/indexfile.h"

#include <gtest/gtest.h>

#include "base/console.h"
#include "helpproject/temp_folder.h"
#include "support/run_program.h"
#include "support/u16.h"

namespace thc {
namespace {

using testing::u16;
using testing::u8;

struct Link { std::string title; std::string local; };

// One keyword of the index file with its links, as the file must hold it.
std::string keyword(const std::string& name, const std::vector<Link>& links) {
  std::string text = "<LI> <OBJECT type=\"text/sitemap\">\n"
                     "<param name=\"Name\" value=\"" + name + "\">\n";
  for (const Link& link : links) {
    text += "<param name=\"Name\" value=\"" + link.title + "\">\n";
    text += "<param name=\"Local\" value=\"" + link.local + "\">\n";
  }
  return text + "</OBJECT> </LI>\n";
}

IndexEntry indexEntry(const char16_t* title, const char16_t* page, const char16_t* keywords,
                      const char16_t* anchor = u"") {
  return IndexEntry{title, page, keywords, anchor};
}

// The keywords of a map with their links, in creation order, as text.
std::vector<std::string> filed(const KeywordMap& map) {
  std::vector<std::string> result;
  for (const KeywordMap::Keyword& k : map.keywords) {
    std::string line = u8(k.keyword) + ":";
    for (const IndexLink& link : k.links) line += " " + u8(link.title) + "=" + u8(link.local);
    result.push_back(line);
  }
  return result;
}

TEST(AddKeywords, SplitsTrimsAndSkipsEmptyFields) {
  struct Case {
    IndexEntry entry;
    std::vector<std::string> keywords;
  };
  const Case cases[] = {
      {indexEntry(u"Gfx: Plot()", u"Gfx_f_Plot.html", u"Plot"),
       {"Plot: Gfx: Plot()=Gfx_f_Plot.html"}},
      {indexEntry(u"T", u"p.html", u";Open; Close ;;"), {"Open: T=p.html", "Close: T=p.html"}},
      {indexEntry(u"T", u"p.html", u"  \t "), {}},
      {indexEntry(u"T", u"p.html", u""), {}},
      {indexEntry(u"T", u"p.html", u";;;"), {}},
      {indexEntry(u"T", u"p.html", u"\nsorting\r\n"), {"sorting: T=p.html"}},
      {indexEntry(u"T", u"p.html", u"two words"), {"two words: T=p.html"}},
      {indexEntry(u"Gfx - Constants", u"Gfx_constant.html", u"Alpha;Beta", u"PI"),
       {"Alpha: Gfx - Constants=Gfx_constant.html#PI",
        "Beta: Gfx - Constants=Gfx_constant.html#PI"}},
      // The entries planned under a constant's name carry the anchor in the page.
      {indexEntry(u"PI", u"Math_constant.html#PI", u"PI"), {"PI: PI=Math_constant.html#PI"}},
      {indexEntry(u"T", u"p.html", u"Draw;draw;Draw"),
       {"Draw: T=p.html T=p.html", "draw: T=p.html"}},
  };
  for (const Case& c : cases) {
    KeywordMap map;
    addKeywords(map, c.entry);
    EXPECT_EQ(filed(map), c.keywords) << u8(c.entry.keywords);
    EXPECT_EQ(map.positions.size(), map.keywords.size());
  }
}

TEST(IndexBody, OneKeywordCollectsTheLinksOfEveryEntryInOrder) {
  std::vector<IndexEntry> entries = {indexEntry(u"Open", u"Files_f_Open.html", u"Open"),
                                     indexEntry(u"Open", u"Net_f_Open.html", u"Open")};
  EXPECT_EQ(indexBody(entries, u""),
            keyword("Open", {{"Open", "Files_f_Open.html"}, {"Open", "Net_f_Open.html"}}));
  EXPECT_EQ(collectKeywords(entries).keywords.size(), 1u);
}

TEST(IndexBody, VisitsKeywordsBySlotThenNewestFirst) {
  // Slots of h = h * 65599 + c mod 2^32, taken mod 512, worked out by hand:
  // Line 20, "😀x" 53, draw 100, Draw 132, Open 170, Canvas 184, ä 228,
  // "😀" 259, Close 376, Plot = Qhx = QqA 481.
  std::vector<IndexEntry> entries;
  const char16_t* created[] = {u"Plot", u"Open", u"Qhx", u"Close", u"Draw", u"draw",
                               u"ä",    u"QqA",  u"Line", u"Canvas", u"\U0001F600",
                               u"\U0001F600x"};
  for (const char16_t* k : created) entries.push_back(indexEntry(u"t", u"p", k));
  // Written in Windows-1252, the code page of a project without a language.
  const char* visited[] = {"Line", "&#128512;x", "draw", "Draw", "Open", "Canvas", "\xE4",
                           "&#128512;", "Close", "QqA", "Qhx", "Plot"};
  std::string expected;
  for (const char* k : visited) expected += keyword(k, {{"t", "p"}});
  EXPECT_EQ(indexBody(entries, u""), expected);
}

TEST(IndexBody, KeepsTheOrderAtOneHundredThousandKeywords) {
  // 100,000 keywords, about 200 per slot, stay fast and keep the order.
  std::vector<IndexEntry> entries;
  for (int i = 0; i < 100000; ++i) {
    const std::u16string k{static_cast<char16_t>(u'A' + i % 60000),
                           static_cast<char16_t>(u'A' + i / 60000)};
    entries.push_back(IndexEntry{u"t", u"p", k, u""});
  }
  const KeywordMap map = collectKeywords(entries);
  ASSERT_EQ(map.keywords.size(), 100000u);
  std::vector<size_t> order = keywordOrder(map);
  ASSERT_EQ(order.size(), map.keywords.size());
  for (size_t i = 1; i < order.size(); ++i) {
    auto slot = [&](size_t position) {
      uint32_t h = 0;
      for (char16_t c : map.keywords[position].keyword) h = h * 65599u + c;
      return h % 512;
    };
    ASSERT_LE(slot(order[i - 1]), slot(order[i]));
    if (slot(order[i - 1]) == slot(order[i])) {
      ASSERT_GT(order[i - 1], order[i]);
    }
  }
}

TEST(IndexBody, NoEntriesGiveAnEmptyBody) {
  std::vector<IndexEntry> entries = {indexEntry(u"T", u"p.html", u"")};
  EXPECT_EQ(indexBody(entries, u""), "");
}

TEST(IndexBody, EscapesQuotesAndAngleBracketsInEveryValue) {
  std::vector<IndexEntry> entries = {indexEntry(u"a<b>", u"x\".html", u"say \"hi\" & go")};
  EXPECT_EQ(indexBody(entries, u""),
            keyword("say &quot;hi&quot; & go", {{"a&lt;b&gt;", "x&quot;.html"}}));
}

TEST(WriteIndexFile, WritesTheNineFixedLinesAroundTheBody) {
  const std::string head =
      "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\n"
      "<HTML>\n"
      "<HEAD>\n"
      "<meta name=\"GENERATOR\" content=\"TarnelTHC help compiler\">\n"
      "<!-- Sitemap 1.0 -->\n"
      "</HEAD><BODY>\n"
      "<UL>\n";
  const std::string tail = "</UL>\n</BODY></HTML>\n";
  testing::TempFolder folder;
  const std::string& dir = folder.path;
  MemoryConsole console;
  OutputFolder output(u16(dir + "/"));
  EXPECT_TRUE(writeIndexFile(console, output, ""));
  EXPECT_EQ(testing::readFile(dir + "/idx.hhk"), head + tail);
  EXPECT_TRUE(writeIndexFile(console, output, "\xE4\n"));
  EXPECT_EQ(testing::readFile(dir + "/idx.hhk"), head + "\xE4\n" + tail);
  EXPECT_TRUE(console.lines.empty());

  OutputFolder missing(u16(dir + "/no/"));
  EXPECT_FALSE(writeIndexFile(console, missing, ""));
  EXPECT_EQ(console.utf8Lines(), std::vector<std::string>{"Unable to create " + dir + "/no/idx.hhk"});
}

}  // namespace
}  // namespace thc
