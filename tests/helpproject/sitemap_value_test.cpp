// Values of the contents and index files: the replaced characters at every
// place of a text, and the rest copied as it is.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "helpproject/sitemap.h"
#include "support/u16.h"

namespace thc {
namespace {

using testing::u16;
using testing::u8;

TEST(SitemapValue, ReplacesQuotesAndAngleBracketsAnywhere) {
  struct Case {
    const char* text;
    const char* written;
  };
  const std::vector<Case> cases = {
      {"", ""},
      {"plain text & more", "plain text & more"},
      {"\"", "&quot;"},
      {"\"start", "&quot;start"},
      {"end>", "end&gt;"},
      {"<<>>", "&lt;&lt;&gt;&gt;"},
      {"a\"b<c>d", "a&quot;b&lt;c&gt;d"},
      {"&quot; stays", "&quot; stays"},
      {"\xC3\xBC<\xF0\x9F\x98\x80>", "\xC3\xBC&lt;\xF0\x9F\x98\x80&gt;"},
  };
  for (const Case& c : cases) {
    std::u16string out = u"x=";
    appendSitemapValue(out, u16(c.text));
    EXPECT_EQ(u8(out), std::string("x=") + c.written) << c.text;
  }
}

}  // namespace
}  // namespace thc

namespace thc {
namespace {

TEST(SitemapValue, CountedSizesMatchWhatIsAppended) {
  const std::vector<std::u16string> values = {
      u"", u"plain", u"\"", u"<>", u"a\"b<c>d&e", u"\u00FC\U0001F600\"",
  };
  for (const std::u16string& value : values) {
    std::u16string out;
    appendSitemapValue(out, value);
    EXPECT_EQ(sitemapValueSize(value), out.size()) << u8(value);
    for (const char16_t* name : {u"Name", u"Local"}) {
      std::u16string line;
      appendParamLine(line, name, value);
      EXPECT_EQ(paramLineSize(name, value), line.size()) << u8(value);
    }
  }
}

}  // namespace
}  // namespace thc
