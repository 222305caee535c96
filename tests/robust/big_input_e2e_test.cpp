// Very deep, very wide and very long inputs through the real program: each
// completes, or reports the files it could not write, within seconds.
#include "robust/robust_support.h"

namespace thc::robust {
namespace {

using testing::listDirectory;
using testing::readFile;

std::string repeat(const std::string& piece, size_t times) {
  std::string result;
  result.reserve(piece.size() * times);
  for (size_t i = 0; i < times; ++i) result += piece;
  return result;
}

const std::vector<std::string> kTypicalFiles = {"L_f_C.html", "L_index.html", "document.hhp",
                                                "idx.hhk",    "index.html",   "toc.hhc"};

TEST_F(RobustTest, DeepAndWideDocumentsComplete) {
  struct Case {
    const char* what;
    std::string inside;  // between the library's command and its end tag
    std::vector<std::string> warnings;
  };
  const Case cases[] = {
      {"100,000 nested unknown elements", repeat("<a>", 100000) + repeat("</a>", 100000), {}},
      {"1,000,000 sibling elements", repeat("<x/>", 1000000), {}},
      {"100,000 nested elements inside a description",
       "<description>" + repeat("<b>", 100000) + repeat("</b>", 100000) + "</description>",
       {"Warning in node: /doc/library/description", "Only CData Nodes are allowed."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    ProgramRun run = compile(projectFile(
        "p.xml", "<doc title='t'><library name='L'><command name='C'/>" + c.inside + "</library></doc>"));
    std::vector<std::string> expected = stageLines(output_);
    expected.insert(expected.begin() + 3, c.warnings.begin(), c.warnings.end());
    EXPECT_EQ(afterBanner(run), join(expected, kEnd));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(listDirectory(output_), kTypicalFiles);
    expectListedPagesComplete(output_);
    EXPECT_LT(run.seconds, 60);
  }
}

TEST_F(RobustTest, FiftyMegabyteDescriptionReachesItsPageWhole) {
  const std::string line = "0123456789 abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ @@ &amp;\n";
  const std::string text = repeat(line, 50 * 1024 * 1024 / line.size());
  ProgramRun run = compile(projectFile(
      "p.xml", "<doc title='t'><library name='L'><command name='C'><description>" + text +
                   "</description></command></library></doc>"));
  EXPECT_EQ(afterBanner(run), join(stageLines(output_), kEnd));
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(listDirectory(output_), kTypicalFiles);
  expectListedPagesComplete(output_);
  // The text as the markup gives it: trimmed, "@@" written as "@", and the
  // file's "&amp;" read as "&" and written as "&amp;" again.
  std::string expected = line.substr(0, line.size() - 1);
  expected.replace(expected.find("@@"), 2, "@");
  const std::string page = readFile(output_ + "/L_f_C.html");
  EXPECT_GT(page.size(), text.size() - text.size() / 70);
  size_t count = 0;
  for (size_t at = page.find(expected); at != std::string::npos; at = page.find(expected, at + 1)) ++count;
  EXPECT_EQ(count, text.size() / line.size());
  EXPECT_LT(run.seconds, 60);
}

TEST_F(RobustTest, MegabyteAttributes) {
  const std::string huge(1 << 20, 'T');
  // A megabyte title goes into every page and the help project as it is.
  {
    ProgramRun run = compile(projectFile(
        "p.xml", "<doc title='" + huge + "'><library name='L'><command name='C'/></library></doc>"));
    EXPECT_EQ(afterBanner(run), join(stageLines(output_), kEnd));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(listDirectory(output_), kTypicalFiles);
    expectListedPagesComplete(output_);
    EXPECT_NE(readFile(output_ + "/document.hhp").find("\nTitle=" + huge + "\n"), std::string::npos);
  }
  // A megabyte library name makes file names no file system takes: each of
  // its pages is reported, and the other library's pages are written.
  TearDown();
  SetUp();
  const std::string name(1 << 20, 'L');
  ProgramRun run = compile(projectFile(
      "p.xml", "<doc title='t'><library name='" + name + "'><command name='C'/></library>"
               "<library name='M'><command name='C'/></library></doc>"));
  EXPECT_EQ(afterBanner(run),
            join(stageLines(output_, {"Unable to create " + output_ + "/" + name + "_f_C.html",
                                      "Unable to create " + output_ + "/" + name + "_index.html"}),
                 kEnd));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(listDirectory(output_), (std::vector<std::string>{"M_f_C.html", "M_index.html", "document.hhp",
                                                              "idx.hhk", "index.html", "toc.hhc"}));
  EXPECT_EQ(listedPages(readFile(output_ + "/document.hhp")),
            (std::vector<std::string>{"M_f_C.html", "M_index.html", "index.html"}));
  expectListedPagesComplete(output_);
}

}  // namespace
}  // namespace thc::robust
