#include "driver/paths.h"

#include <gtest/gtest.h>

#include "support/u16.h"

namespace thc {
namespace {

using testing::u16;
using testing::u8;

TEST(NormaliseDirectory, EndsInOneSeparatorAndUsesItThroughout) {
  struct Case { const char* path; char16_t separator; const char* result; };
  const Case cases[] = {
      {"a/b/c", u'\\', "a\\b\\c\\"},   {"C:\\out\\", u'\\', "C:\\out\\"},
      {"", u'\\', "\\"},               {"", u'/', "/"},
      {"a\\b", u'/', "a/b/"},          {"out/", u'/', "out/"},
      {"x/y\\", u'/', "x/y/"},
  };
  for (const Case& c : cases) EXPECT_EQ(u8(normaliseDirectory(u16(c.path), c.separator)), c.result) << c.path;
}

TEST(ProjectDirectory, BareFileNameMeansTheCurrentDirectory) {
  EXPECT_EQ(u8(projectDirectory(u"project.xml", u'/')), "./");
  EXPECT_EQ(u8(projectDirectory(u"examples/demo/demo.xml", u'/')), "examples/demo/");
  EXPECT_EQ(u8(projectDirectory(u"C:\\doc\\project.xml", u'/')), "C:/doc/");
  EXPECT_EQ(u8(projectDirectory(u"C:\\doc\\project.xml", u'\\')), "C:\\doc\\");
}

TEST(DirectoryToCreate, StripsTheFinalSeparatorsAndBlanks) {
  EXPECT_EQ(u8(directoryToCreate(u"out/html/")), "out/html");
  EXPECT_EQ(u8(directoryToCreate(u"out/html /")), "out/html");
  EXPECT_EQ(u8(directoryToCreate(u"out// //")), "out");
  EXPECT_EQ(u8(directoryToCreate(u"/")), "");
}

}  // namespace
}  // namespace thc
