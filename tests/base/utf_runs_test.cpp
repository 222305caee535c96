// The conversions copy ASCII runs in blocks; every run length around every
// kind of non-ASCII character must give the same result as a unit-by-unit
// conversion.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/utf.h"

namespace thc {
namespace {

// Unit by unit, the plain way: the expected results.
std::string plainUtf8(std::u16string_view text) {
  std::string out;
  auto put = [&](uint32_t cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  };
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      put(0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00));
    } else {
      put(c >= 0xD800 && c <= 0xDFFF ? 0xFFFD : c);
    }
  }
  return out;
}

std::u16string asciiText(size_t length) {
  std::u16string text;
  for (size_t i = 0; i < length; ++i) text += static_cast<char16_t>(u'a' + i % 26);
  return text;
}

TEST(UtfRuns, EveryRunLengthAroundEveryKindOfCharacter) {
  // Characters that end an ASCII run: two- and three-byte forms, a pair, lone
  // halves, the largest ASCII unit next to the smallest non-ASCII one.
  const std::vector<std::u16string> breaks = {
      u"\u00FC", u"\u0080", u"\u20AC", u"\U0001F600", std::u16string(1, u'\xD800'),
      std::u16string(1, u'\xDC00'), u"\u007F\u0080", u"\uFFFF",
  };
  for (const std::u16string& middle : breaks) {
    for (size_t before = 0; before <= 17; ++before) {
      for (size_t after = 0; after <= 9; ++after) {
        const std::u16string text = asciiText(before) + middle + asciiText(after);
        const std::string expected = plainUtf8(text);
        ASSERT_EQ(toUtf8(text), expected) << before << " " << after;
        std::string appended = "prefix";
        appendUtf8(appended, text);
        ASSERT_EQ(appended, "prefix" + expected);
        if (middle[0] < 0xD800 || middle[0] > 0xDFFF || middle.size() == 2) {
          // Text without lone halves survives the way back unchanged.
          std::u16string back = u"x";
          appendFromUtf8(back, expected);
          ASSERT_EQ(back, u"x" + text) << before << " " << after;
        }
      }
    }
  }
}

TEST(UtfRuns, InvalidBytesInsideAsciiRuns) {
  // A bad byte after runs of every length, and runs after it.
  for (size_t before = 0; before <= 17; ++before) {
    for (const std::string bad : {"\xFF", "\xC3", "\xE2\x82", "\xC0\xAF"}) {
      std::string bytes(before, 'q');
      bytes += bad;
      bytes += "tail";
      std::u16string expected(before, u'q');
      expected += std::u16string(bad.size(), u'\uFFFD');  // each byte on its own
      expected += u"tail";
      ASSERT_EQ(fromUtf8(bytes), expected) << before << " " << bad.size();
    }
  }
}

TEST(UtfRuns, LongTextsConvertBothWays) {
  std::u16string text;
  for (int i = 0; i < 2000; ++i) text += (i % 97 == 0) ? u"\u00E4\U0001F600" : u"plain text ";
  const std::string bytes = toUtf8(text);
  EXPECT_EQ(bytes, plainUtf8(text));
  EXPECT_EQ(fromUtf8(bytes), text);
}

}  // namespace
}  // namespace thc
