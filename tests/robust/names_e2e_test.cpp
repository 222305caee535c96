// Item names that would make unsafe file names: nothing is ever written
// outside the output folder, and a name no file system takes is reported.
#include "robust/robust_support.h"

namespace thc::robust {
namespace {

using testing::readFile;

std::vector<std::string> splitLines(const std::vector<std::string>& lines) {
  std::vector<std::string> result;
  for (const std::string& line : lines) {
    size_t start = 0;
    for (size_t end = line.find('\n'); end != std::string::npos; end = line.find('\n', start)) {
      result.push_back(line.substr(start, end - start));
      start = end + 1;
    }
    result.push_back(line.substr(start));
  }
  return result;
}

struct NameCase {
  const char* what;
  std::string items;                     // inside library L, beside command C
  std::vector<std::string> refused;      // file names reported, in order
  std::vector<std::string> written;      // the pages besides L_f_C.html, L_index.html, index.html
};

class UnsafeNames : public RobustTest {
 protected:
  void check(const NameCase& c, const std::string& extraDocument = "") {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    ProgramRun run = compile(projectFile(
        "p.xml", "<doc title='t'>" + extraDocument + "<library name='L'><command name='C'/>" +
                     c.items + "</library></doc>"));
    std::vector<std::string> reported;
    for (const std::string& file : c.refused) reported.push_back("Unable to create " + output_ + "/" + file);
    // A line feed in a name breaks the console line like any other.
    EXPECT_EQ(afterBanner(run), splitLines(join(stageLines(output_, reported), kEnd)));
    EXPECT_EQ(run.exitCode, c.refused.empty() ? 0 : 1);

    // Only the project file and the output folder's own files exist.
    std::set<std::string> expected = {"project/p.xml", "project/html/document.hhp",
                                      "project/html/idx.hhk", "project/html/toc.hhc"};
    std::vector<std::string> pages = join({"L_f_C.html", "L_index.html", "index.html"}, c.written);
    for (const std::string& page : pages) expected.insert("project/html/" + page);
    EXPECT_EQ(filesBelow(root_), expected);
    std::vector<std::string> listed = listedPages(readFile(output_ + "/document.hhp"));
    EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()),
              std::set<std::string>(pages.begin(), pages.end()));
    expectListedPagesComplete(output_);
  }
};

TEST_F(UnsafeNames, StructureNamesAreRefusedOrKeptInside) {
  const std::string longName(300, 'n');
  const NameCase cases[] = {
      {"slashes leading up", "<structure name='../../escaped'/>", {"L_s_../../escaped.html"}, {}},
      {"backslashes leading up", "<structure name='..\\..\\escaped'/>", {"L_s_..\\..\\escaped.html"}, {}},
      {"an absolute path", "<structure name='/tmp/escaped'/>", {"L_s_/tmp/escaped.html"}, {}},
      {"dots alone stay inside", "<structure name='..'/>", {}, {"L_s_...html"}},
      {"a line feed", "<structure name='a&#10;b'/>", {"L_s_a\nb.html"}, {}},
      {"a tab and a carriage return", "<structure name='a&#9;&#13;b'/>", {"L_s_a\t\rb.html"}, {}},
      {"a 300-character name is too long for a file", "<structure name='" + longName + "'/>",
       {"L_s_" + longName + ".html"}, {}},
  };
  for (const NameCase& c : cases) check(c);
}

TEST_F(UnsafeNames, ItemNamesAndTitlesOfEveryKind) {
  const std::string longName(300, 'm');
  const NameCase cases[] = {
      {"a 300-character command", "<command name='" + longName + "'/>", {"L_f_" + longName + ".html"}, {}},
      {"a 300-character class and its method",
       "<class name='" + longName + "'><command name='M'/></class>",
       {"L_c_" + longName + "_m_M.html", "L_c_" + longName + ".html"}, {}},
  };
  for (const NameCase& c : cases) check(c);
  // The history page is named after the project title.
  TearDown();
  SetUp();
  ProgramRun run = compile(projectFile(
      "p.xml", "<doc title='../escaped'><history>h</history><library name='L'><command name='C'/></library></doc>"));
  EXPECT_EQ(afterBanner(run),
            join(stageLines(output_, {"Unable to create " + output_ + "/../escaped_history.html"}), kEnd));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_FALSE(testing::fileExists(project_ + "/escaped_history.html"));
  EXPECT_EQ(listedPages(readFile(output_ + "/document.hhp")),
            (std::vector<std::string>{"L_f_C.html", "L_index.html", "index.html"}));
}

}  // namespace
}  // namespace thc::robust
