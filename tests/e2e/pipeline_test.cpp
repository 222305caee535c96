// The whole program run end to end on real project files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>

#include "helpproject/temp_folder.h"
#include "support/run_program.h"

namespace thc::testing {
namespace {

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The [FILES] section of a help project file.
std::vector<std::string> listedPages(const std::string& hhp) {
  std::vector<std::string> pages;
  size_t at = hhp.find("[FILES]\n");
  if (at == std::string::npos) return pages;
  std::string line;
  for (char c : hhp.substr(at + 8)) {
    if (c != '\n') {
      line.push_back(c);
      continue;
    }
    pages.push_back(line);
    line.clear();
  }
  return pages;
}

const std::vector<std::string> stagesAfterParsing(const std::string& output) {
  return {"Checking file ...",
          "done",
          "Creating Language Catalog ...",
          "done",
          "Optimizing ... ",
          "done",
          "Extending Index... ",
          "done",
          "Creating HTML files at " + output + "/",
          "Completed"};
}

const std::vector<std::string> endLines = {"", "Press return to exit"};

// The page names a project can give: the start page, one page per library,
// command, class, method and structure, and the constants, macros and
// history pages. `title` is the project's title.
bool isPageName(const std::string& name, const std::string& title) {
  static const std::regex page(
      "[A-Za-z0-9_]+_(index|constant|macro|history|f_[A-Za-z0-9_$*]+|s_[^/]+|"
      "c_[A-Za-z0-9_$*]+(_m_[A-Za-z0-9_$*]+)?)\\.html");
  return name == "index.html" || name == title + "_history.html" || std::regex_match(name, page);
}

TEST(Pipeline, DemoRunPrintsEveryStageAndWritesOnlyTheNamedFiles) {
  TempFolder folder;
  const std::string output = folder.path + "/html";
  const std::string demo = sourceDirectory() + "/examples/demo/";
  ProgramRun run = runProgram({"demo", demo + "demo.xml"}, "\n", "", {"TARNELTHC_OUTPUT=" + output});

  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.errors, "");
  std::vector<std::string> expected = bannerLines("demo");
  expected = concat(expected, {"success", "File ok", "Parsing file ...",
                               "Importing external file " + demo + "files.xml", "success",
                               "File ok", "Parsing file ...", "done", "done"});
  expected = concat(expected, stagesAfterParsing(output));
  expected = concat(expected, {"Copying Image Files to " + output + "/", "Completed"});
  expected = concat(expected, endLines);
  EXPECT_EQ(run.lines, expected);

  // Every file is a listed page, one of the three help project files or a
  // numbered image, and every listed page is there.
  std::vector<std::string> pages = listedPages(readFile(output + "/document.hhp"));
  for (const std::string& page : pages) EXPECT_TRUE(isPageName(page, "TarnelKit")) << page;
  std::set<std::string> unique(pages.begin(), pages.end());
  EXPECT_EQ(unique.size(), pages.size());
  std::vector<std::string> names(unique.begin(), unique.end());
  names = concat(names, {"1.png", "2.png", "3.png", "document.hhp", "idx.hhk", "toc.hhc"});
  std::sort(names.begin(), names.end());
  EXPECT_EQ(listDirectory(output), names);

  // The images in the order the texts were read: the project description,
  // the Gfx library, then the imported Files library.
  EXPECT_EQ(readFile(output + "/1.png"), readFile(demo + "img/logo.png"));
  EXPECT_EQ(readFile(output + "/2.png"), readFile(demo + "img/diagram.png"));
  EXPECT_EQ(readFile(output + "/3.png"), readFile(demo + "img/logo.png"));
  EXPECT_NE(readFile(output + "/index.html").find("1.png"), std::string::npos);
  EXPECT_NE(readFile(output + "/Files_index.html").find("3.png"), std::string::npos);
}

TEST(Pipeline, TypicalRunWritesThreePagesAndTheHelpProjectFiles) {
  TempFolder folder;
  writeFile(folder.path + "/gfx.xml",
            "<doc title=\"Gfx Help\"><library name=\"Gfx\"><command name=\"Plot\"/></library></doc>");
  ProgramRun run = runProgram({"x", folder.path + "/gfx.xml"});
  const std::string output = folder.path + "/html";

  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.lines, concat(concat(concat(bannerLines("x"), {"success", "File ok",
                                                                "Parsing file ...", "done"}),
                                     stagesAfterParsing(output)),
                              endLines));
  EXPECT_EQ(listDirectory(output),
            (std::vector<std::string>{"Gfx_f_Plot.html", "Gfx_index.html", "document.hhp",
                                      "idx.hhk", "index.html", "toc.hhc"}));
  EXPECT_EQ(readFile(output + "/document.hhp"),
            "[OPTIONS]\n"
            "Binary TOC=Yes\n"
            "Compatibility=1.1 or later\n"
            "Compiled file=Gfx Help.chm\n"
            "Contents file=toc.hhc\n"
            "Default topic=index.html\n"
            "Display compile progress=No\n"
            "Index file=idx.hhk\n"
            "Full-text search=Yes\n"
            "Language=\n"
            "Title=Gfx Help\n"
            "[FILES]\n"
            "Gfx_f_Plot.html\n"
            "Gfx_index.html\n"
            "index.html\n");
  // Index extension filed Plot and Gfx under their own names; the slots of
  // the 512-slot hash put Gfx (89) before Plot (481).
  const std::string index = readFile(output + "/idx.hhk");
  EXPECT_NE(index.find("<param name=\"Name\" value=\"Gfx\">\n<param name=\"Name\" value=\"Gfx\">\n"
                       "<param name=\"Local\" value=\"Gfx_index.html\">\n</OBJECT> </LI>\n"
                       "<LI> <OBJECT type=\"text/sitemap\">\n"
                       "<param name=\"Name\" value=\"Plot\">\n<param name=\"Name\" value=\"Plot\">\n"
                       "<param name=\"Local\" value=\"Gfx_f_Plot.html\">\n"),
            std::string::npos)
      << index;
}

TEST(Pipeline, CatalogDemoUsesTheCatalogWords) {
  TempFolder folder;
  const std::string output = folder.path + "/html";
  ProgramRun run = runProgram({"x", sourceDirectory() + "/examples/catalog-demo/katalog.xml"}, "",
                              "", {"TARNELTHC_OUTPUT=" + output});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  const std::string hhp = readFile(output + "/document.hhp");
  EXPECT_NE(hhp.find("\nLanguage=0x407\n"), std::string::npos);
  const std::string toc = readFile(output + "/toc.hhc");
  // Written in Windows-1252, the code page of German help.
  for (const char* word : {"Bibliotheken", "Strukturen", "Konstanten", "Makroliste", "Klassen",
                           "Befehle", "Makros", "\xC4nderungen"}) {
    EXPECT_NE(toc.find(std::string("<param name=\"name\" value=\"") + word + "\">"),
              std::string::npos)
        << word;
  }
  // The start entry keeps its fixed name.
  EXPECT_NE(toc.find("<param name=\"name\" value=\"Index\">\n<param name=\"Local\" "
                     "value=\"index.html\">"),
            std::string::npos);
  const std::string search = readFile(output + "/Texte_f_Suchen.html");
  EXPECT_NE(search.find("Unterstützte Systeme"), std::string::npos);
  EXPECT_NE(search.find("alle außer AmigaOS"), std::string::npos);
}

TEST(Pipeline, ImagesBesideABareProjectFileAndAFailedCopy) {
  struct Case {
    const char* markup;
    std::vector<std::string> copied;
    std::vector<std::string> lastLines;
    int exitCode;
  };
  const Case cases[] = {
      {"@image(img\\logo.png) @image(img/logo.png) @image(img/plain)",
       {"1.png", "2.png", "3."},
       {"Copying Image Files to ./html/", "Completed"},
       0},
      {"@image(img/logo.png) @image(img/missing.png) @image(img/plain)",
       {"1.png"},
       {"Copying Image Files to ./html/",
        "Unable to copy ./img/missing.png to ./html/2.png", "Failed"},
       1},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    std::filesystem::create_directory(folder.path + "/img");
    writeFile(folder.path + "/img/logo.png", "LOGO");
    writeFile(folder.path + "/img/plain", "PLAIN");
    writeFile(folder.path + "/p.xml", std::string("<doc title=\"T\"><description>") + c.markup +
                                          "</description></doc>");
    ProgramRun run = runProgram({"x", "p.xml"}, "", folder.path);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.markup;
    ASSERT_GE(run.lines.size(), c.lastLines.size() + 2);
    std::vector<std::string> last(run.lines.end() - static_cast<long>(c.lastLines.size()) - 2,
                                  run.lines.end() - 2);
    EXPECT_EQ(last, c.lastLines) << c.markup;
    std::vector<std::string> images;
    for (const std::string& name : listDirectory(folder.path + "/html")) {
      if (name.find(".html") == std::string::npos && name.find(".hh") == std::string::npos) {
        images.push_back(name);
      }
    }
    EXPECT_EQ(images, c.copied) << c.markup;
    if (c.exitCode == 0) {
      EXPECT_EQ(readFile(folder.path + "/html/3."), "PLAIN");
    }
  }
}

TEST(Pipeline, HelpProjectFilesThatCannotBeCreatedAreReported) {
  TempFolder folder;
  const std::string output = folder.path + "/html";
  std::filesystem::create_directories(output + "/toc.hhc");
  std::filesystem::create_directories(output + "/document.hhp");
  writeFile(folder.path + "/p.xml", "<doc title=\"T\"/>");
  ProgramRun run = runProgram({"x", folder.path + "/p.xml"});
  EXPECT_EQ(run.exitCode, 1);
  std::vector<std::string> expected = stagesAfterParsing(output);
  expected.insert(expected.end() - 1, "Unable to create " + output + "/toc.hhc");
  expected.insert(expected.end() - 1, "Unable to create " + output + "/document.hhp");
  std::vector<std::string> stages(run.lines.end() - static_cast<long>(expected.size()) - 2,
                                  run.lines.end() - 2);
  EXPECT_EQ(stages, expected);
  EXPECT_TRUE(fileExists(output + "/idx.hhk"));
  EXPECT_TRUE(fileExists(output + "/index.html"));
}

}  // namespace
}  // namespace thc::testing
