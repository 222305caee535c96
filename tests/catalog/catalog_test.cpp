#include "catalog/catalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "support/u16.h"

namespace thc {
namespace {

using testing::u16;
using testing::u8;
using Entries = std::map<std::u16string, std::u16string>;

Entries entriesOf(const Catalog& catalog) { return Entries(catalog.begin(), catalog.end()); }

Entries built(std::u16string_view source) {
  Catalog catalog;
  EXPECT_TRUE(buildCatalog(catalog, source));
  return entriesOf(catalog);
}

TEST(ReadLine, SplitsAtLineFeedsThenCarriageReturns) {
  struct Case {
    std::u16string text;
    size_t p;
    std::u16string line;
    std::optional<size_t> next;
  };
  const Case cases[] = {
      {u"ab\ncd", 1, u"ab", 4},
      {u"ab\ncd", 4, u"cd", std::nullopt},
      {u"ab\ncd", 2, u"b", 4},
      {u"\ncd", 1, u"", 2},
      {u"ab\n", 1, u"ab", 4},  // the next position lies past the end
      {u"ab\r\ncd", 1, u"ab\r", 5},
      {u"ab\rcd", 1, u"ab", 4},
      {u"ab\rcd", 4, u"cd", std::nullopt},
      {u"\rcd", 1, u"", 2},
      // Once a line feed follows, carriage returns before it stay in the line.
      {u"ab\rcd\nef", 1, u"ab\rcd", 7},
      {u"ab\ncd\ref", 4, u"cd", 7},
      {u"abc", 1, u"abc", std::nullopt},
      {u"", 1, u"", std::nullopt},
      {u"abc", 4, u"", std::nullopt},
      {u"abc", 0, u"", std::nullopt},
  };
  for (const Case& c : cases) {
    CatalogLine result = readLine(c.text, c.p);
    EXPECT_EQ(result.line, c.line) << u8(c.text) << " at " << c.p;
    EXPECT_EQ(result.next, c.next) << u8(c.text) << " at " << c.p;
  }
}

TEST(UnescapeCatalogValue, TranslatesBackslashRunsWithTheirCharacter) {
  struct Case {
    std::u16string value;
    std::u16string result;
  };
  const Case cases[] = {
      {u"plain", u"plain"},
      {u"a\\nb", u"a\nb"},
      {u"a\\tb", u"a\tb"},
      {u"a\\rb", u"a\rb"},
      {u"a\\\\nb", u"a\\nb"},
      {u"a\\\\\\nb", u"a\\\nb"},
      {u"a\\xb", u"a b"},
      {u"a\\\\b", u"a\\b"},
      {u"a\\\"b", u"a b"},
      {u"ab\\", u"ab"},
      {u"ab\\\\\\", u"ab"},  // a run at the very end has nothing to escape
      {u"\\", u""},
      {u"", u""},
      {u"a\\Nb", u"a b"},  // only the lower-case letters are escapes
  };
  for (const Case& c : cases) EXPECT_EQ(unescapeCatalogValue(c.value), c.result) << u8(c.value);
}

TEST(BuildCatalog, ReadsKeyTextLines) {
  struct Case {
    std::u16string source;
    Entries entries;
  };
  const Case cases[] = {
      {u"Syntax = Syntaxe", {{u"syntax", u"Syntaxe"}}},
      {u"syntax=Syntaxe", {{u"syntax", u"Syntaxe"}}},
      {u"  Syntax \t=\t Syntaxe  ", {{u"syntax", u"Syntaxe"}}},
      {u"# Syntax = Syntaxe", {}},
      {u"#", {}},
      // Only the untrimmed first character makes a comment.
      {u"  # Syntax = Syntaxe", {{u"# syntax", u"Syntaxe"}}},
      {u"= Syntaxe", {}},
      {u"=a=b", {{u"=a", u"b"}}},
      {u" = x", {{u"", u"x"}}},
      {u"k==v", {{u"k", u"=v"}}},
      {u"no equals here", {}},
      {u"\n\n  \n", {}},
      {u"Supported Systems = x", {{u"supported systems", u"x"}}},
      {u"k = a\\nb", {{u"k", u"a\nb"}}},
      {u"k = a\\\\nb", {{u"k", u"a\\nb"}}},
      {u"k = a\\xb", {{u"k", u"a b"}}},
      {u"k = ab\\", {{u"k", u"ab"}}},
      {u"k = \\t x \\t", {{u"k", u"\t x \t"}}},  // trimmed before the escapes
      {u"k = 1\nK = 2", {{u"k", u"2"}}},
      {u"Syntax =", {{u"syntax", u""}}},
      {u"a=1\nb=2\n", {{u"a", u"1"}, {u"b", u"2"}}},
      {u"a=1\r\nb=2\r\n", {{u"a", u"1"}, {u"b", u"2"}}},
      {u"a=1\rb=2\r", {{u"a", u"1"}, {u"b", u"2"}}},
      {u"a=1\rb=2\nc=3", {{u"a", u"1\rb=2"}, {u"c", u"3"}}},
      {u"ÄRGER = x", {{u"ärger", u"x"}}},
  };
  for (const Case& c : cases) EXPECT_EQ(built(c.source), c.entries) << u8(c.source);
}

TEST(BuildCatalog, StartsFromAnEmptyCatalog) {
  Catalog catalog{{u"old", u"word"}};
  buildCatalog(catalog, u"new = word");
  EXPECT_EQ(entriesOf(catalog), (Entries{{u"new", u"word"}}));
}

TEST(BuildCatalog, IsLinearOnManyCarriageReturnLines) {
  std::u16string source;
  for (int i = 0; i < 100000; ++i) source += u"key" + u16(std::to_string(i)) + u"=v\r";
  Catalog catalog;
  buildCatalog(catalog, source);
  EXPECT_EQ(catalog.size(), 100000u);
  EXPECT_EQ(catalog[u"key99999"], u"v");
}

TEST(CatalogText, LooksUpTheLoweredKey) {
  Catalog catalog;
  buildCatalog(catalog, u"syntax = Syntaxe\nAllBut = tout sauf\nParameters =\nÄrger = Ä");
  struct Case {
    std::u16string key;
    std::u16string builtIn;
    std::u16string text;
  };
  const Case cases[] = {
      {u"Syntax", u"Syntax", u"Syntaxe"},
      {u"SYNTAX", u"Syntax", u"Syntaxe"},
      {u"allbut", u"all but", u"tout sauf"},
      {u"Parameters", u"Parameters", u""},  // an empty text hides the word
      {u"Result", u"Result", u"Result"},
      {u"ÄRGER", u"x", u"Ä"},
  };
  for (const Case& c : cases) EXPECT_EQ(catalogText(catalog, c.key, c.builtIn), c.text) << u8(c.key);
  EXPECT_EQ(catalogText(catalog, words::SupportedSystems), u"Supported systems");
  EXPECT_EQ(catalogText(Catalog{}, words::AllBut), u"all but");
}

}  // namespace
}  // namespace thc
