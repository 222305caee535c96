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

// Viewers read the names of the contents and the index and the title in the
// code page of the help language: the compiled file holds them in it, and a
// character the code page lacks as a decimal reference ("?" in the title).
TEST_F(ChmCompile, NamesAndTitleAreStoredInTheHelpLanguagesCodePage) {
  struct Case {
    const char* lang;
    const char* title;
    const char* commands;  // the catalog's word for the commands heading
    const char* keywords;
    std::vector<std::string> contentsNames;
    std::vector<std::string> indexNames;
    std::string shownTitle;
  };
  const Case cases[] = {
      {"de", "Größe für Ω", "Befehle für Käse", "für;Ω😀", {"Befehle f\xFCr K\xE4se"},
       {"f\xFCr", "&#937;&#128512;"}, "Gr\xF6\xDF" "e f\xFCr ?"},
      {"0x419", "Справка Ω", "Команды für", "поиск;строка",
       {"\xCA\xEE\xEC\xE0\xED\xE4\xFB f&#252;r"},
       {"\xEF\xEE\xE8\xF1\xEA", "\xF1\xF2\xF0\xEE\xEA\xE0"}, "\xD1\xEF\xF0\xE0\xE2\xEA\xE0 ?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lang);
    TempFolder folder;
    writeFile(folder.path + "/p.xml",
              std::string("<doc title=\"") + c.title + "\" lang=\"" + c.lang + "\">\n" +
                  "<catalog><![CDATA[\nCommands = " + c.commands + "\n]]></catalog>\n" +
                  "<library name=\"Texte\"><command name=\"Suchen\"><keywords>" + c.keywords +
                  "</keywords><description>x</description></command></library>\n</doc>\n");
    const std::string output = folder.path + "/html";
    ProgramRun run = runProgram({"e2e", folder.path + "/p.xml"}, "", "", {"TARNELTHC_OUTPUT=" + output});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    ChmCheck check = compileAndCheck(output);
    EXPECT_EQ(joined(check.problems), "") << check.compilerOutput;
    for (const std::string& name : c.contentsNames) {
      EXPECT_NE(check.contents.find("value=\"" + name + "\""), std::string::npos) << check.contents;
    }
    for (const std::string& name : c.indexNames) {
      EXPECT_NE(check.index.find("value=\"" + name + "\""), std::string::npos) << check.index;
    }
    EXPECT_EQ(check.system[3], c.shownTitle);
  }
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
