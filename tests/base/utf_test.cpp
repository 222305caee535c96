#include "base/utf.h"

#include <gtest/gtest.h>

#include "platform/textcase.h"

namespace thc {
namespace {

TEST(Utf, RoundTripsEveryPlane) {
  const std::u16string text = u"a\u00fc\u20ac\U0001F600z";
  EXPECT_EQ(toUtf8(text), "a\xC3\xBC\xE2\x82\xAC\xF0\x9F\x98\x80z");
  EXPECT_EQ(fromUtf8(toUtf8(text)), text);
}

TEST(Utf, InvalidInputBecomesReplacementCharacters) {
  struct Case { std::string bytes; std::u16string text; };
  const std::vector<Case> cases = {
      {"\xFF", u"\uFFFD"},
      {"a\xC3", u"a\uFFFD"},                 // truncated sequence
      {"\xC0\xAF", u"\uFFFD\uFFFD"},         // overlong form
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // encoded surrogate
  };
  for (const Case& c : cases) EXPECT_EQ(fromUtf8(c.bytes), c.text);
  EXPECT_EQ(toUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");  // lone surrogate
}

TEST(TextCase, FullUnicodeCasing) {
  EXPECT_EQ(platform::toLower(u"Linux \u00C4\u00D6\u00DC \u0394"), u"linux \u00E4\u00F6\u00FC \u03B4");
  EXPECT_EQ(platform::toUpper(u"es 0x40c \u00e9"), u"ES 0X40C \u00C9");
  EXPECT_EQ(platform::toLower(u"\U00010400"), u"\U00010428");  // Deseret, outside the BMP
}

}  // namespace
}  // namespace thc
