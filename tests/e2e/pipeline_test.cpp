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

// The three help project files as a help compiler reads them, whole.
std::string helpProject(const std::string& compiled, const std::string& language,
                        const std::string& title, const std::string& files) {
  return "[OPTIONS]\n"
         "Binary TOC=Yes\n"
         "Compatibility=1.1 or later\n"
         "Compiled file=" + compiled + ".chm\n"
         "Contents file=toc.hhc\n"
         "Default topic=index.html\n"
         "Display compile progress=No\n"
         "Index file=idx.hhk\n"
         "Full-text search=Yes\n"
         "Language=" + language + "\n"
         "Title=" + title + "\n"
         "[FILES]\n" + files;
}

std::string contentsFile(const std::string& body) {
  return "<HTML><HEAD><meta name=\"GENERATOR\" content=\"TarnelTHC help compiler\"></HEAD>\n"
         "<BODY><OBJECT type=\"text/site properties\">\n"
         "<param name=\"Window Styles\" value=\"0x800025\">\n"
         "</OBJECT>\n"
         "<UL>\n" + body + "</UL></BODY></HTML>\n";
}

std::string contentsEntry(const std::string& name, const std::string& local) {
  return "<LI> <OBJECT type=\"text/sitemap\">\n<param name=\"name\" value=\"" + name +
         "\">\n<param name=\"Local\" value=\"" + local + "\">\n</OBJECT> </LI>\n";
}

// The start of every contents: the start page, the project history when
// there is one, then the libraries heading with its list opened.
std::string contentsStart(const std::string& historyPage) {
  return contentsEntry("Index", "index.html") +
         (historyPage.empty() ? "" : contentsEntry("History", historyPage)) +
         contentsEntry("Libraries", "index.html#libraries") + "<UL>\n";
}

std::string indexFile(const std::string& body) {
  return "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\n<HTML>\n<HEAD>\n"
         "<meta name=\"GENERATOR\" content=\"TarnelTHC help compiler\">\n"
         "<!-- Sitemap 1.0 -->\n</HEAD><BODY>\n<UL>\n" + body + "</UL>\n</BODY></HTML>\n";
}

// A keyword of an item filed under its own name.
std::string indexKeyword(const std::string& name, const std::string& local) {
  return "<LI> <OBJECT type=\"text/sitemap\">\n<param name=\"Name\" value=\"" + name +
         "\">\n<param name=\"Name\" value=\"" + name + "\">\n<param name=\"Local\" value=\"" +
         local + "\">\n</OBJECT> </LI>\n";
}

// The help project files are written wholly in the code page of the help
// language, and a page's name keeps what that code page holds: the same
// name on disk (UTF-8 here), in every link and in the three files.
TEST(Pipeline, TypicalRunsWriteTheirPagesAndTheHelpProjectFiles) {
  struct Case {
    const char* what;
    std::string project;
    std::vector<std::string> files;  // in the output folder, the help file last
    std::string hhp;
    std::string toc;
    std::string idx;
    std::vector<std::pair<std::string, std::string>> pageTexts;  // file, a text it holds
  };
  const std::string open = "<UL>\n";
  const std::string close = "</UL>\n";
  const std::string gfx = contentsEntry("Gfx", "Gfx_index.html") + open +
                          contentsEntry("Commands", "Gfx_index.html#commands") + open +
                          contentsEntry("Plot", "Gfx_f_Plot.html") + close + close;
  const std::string grosseDe = "L_s_Gr\xF6\xDF" "e.html";  // Windows-1252
  const std::string historyDe = "Befehle f\xFCr K\xE4se_history.html";
  const std::string historyRu = "\xD1\xEF\xF0\xE0\xE2\xEA\xE0 f_r_history.html";  // Windows-1251
  const Case cases[] = {
      {"one library with one command",
       "<doc title=\"Gfx Help\"><library name=\"Gfx\"><command name=\"Plot\"/></library></doc>",
       {"Gfx_f_Plot.html", "Gfx_index.html", "document.hhp", "idx.hhk", "index.html", "toc.hhc",
        "Gfx Help.chm"},
       helpProject("Gfx Help", "", "Gfx Help", "Gfx_f_Plot.html\nGfx_index.html\nindex.html\n"),
       contentsFile(contentsStart("") + gfx + close),
       // The slots of the 512-slot hash put Gfx (89) before Plot (481).
       indexFile(indexKeyword("Gfx", "Gfx_index.html") + indexKeyword("Plot", "Gfx_f_Plot.html")),
       {{"Gfx_index.html", "<a href='Gfx_f_Plot.html'>Plot()</a>"}}},
      {"German: Windows-1252 holds every letter",
       "<doc title=\"Befehle für Käse\" lang=\"de\"><history>h</history>"
       "<library name=\"L\"><structure name=\"Größe\"/></library></doc>",
       {"Befehle für Käse_history.html", "L_index.html", "L_s_Größe.html", "document.hhp",
        "idx.hhk", "index.html", "toc.hhc", "Befehle für Käse.chm"},
       helpProject("Befehle f\xFCr K\xE4se", "0x407", "Befehle f\xFCr K\xE4se",
                   grosseDe + "\nL_index.html\n" + historyDe + "\nindex.html\n"),
       contentsFile(contentsStart(historyDe) + contentsEntry("L", "L_index.html") + open +
                    contentsEntry("Structures", "L_index.html#structures") + open +
                    contentsEntry("Gr\xF6\xDF" "e", grosseDe) + close + close + close),
       // L (slot 76) before Größe (401).
       indexFile(indexKeyword("L", "L_index.html") + indexKeyword("Gr\xF6\xDF" "e", grosseDe)),
       {{"L_index.html", "<a href='L_s_Größe.html'>Größe</a>"}}},
      {"Russian: what Windows-1251 lacks is _ in a name, ? in the title, a reference when shown",
       // Größe and Grüße both become Gr__e: one page, written twice like two
       // structures of one name, the later one kept.
       "<doc title=\"Справка für\" lang=\"0x419\"><history>h</history><library name=\"L\">"
       "<description>@refstruct(Grüße)</description>"
       "<structure name=\"Größe\"/><structure name=\"Grüße\"/></library></doc>",
       {"L_index.html", "L_s_Gr__e.html", "document.hhp", "idx.hhk", "index.html", "toc.hhc",
        "Справка f_r_history.html", "Справка f_r.chm"},
       helpProject("\xD1\xEF\xF0\xE0\xE2\xEA\xE0 f_r", "0X419",
                   "\xD1\xEF\xF0\xE0\xE2\xEA\xE0 f?r",
                   "L_s_Gr__e.html\nL_s_Gr__e.html\nL_index.html\n" + historyRu + "\nindex.html\n"),
       contentsFile(contentsStart(historyRu) + contentsEntry("L", "L_index.html") + open +
                    contentsEntry("Structures", "L_index.html#structures") + open +
                    contentsEntry("Gr&#246;&#223;e", "L_s_Gr__e.html") +
                    contentsEntry("Gr&#252;&#223;e", "L_s_Gr__e.html") + close + close + close),
       // L (slot 76), Grüße (151), Größe (401).
       indexFile(indexKeyword("L", "L_index.html") +
                 indexKeyword("Gr&#252;&#223;e", "L_s_Gr__e.html") +
                 indexKeyword("Gr&#246;&#223;e", "L_s_Gr__e.html")),
       {{"L_s_Gr__e.html", "<h2>L: Grüße</h2>"},
        {"L_index.html", "<a href='L_s_Gr__e.html' class='syntax'>L: Grüße</a>"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    writeFile(folder.path + "/p.xml", c.project);
    // The link check and the help compiler read the three files in the code
    // page: every link they hold names a page written.
    ProgramRun run = runProgram({"x", folder.path + "/p.xml", "--check-links", "--chm"});
    const std::string output = folder.path + "/html";
    const std::string helpFile = output + "/" + c.files.back();

    EXPECT_EQ(run.exitCode, 0);
    const std::vector<std::string> parsed =
        concat(bannerLines("x"), {"success", "File ok", "Parsing file ...", "done"});
    EXPECT_EQ(run.lines,
              concat(concat(parsed, stagesAfterParsing(output)),
                     concat({"Checking links ...", "done", "Compiling help file ...",
                             "Help file " + helpFile},
                            endLines)));
    std::vector<std::string> files = listDirectory(output);
    std::sort(files.begin(), files.end());
    std::vector<std::string> expected = c.files;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(files, expected);
    EXPECT_EQ(readFile(output + "/document.hhp"), c.hhp);
    EXPECT_EQ(readFile(output + "/toc.hhc"), c.toc);
    EXPECT_EQ(readFile(output + "/idx.hhk"), c.idx);
    for (const auto& [file, text] : c.pageTexts) {
      EXPECT_NE(readFile(output + "/" + file).find(text), std::string::npos) << file << ": " << text;
    }
  }
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
