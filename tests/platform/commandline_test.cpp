#include "platform/commandline.h"

#include <gtest/gtest.h>

#include "support/u16.h"

namespace thc::platform {
namespace {

using thc::testing::u16;
using thc::testing::u8;

TEST(SplitCommandLine, BlanksSeparateQuotesGroupTabsDoNot) {
  struct Case { const char* line; std::vector<std::string> arguments; };
  const std::vector<Case> cases = {
      {"tarnelthc.exe", {"tarnelthc.exe"}},
      {"\"C:\\Program Files\\t.exe\" x C:\\doc\\p.xml", {"C:\\Program Files\\t.exe", "x", "C:\\doc\\p.xml"}},
      {"t.exe x \"C:\\My Docs\\p.xml\"", {"t.exe", "x", "C:\\My Docs\\p.xml"}},
      {"t.exe   a    b  ", {"t.exe", "a", "b"}},
      {"t.exe a\tb c", {"t.exe", "a\tb", "c"}},
      {"t.exe \"\" p.xml", {"t.exe", "", "p.xml"}},
      {"t.exe \"open ended", {"t.exe", "open ended"}},
      {"t.exe a\"b c", {"t.exe", "a\"b", "c"}},
      {"", {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> got;
    for (const auto& argument : splitCommandLine(u16(c.line))) got.push_back(u8(argument));
    EXPECT_EQ(got, c.arguments) << c.line;
  }
}

}  // namespace
}  // namespace thc::platform
