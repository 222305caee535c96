// Values of the contents and index files: the replaced characters at every
// place of a text, and the rest copied as it is.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codepage/decoder.h"
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
  TextEncoder utf8(utf8CodePage);
  for (const Case& c : cases) {
    std::string out = "x=";
    appendSitemapValue(out, u16(c.text), utf8);
    EXPECT_EQ(out, std::string("x=") + c.written) << c.text;
  }
}

}  // namespace
}  // namespace thc

namespace thc {
namespace {

// Also: a file name made to fit the code page reads back as itself, as the
// link check reads the contents and index files.
TEST(SitemapValue, CountedSizesMatchWhatIsAppended) {
  const std::vector<std::u16string> values = {
      u"", u"plain", u"\"", u"<>", u"a\"b<c>d&e", u"\u00FC\U0001F600\"", u"日本¥<\xD800Ω",
  };
  for (unsigned codePage : {utf8CodePage, 1252u, 1251u, 932u}) {
    TextEncoder encoder(codePage);
    for (const std::u16string& value : values) {
      std::string out;
      appendSitemapValue(out, value, encoder);
      EXPECT_EQ(sitemapValueSize(value, encoder), out.size()) << u8(value) << " " << codePage;
      for (const char* name : {"Name", "Local"}) {
        std::string line;
        appendParamLine(line, name, value, encoder);
        EXPECT_EQ(paramLineSize(name, value, encoder), line.size()) << u8(value);
      }
      if (codePage == utf8CodePage) continue;  // no help is written in it
      const std::u16string fileName = fileNameInCodePage(value, codePage);
      std::string bytes;
      encoder.appendWithUnderscores(bytes, fileName);
      EXPECT_EQ(TextDecoder(codePage).decode(bytes), fileName) << u8(value) << " " << codePage;
    }
  }
}

}  // namespace
}  // namespace thc
