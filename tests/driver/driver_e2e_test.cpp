// The driver through the real binary: banner, paths, load, prompts, exit codes.
#include <gtest/gtest.h>

#include "support/run_program.h"

namespace thc {
namespace {

using testing::bannerLines;
using testing::fileExists;
using testing::makeTempDirectory;
using testing::runProgram;
using testing::writeFile;

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const std::vector<std::string> kEnd = {"", "Press return to exit"};

TEST(DriverEndToEnd, MissingProjectFile) {
  std::string dir = makeTempDirectory();
  auto run = runProgram({"first", dir + "/missing.xml"});
  EXPECT_EQ(run.lines, concat(concat(bannerLines("first"), {"Unable to open " + dir + "/missing.xml"}), kEnd));
  EXPECT_EQ(run.exitCode, 1);
}

TEST(DriverEndToEnd, EmptyProjectFileCannotBeOpened) {
  std::string dir = makeTempDirectory();
  writeFile(dir + "/empty.xml", "");
  auto run = runProgram({"x", dir + "/empty.xml"});
  EXPECT_EQ(run.lines, concat(concat(bannerLines("x"), {"Unable to open " + dir + "/empty.xml"}), kEnd));
  EXPECT_EQ(run.exitCode, 1);
}

TEST(DriverEndToEnd, DefectiveProjectFile) {
  std::string dir = makeTempDirectory();
  writeFile(dir + "/bad.xml", "<doc title='t'>\n  <library name='a'>\n</doc>\n");
  auto run = runProgram({"x", dir + "/bad.xml"});
  EXPECT_EQ(run.lines, concat(concat(bannerLines("x"),
                                     {"success", "File is defective [3:3]", "Error mismatched tag"}),
                              kEnd));
  EXPECT_EQ(run.exitCode, 1);
  // The default output folder is created beside the project, but stays empty.
  EXPECT_TRUE(testing::listDirectory(dir + "/html").empty());
}

TEST(DriverEndToEnd, DemoProjectLoads) {
  std::string out = makeTempDirectory() + "/out";
  auto run = runProgram({"demo", testing::sourceDirectory() + "/examples/demo/demo.xml"}, "",
                        "", {"TARNELTHC_OUTPUT=" + out});
  ASSERT_GE(run.lines.size(), 9u);
  EXPECT_EQ(std::vector<std::string>(run.lines.begin(), run.lines.begin() + 8),
            concat(bannerLines("demo"), {"success", "File ok"}));
  EXPECT_EQ(std::vector<std::string>(run.lines.end() - 2, run.lines.end()), kEnd);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(fileExists(out));
}

TEST(DriverEndToEnd, NoArgumentsAndCancelledFilePromptAborts) {
  for (const std::string& input : {std::string(""), std::string("\n")}) {
    auto run = runProgram({}, input);
    EXPECT_EQ(run.output, "TarnelTools Help Compiler V0.5\n"
                          "Compiles XML library documentation into HTML Help projects\n\n"
                          "This app uses code based on the expat XML parser (https://libexpat.github.io/)\n\n"
                          "Analyzing file \nSelect document project file: ");
    EXPECT_EQ(run.errors, "Abort: Program aborted\n");
    EXPECT_EQ(run.exitCode, 1);
  }
}

TEST(DriverEndToEnd, CancelledFolderPromptAborts) {
  std::string dir = makeTempDirectory();
  writeFile(dir + "/p.xml", "<doc title='t'/>");
  auto run = runProgram({"one"}, dir + "/p.xml\n");
  EXPECT_EQ(run.lines.back(), "Select document project file: Path to store generated files [" + dir + "/]: ");
  EXPECT_EQ(run.errors, "Abort: Program aborted\n");
  EXPECT_EQ(run.exitCode, 1);
}

TEST(DriverEndToEnd, PromptedFileAndFolderLoadAndCreateTheFolder) {
  std::string dir = makeTempDirectory();
  writeFile(dir + "/p.xml", "<doc title='t'/>");
  auto run = runProgram({"one"}, dir + "/p.xml\r\n" + dir + "/chosen\n");
  ASSERT_GE(run.lines.size(), 8u);
  EXPECT_EQ(run.lines[5], "Analyzing file one");
  EXPECT_EQ(run.lines[6], "Select document project file: Path to store generated files [" + dir +
                              "/]: success");
  EXPECT_EQ(run.lines[7], "File ok");
  EXPECT_TRUE(fileExists(dir + "/chosen"));
  EXPECT_EQ(run.errors, "");
}

TEST(DriverEndToEnd, EmptyFolderAnswerChoosesTheProjectDirectory) {
  std::string dir = makeTempDirectory();
  writeFile(dir + "/p.xml", "<doc title='t'/>");
  auto run = runProgram({}, dir + "/p.xml\n\n");
  bool announced = false;
  for (const auto& line : run.lines) announced |= line == "Creating HTML files at " + dir + "/";
  EXPECT_TRUE(announced);
}

TEST(DriverEndToEnd, BareFileNameIsReadFromTheCurrentDirectory) {
  std::string dir = makeTempDirectory();
  writeFile(dir + "/p.xml", "<doc title='t'/>");
  auto run = runProgram({"x", "p.xml"}, "", dir);
  ASSERT_GE(run.lines.size(), 8u);
  EXPECT_EQ(run.lines[7], "File ok");
  EXPECT_TRUE(fileExists(dir + "/html"));
}

}  // namespace
}  // namespace thc
