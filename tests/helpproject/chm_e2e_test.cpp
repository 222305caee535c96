// The demo output compiled by a real HTML Help compiler and inspected.
#include <gtest/gtest.h>

#include <filesystem>

#include "helpproject/chm_checker.h"
#include "helpproject/temp_folder.h"
#include "support/run_program.h"

namespace thc::testing {
namespace {

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// Runs the program on an example project into a fresh folder.
std::string generate(const TempFolder& folder, const std::string& project) {
  std::string output = folder.path + "/html";
  ProgramRun run = runProgram({"e2e", sourceDirectory() + "/examples/" + project}, "", "",
                              {"TARNELTHC_OUTPUT=" + output});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  return output;
}

void replaceInFile(const std::string& path, const std::string& from, const std::string& to) {
  std::string text = readFile(path);
  size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  text.replace(at, from.size(), to);
  writeFile(path, text);
}

class ChmCompile : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!chmToolsInstalled()) GTEST_SKIP() << "chmcmd is not installed (package fp-utils)";
  }
};

TEST_F(ChmCompile, DemoCompilesCleanlyWithEveryPageAndLink) {
  TempFolder folder;
  std::string output = generate(folder, "demo/demo.xml");
  ChmCheck check = compileAndCheck(output);
  EXPECT_EQ(joined(check.problems), "") << check.compilerOutput;
  EXPECT_EQ(check.chmPath.substr(check.chmPath.rfind('/') + 1), "TarnelKit.chm");
}

TEST_F(ChmCompile, CatalogDemoCompilesCleanly) {
  TempFolder folder;
  std::string output = generate(folder, "catalog-demo/katalog.xml");
  ChmCheck check = compileAndCheck(output);
  EXPECT_EQ(joined(check.problems), "") << check.compilerOutput;
}

TEST_F(ChmCompile, CheckerFindsEveryKindOfBrokenFolder) {
  TempFolder generated;
  const std::string good = generate(generated, "demo/demo.xml");
  struct Case {
    const char* what;
    void (*breakFolder)(const std::string& folder);
    const char* problem;  // a text that one of the problems contains
    // chmcmd sometimes crashes on a broken index instead of reporting it;
    // the crash is found by the checker as well.
    const char* orProblem = nullptr;
  };
  const Case cases[] = {
      {"a page of [FILES] is missing",
       [](const std::string& f) { std::filesystem::remove(f + "/Gfx_f_Plot.html"); },
       "no compiled file"},
      {"a quote in a contents name",
       [](const std::string& f) {
         replaceInFile(f + "/toc.hhc", "value=\"Plot\"", "value=\"Pl\"ot\"");
       },
       "toc.hhc line"},
      {"a quote in a contents link",
       [](const std::string& f) {
         replaceInFile(f + "/toc.hhc", "value=\"Gfx_f_Line.html\"", "value=\"Gfx_f_\"Line.html\"");
       },
       "toc.hhc links to Gfx_f_"},
      {"a page left out of [FILES]",
       [](const std::string& f) { replaceInFile(f + "/document.hhp", "Gfx_f_Box.html\n", ""); },
       "links to Gfx_f_Box.html"},
      {"an index link to a page that is not there",
       [](const std::string& f) {
         replaceInFile(f + "/idx.hhk", "value=\"Gfx_f_Line.html\"", "value=\"Gfx_f_Lines.html\"");
       },
       "idx.hhk links to Gfx_f_Lines.html"},
      {"a quote in an index keyword",
       [](const std::string& f) {
         replaceInFile(f + "/idx.hhk", "value=\"pixel\"", "value=\"pi\"xel\"");
       },
       "idx.hhk line", "unhandled exception"},
      {"no contents file",
       [](const std::string& f) { std::filesystem::remove(f + "/toc.hhc"); }, "chmcmd: Error"},
  };
  for (const Case& c : cases) {
    TempFolder broken;
    std::string folder = broken.path + "/html";
    std::filesystem::copy(good, folder, std::filesystem::copy_options::recursive);
    c.breakFolder(folder);
    ChmCheck check = compileAndCheck(folder);
    std::string problems = joined(check.problems);
    bool found = problems.find(c.problem) != std::string::npos ||
                 (c.orProblem && problems.find(c.orProblem) != std::string::npos);
    EXPECT_TRUE(found)
        << c.what << "\n" << joined(check.problems) << check.compilerOutput;
  }
}

}  // namespace
}  // namespace thc::testing
