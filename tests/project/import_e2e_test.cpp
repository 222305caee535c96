// Imports through the real binary: the lines of the "Parsing file ..." stage.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/run_program.h"

namespace thc {
namespace {

using testing::makeTempDirectory;
using testing::runProgram;
using testing::writeFile;

using Lines = std::vector<std::string>;

// The reader's lines: from the driver's "Parsing file ..." up to its "done".
// A run whose help lacks an import that could not be read fails.
Lines readerLines(const std::string& projectFile, int exitCode = 0) {
  std::string out = makeTempDirectory() + "/out";
  auto run = runProgram({"x", projectFile}, "", "", {"TARNELTHC_OUTPUT=" + out});
  EXPECT_EQ(run.exitCode, exitCode) << run.output;
  auto begin = std::find(run.lines.begin(), run.lines.end(), "Parsing file ...");
  auto end = std::find(begin, run.lines.end(), "Checking file ...");
  EXPECT_NE(end, run.lines.end()) << run.output;
  return Lines(begin, end);
}

// The lines of a project whose doc holds `body`, stored as main.xml in `dir`.
Lines readProjectIn(const std::string& dir, const std::string& body, int exitCode = 0) {
  writeFile(dir + "/main.xml", "<doc title='t'>" + body + "</doc>");
  return readerLines(dir + "/main.xml", exitCode);
}

Lines concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const Lines kOpened = {"success", "File ok", "Parsing file ..."};

TEST(ImportEndToEnd, Success) {
  std::string dir = makeTempDirectory();
  writeFile(dir + "/lib.xml", "<library name='Lib'><command name='Open'/></library>");
  EXPECT_EQ(readProjectIn(dir, "<import file='lib.xml'/>"),
            concat({{"Parsing file ...", "Importing external file " + dir + "/lib.xml"}, kOpened,
                    {"done", "done"}}));
}

TEST(ImportEndToEnd, MissingFile) {
  std::string dir = makeTempDirectory();
  EXPECT_EQ(readProjectIn(dir, "<import file='nothere.xml'/><library name='A'/>", 1),
            (Lines{"Parsing file ...", "Importing external file " + dir + "/nothere.xml", "failed",
                   "done"}));
}

TEST(ImportEndToEnd, DefectiveFile) {
  std::string dir = makeTempDirectory();
  writeFile(dir + "/bad.xml", "<library name='A'>\n  <command name='x'>\n</library>\n");
  writeFile(dir + "/junk.xml", "not xml at all");
  EXPECT_EQ(readProjectIn(dir, "<import file='bad.xml'/><import file='junk.xml'/>", 1),
            (Lines{"Parsing file ...", "Importing external file " + dir + "/bad.xml", "success",
                   "File is defective [3:3]", "Error mismatched tag",
                   "Importing external file " + dir + "/junk.xml", "success",
                   "File is defective [1:1]", "Error syntax error", "done"}));
}

TEST(ImportEndToEnd, NestedImport) {
  std::string dir = makeTempDirectory();
  writeFile(dir + "/outer.xml", "<import file='inner.xml'/>");
  writeFile(dir + "/inner.xml", "<library name='Inner'/>");
  EXPECT_EQ(readProjectIn(dir, "<import file='outer.xml'/>"),
            concat({{"Parsing file ...", "Importing external file " + dir + "/outer.xml"}, kOpened,
                    {"Importing external file " + dir + "/inner.xml"}, kOpened,
                    {"done", "done", "done"}}));
}

TEST(ImportEndToEnd, ImportInsideALibraryIsIgnored) {
  std::string dir = makeTempDirectory();
  writeFile(dir + "/lib.xml", "<library name='Lib'/>");
  EXPECT_EQ(readProjectIn(dir, "<library name='A'><import file='lib.xml'/></library>"),
            (Lines{"Parsing file ...", "done"}));
}

TEST(ImportEndToEnd, AbsolutePathIsAppendedToTheProjectDirectory) {
  std::string dir = makeTempDirectory();
  writeFile(dir + "/lib.xml", "<library name='Lib'/>");
  EXPECT_EQ(readProjectIn(dir, "<import file='" + dir + "/lib.xml'/>", 1),
            (Lines{"Parsing file ...", "Importing external file " + dir + "/" + dir + "/lib.xml",
                   "failed", "done"}));
}

TEST(ImportEndToEnd, BackslashPathLoads) {
  std::string dir = makeTempDirectory();
  std::filesystem::create_directory(dir + "/sub");
  writeFile(dir + "/sub/lib.xml", "<library name='Lib'/>");
  EXPECT_EQ(readProjectIn(dir, "<import file='sub\\lib.xml'/>"),
            concat({{"Parsing file ...", "Importing external file " + dir + "/sub\\lib.xml"}, kOpened,
                    {"done", "done"}}));
}

TEST(ImportEndToEnd, FileImportingItselfIsSkipped) {
  std::string dir = makeTempDirectory();
  EXPECT_EQ(readProjectIn(dir, "<import file='main.xml'/><library name='A'/>"),
            (Lines{"Parsing file ...", "Importing external file " + dir + "/main.xml",
                   "Import cycle, file skipped", "done"}));
}

TEST(ImportEndToEnd, TwoFileCycleEnds) {
  std::string dir = makeTempDirectory();
  writeFile(dir + "/a.xml", "<import file='b.xml'/>");
  writeFile(dir + "/b.xml", "<import file='a.xml'/>");
  const std::string at = "Importing external file " + dir + "/";
  EXPECT_EQ(readProjectIn(dir, "<import file='a.xml'/>"),
            concat({{"Parsing file ...", at + "a.xml"}, kOpened, {at + "b.xml"}, kOpened,
                    {at + "a.xml", "Import cycle, file skipped", "done", "done", "done"}}));
}

TEST(ImportEndToEnd, DemoProjectReadsWithoutDiagnostics) {
  std::string demo = testing::sourceDirectory() + "/examples/demo/";
  EXPECT_EQ(readerLines(demo + "demo.xml"),
            concat({{"Parsing file ...", "Importing external file " + demo + "files.xml"}, kOpened,
                    {"done", "done"}}));
}

}  // namespace
}  // namespace thc
