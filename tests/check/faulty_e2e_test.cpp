// The faulty example project through the real binary: every check line in
// document order, "Errors found", exit code 1 and no file written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_program.h"

namespace thc {
namespace {

using testing::bannerLines;
using testing::listDirectory;
using testing::makeTempDirectory;
using testing::runProgram;
using testing::sourceDirectory;

using Lines = std::vector<std::string>;

void addFault(Lines& lines, const std::string& path, const std::string& message) {
  lines.push_back("Error at Node " + path);
  lines.push_back(message);
}

TEST(FaultyProjectEndToEnd, ListsEveryFaultAndWritesNothing) {
  const std::string out = makeTempDirectory() + "/out";
  auto run = runProgram({"faulty", sourceDirectory() + "/examples/faulty/faulty.xml"}, "", "",
                        {"TARNELTHC_OUTPUT=" + out});

  Lines expected = bannerLines("faulty");
  for (const char* line : {"success", "File ok", "Parsing file ...", "done", "Checking file ..."}) {
    expected.push_back(line);
  }
  const std::string method = "/doc/library/class/command";
  addFault(expected, method, "value of name may not start with a number");
  addFault(expected, method, "missing OS value");
  addFault(expected, method + "/example[2]", "missing name");
  addFault(expected, method + "/refmember[2]", "value of class may not contain ' '");
  addFault(expected, "/doc/library/command", "value of name may not contain ' '");
  addFault(expected, "/doc/library/command/arg", "missing index");
  addFault(expected, "/doc/library/constant", "value of name may not contain 'ö'");
  addFault(expected, "/doc/library/macro/arg", "missing name");
  addFault(expected, "/doc/library/structure/element[2]", "value of name may not contain ' '");
  addFault(expected, "/doc/library/structure/element[3]", "missing offset");
  addFault(expected, "/doc/library[2]/command/refclass", "missing name");
  for (const char* line : {"Errors found", "", "Press return to exit"}) expected.push_back(line);

  EXPECT_EQ(run.lines, expected);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errors, "");
  EXPECT_TRUE(listDirectory(out).empty());
}

}  // namespace
}  // namespace thc
