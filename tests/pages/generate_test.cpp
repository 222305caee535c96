#include "pages/generate.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "pages/page_models.h"
#include "support/run_program.h"
#include "support/u16.h"

namespace thc {
namespace {

using testing::listDirectory;
using testing::named;
using testing::readFile;
using testing::u16;
using testing::u8;

using Names = std::vector<std::string>;

Names utf8Names(const std::vector<std::u16string>& names) {
  Names result;
  for (const std::u16string& name : names) result.push_back(u8(name));
  return result;
}

// One run's output written into the folder `dir`.
// A model and the pages its generation wrote.
struct Generated : ProjectModel {
  std::vector<std::u16string> generatedFiles;
};

bool generateInto(Generated& model, Console& console, std::u16string_view dir) {
  OutputFolder folder(dir);
  GeneratedOutput output = generateOutput(model, planOutput(model.project, model.catalog), console, folder);
  model.generatedFiles = std::move(output.pages);
  return output.complete;
}

struct Output {
  std::string path = testing::makeTempDirectory();
  std::u16string dir() const { return u16(path + "/"); }
  std::string page(const std::string& file) const { return readFile(path + "/" + file); }
  std::string title(const std::string& file) const { return between(page(file), "<title>", "</title>"); }
  // The navigation bar of a page: it always ends the body.
  std::string navigation(const std::string& file) const {
    return between(page(file), "<p class='nextindexprev'>", "</body>");
  }
  static std::string between(const std::string& text, const std::string& from,
                             const std::string& to) {
    const size_t start = text.find(from);
    const size_t end = text.find(to, start);
    if (start == std::string::npos || end == std::string::npos) return "<missing>";
    return text.substr(start + from.size(), end - start - from.size());
  }
};

// A library L with class C (methods m1, m2), command f, structure S, one
// macro, one constant and a history text.
Library fullLibrary() {
  Library lib = named<Library>(u"L");
  lib.classes.push_back(named<Class>(u"C"));
  lib.classes.back().methods = {named<Command>(u"m1"), named<Command>(u"m2")};
  lib.commands.push_back(named<Command>(u"f"));
  lib.structures.push_back(named<Structure>(u"S"));
  lib.macros.push_back(named<Macro>(u"M"));
  lib.constants.push_back(named<Constant>(u"K"));
  lib.history = u"<b>1.0</b>";
  return lib;
}

TEST(GenerateOutput, WritesTheLibraryPagesInWalkOrder) {
  Output out;
  Generated model;
  model.project.libraries.push_back(fullLibrary());
  MemoryConsole console;
  EXPECT_TRUE(generateInto(model, console, out.dir()));
  EXPECT_TRUE(console.lines.empty());
  const Names pages = {"L_c_C_m_m1.html", "L_c_C_m_m2.html", "L_c_C.html",
                       "L_f_f.html",      "L_s_S.html",      "L_macro.html",
                       "L_constant.html", "L_history.html",  "L_index.html",
                       "index.html"};
  EXPECT_EQ(utf8Names(model.generatedFiles), pages);
  Names files = pages;
  files.insert(files.end(), {"document.hhp", "idx.hhk", "toc.hhc"});
  std::sort(files.begin(), files.end());
  EXPECT_EQ(listDirectory(out.path), files);

  const std::pair<const char*, const char*> titles[] = {
      {"L_c_C_m_m1.html", "L: C\\m1()"}, {"L_c_C.html", "L: C"},
      {"L_f_f.html", "L: f()"},          {"L_s_S.html", "L: S"},
      {"L_macro.html", "L - Macros"},    {"L_constant.html", "L - Constants"},
      {"L_history.html", "L - History"}, {"L_index.html", "L"},
      {"index.html", "Index"},
  };
  for (const auto& [file, title] : titles) EXPECT_EQ(out.title(file), title) << file;
  EXPECT_EQ(Output::between(out.page("L_history.html"), "<body>", "</body>"),
            "<h2>History</h2><div class='marleft'><b>1.0</b></div>");
}

TEST(GenerateOutput, ProjectWithoutLibraries) {
  struct Case {
    const char* history;
    Names pages;
  };
  const Case cases[] = {
      {"", {"index.html"}},
      {"<i>old</i>", {"Docs_history.html", "index.html"}},
  };
  for (const Case& c : cases) {
    Output out;
    Generated model;
    model.project.title = u"Docs";
    model.project.history = u16(c.history);
    model.catalog = {{u"index", u"Start"}, {u"history", u"Verlauf"}};
    MemoryConsole console;
    EXPECT_TRUE(generateInto(model, console, out.dir()));
    EXPECT_EQ(utf8Names(model.generatedFiles), c.pages);
    Names files = c.pages;
    files.insert(files.end(), {"document.hhp", "idx.hhk", "toc.hhc"});
    std::sort(files.begin(), files.end());
    EXPECT_EQ(listDirectory(out.path), files);
    EXPECT_EQ(out.title("index.html"), "Start");
    if (*c.history) {
      EXPECT_EQ(out.title("Docs_history.html"), "Docs - Verlauf");
    }
  }
}

TEST(GenerateOutput, NeighboursStayWithinOneList) {
  Generated model;
  Library a = named<Library>(u"A");
  a.classes = {named<Class>(u"K1"), named<Class>(u"K2")};
  a.classes[0].methods = {named<Command>(u"x"), named<Command>(u"y")};
  a.classes[1].methods = {named<Command>(u"z")};
  a.commands = {named<Command>(u"a1"), named<Command>(u"a2"), named<Command>(u"a3")};
  a.structures = {named<Structure>(u"S1")};
  Library b = named<Library>(u"B");
  b.commands = {named<Command>(u"b1")};
  b.structures = {named<Structure>(u"T1"), named<Structure>(u"T2")};
  model.project.libraries.push_back(std::move(a));
  model.project.libraries.push_back(std::move(b));
  Output out;
  MemoryConsole console;
  ASSERT_TRUE(generateInto(model, console, out.dir()));

  const std::string left = "&lt;-&nbsp;&nbsp;&nbsp;", right = "&nbsp;&nbsp;&nbsp;-&gt;</p>";
  auto link = [](const std::string& file, const std::string& text) {
    return "<a href='" + file + "' class='syntax'>" + text + "</a>";
  };
  const std::string gap = "&nbsp;&nbsp;&nbsp;";
  const std::pair<const char*, std::string> bars[] = {
      {"A_c_K1_m_x.html", link("A_c_K1.html", "A: K1") + gap +
                              link("A_c_K1_m_y.html", "A: K1\\y()") + right},
      {"A_c_K1_m_y.html", left + link("A_c_K1_m_x.html", "A: K1\\x()") + gap +
                              link("A_c_K1.html", "A: K1") + "</p>"},
      {"A_c_K2_m_z.html", link("A_c_K2.html", "A: K2") + "</p>"},
      {"A_c_K1.html", link("A_index.html", "A") + gap + link("A_c_K2.html", "A: K2") + right},
      {"A_c_K2.html", left + link("A_c_K1.html", "A: K1") + gap + link("A_index.html", "A") +
                          "</p>"},
      {"A_f_a1.html", link("A_index.html", "A") + gap + link("A_f_a2.html", "A: a2()") + right},
      {"A_f_a2.html", left + link("A_f_a1.html", "A: a1()") + gap + link("A_index.html", "A") +
                          gap + link("A_f_a3.html", "A: a3()") + right},
      {"A_f_a3.html", left + link("A_f_a2.html", "A: a2()") + gap + link("A_index.html", "A") +
                          "</p>"},
      {"A_s_S1.html", link("A_index.html", "A") + "</p>"},
      {"B_f_b1.html", link("B_index.html", "B") + "</p>"},
      {"B_s_T1.html", link("B_index.html", "B") + gap + link("B_s_T2.html", "B: T2") + right},
      {"A_index.html", link("index.html", "Index") + gap + link("B_index.html", "B") + right},
      {"B_index.html", left + link("A_index.html", "A") + gap + link("index.html", "Index") +
                           "</p>"},
  };
  for (const auto& [file, bar] : bars) EXPECT_EQ(out.navigation(file), bar) << file;
}

TEST(GenerateOutput, PlanAppendsIndexEntriesForKeywordsInPageOrder) {
  Generated model;
  Library lib = fullLibrary();
  lib.classes[0].methods[1].keywords = u";mk";
  lib.classes[0].keywords = u";ck";
  lib.commands[0].keywords = u";fk;fk2";
  lib.structures[0].keywords = u";sk";
  lib.macros.push_back(named<Macro>(u"N"));  // no keywords: no entry
  lib.macros[0].keywords = u";xk";
  lib.constants[0].keywords = u";kk";
  lib.keywords = u";lk";
  model.project.libraries.push_back(std::move(lib));
  // A library with keywords and no items points at its own page.
  model.project.libraries.push_back(named<Library>(u"Bare"));
  model.project.libraries.back().keywords = u";bare";

  // The keyword entries follow those under the items' names.
  const std::vector<IndexEntry> all = planOutput(model.project, model.catalog).indexEntries;
  const std::vector<Names> expected = {
      {"L: C\\m2()", "L_c_C_m_m2.html", ";mk", ""},
      {"L: C", "L_c_C.html", ";ck", ""},
      {"L: f()", "L_f_f.html", ";fk;fk2", ""},
      {"L: S", "L_s_S.html", ";sk", ""},
      {"L - Macros", "L_macro.html", ";xk", "M"},
      {"L - Constants", "L_constant.html", ";kk", "K"},
      {"L", "L_index.html", ";lk", ""},
      {"Bare", "Bare_index.html", ";bare", ""},
  };
  ASSERT_GE(all.size(), expected.size());
  std::vector<Names> entries;
  for (size_t i = all.size() - expected.size(); i < all.size(); ++i) {
    const IndexEntry& e = all[i];
    entries.push_back({u8(e.title), u8(e.page), u8(e.keywords), u8(e.anchor)});
  }
  EXPECT_EQ(entries, expected);
}

TEST(GenerateOutput, FailingPagesAreReportedAndTheWalkGoesOn) {
  Output out;
  Generated model;
  Library lib = named<Library>(u"L");
  lib.structures = {named<Structure>(u"../evil"), named<Structure>(u"ok")};
  model.project.libraries.push_back(std::move(lib));
  MemoryConsole console;
  EXPECT_FALSE(generateInto(model, console, out.dir()));
  EXPECT_EQ(console.utf8Lines(), Names{"Unable to create " + out.path + "/L_s_../evil.html"});
  EXPECT_EQ(utf8Names(model.generatedFiles), (Names{"L_s_ok.html", "L_index.html", "index.html"}));
  // The refused page has its place in the navigation all the same.
  EXPECT_NE(out.page("L_s_ok.html").find("<a href='L_s_../evil.html'"), std::string::npos);
}

TEST(GenerateOutput, MissingFolderFailsEveryFile) {
  Output out;
  const std::string missing = out.path + "/missing/";
  Generated model;
  model.project.libraries.push_back(named<Library>(u"L"));
  model.project.libraries.back().commands = {named<Command>(u"f")};
  MemoryConsole console;
  EXPECT_FALSE(generateInto(model, console, u16(missing)));
  const Names lines = console.utf8Lines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(Names(lines.begin(), lines.begin() + 3),
            (Names{"Unable to create " + missing + "L_f_f.html",
                   "Unable to create " + missing + "L_index.html",
                   "Unable to create " + missing + "index.html"}));
  EXPECT_TRUE(model.generatedFiles.empty());
  EXPECT_TRUE(listDirectory(out.path).empty());
}

}  // namespace
}  // namespace thc
