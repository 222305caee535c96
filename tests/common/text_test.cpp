#include "common/text.h"

#include <gtest/gtest.h>

#include "support/u16.h"

namespace thc {
namespace {

using testing::u16;
using testing::u8;

TEST(TextToInteger, ReadsEveryForm) {
  struct Case { const char* text; int64_t value; };
  const Case cases[] = {
      {"3", 3},        {"abc", 0},     {" 12xy", 12}, {"$1F", 31},  {"$1f", 31},
      {"%101", 5},     {"-5", -5},     {"+7", 7},     {"12.5", 12}, {"\t 42", 42},
      {"", 0},         {"-", 0},       {"$", 0},      {"%12", 1},   {"-$10", -16},
      {"\n5", 0},      {"9223372036854775807", INT64_MAX},
  };
  for (const Case& c : cases) EXPECT_EQ(textToInteger(u16(c.text)), c.value) << c.text;
}

TEST(FileExtension, StopsAtSeparatorsBlanksAndQuotes) {
  struct Case { const char* path; const char* extension; };
  const Case cases[] = {
      {"logo.png", "png"},     {"pic", ""},           {"dir.old/pic", ""},
      {"img/logo.png", "png"}, {"img\\logo.jpeg", "jpeg"}, {".hidden", ""},
      {"dir/.hidden", ""},     {"a b.gif", "gif"},    {"a.b c", ""},
      {"x.png\"rest", "png"},  {"name.", ""},         {"", ""},
      {"a.tar.gz", "gz"},
  };
  for (const Case& c : cases) EXPECT_EQ(u8(fileExtension(u16(c.path))), c.extension) << c.path;
}

TEST(TrimText, RemovesControlCharactersAndBlanksAtBothEnds) {
  EXPECT_EQ(u8(trimText(u"  \t\r\n Net \x01\x1f")), "Net");
  EXPECT_EQ(u8(trimText(u"a b")), "a b");
  EXPECT_EQ(u8(trimText(u"   ")), "");
  EXPECT_EQ(u8(trimText(u"\u00a0x\u00a0")), u8(u"\u00a0x\u00a0"));  // 160 is not below 33
}

TEST(DirectoryPart, KeepsTheLastSeparator) {
  struct Case { const char* path; const char* directory; };
  const Case cases[] = {
      {"C:\\doc\\project.xml", "C:\\doc\\"}, {"examples/demo/demo.xml", "examples/demo/"},
      {"project.xml", ""}, {"\"a/b.xml", "a/"}, {"a/b|c/d", "a/"}, {"/x", "/"},
  };
  for (const Case& c : cases) EXPECT_EQ(u8(directoryPart(u16(c.path))), c.directory) << c.path;
}

}  // namespace
}  // namespace thc
