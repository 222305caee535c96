// Output that cannot be written: a folder that cannot be created or written,
// a page that cannot be replaced, a disk that fills up. Each file that fails
// is named, the others are written completely, and the help project lists
// only the pages that were.
#include <sys/stat.h>

#include <algorithm>
#include <random>

#include "robust/robust_support.h"

namespace thc::robust {
namespace {

using testing::listDirectory;
using testing::readFile;

const std::string kTypical = "<doc title='t'><library name='L'><command name='C'/></library></doc>";
const std::vector<std::string> kTypicalFiles = {"L_f_C.html", "L_index.html", "document.hhp",
                                                "idx.hhk",    "index.html",   "toc.hhc"};

std::vector<std::string> unableToCreate(const std::string& output, const std::vector<std::string>& files) {
  std::vector<std::string> lines;
  for (const std::string& file : files) lines.push_back("Unable to create " + output + "/" + file);
  return lines;
}

TEST_F(RobustTest, OutputFolderThatCannotBeUsedFailsEveryFile) {
  struct Case {
    const char* what;
    std::string output;
    bool needsPermissions;  // write permission means nothing to root
  };
  const Case cases[] = {
      {"its parent is missing", root_ + "/missing/html", false},
      {"it is a file", projectFile("taken", "not a folder"), false},
      {"it is not writable", project_ + "/locked", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.needsPermissions) {
      if (isRoot()) continue;  // the two cases above cover root
      std::filesystem::create_directory(c.output);
      ::chmod(c.output.c_str(), 0555);
    }
    ProgramRun run = compile(projectFile("p.xml", kTypical), c.output);
    EXPECT_EQ(afterBanner(run),
              join(stageLines(c.output, unableToCreate(c.output, {"L_f_C.html", "L_index.html", "index.html",
                                                                  "toc.hhc", "idx.hhk", "document.hhp"})),
                   kEnd));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(filesBelow(root_), (std::set<std::string>{"project/p.xml", "project/taken"}));
  }
}

// A folder in the way cannot be replaced by a file (other things of the
// page's name are, see output_folder_e2e_test).
TEST_F(RobustTest, PageThatCannotBeReplacedIsReportedAndNotListed) {
  std::filesystem::create_directories(output_ + "/L_f_C.html");
  ProgramRun run = compile(projectFile("p.xml", kTypical));
  EXPECT_EQ(afterBanner(run), join(stageLines(output_, unableToCreate(output_, {"L_f_C.html"})), kEnd));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(listDirectory(output_), kTypicalFiles);
  EXPECT_EQ(listedPages(readFile(output_ + "/document.hhp")),
            (std::vector<std::string>{"L_index.html", "index.html"}));
  expectListedPagesComplete(output_);
}

// RLIMIT_FSIZE stands in for a full disk: a write past it fails like one.
TEST_F(RobustTest, DiskFillingUpIsReportedAndNothingCutShortIsListed) {
  const unsigned long long limit = 64 * 1024;
  struct Case {
    const char* what;
    std::string project;
    std::vector<std::string> failed;  // "Unable to write " lines, by file
    std::vector<std::string> listed;  // empty when document.hhp itself failed
  };
  const std::string longText(100 * 1024, 'x');
  const Case cases[] = {
      {"a page too big for the disk",
       "<doc title='t'><library name='L'><command name='C'><description>" + longText +
           "</description></command></library></doc>",
       {"L_f_C.html"},
       {"L_index.html", "index.html"}},
      // The title stands twice in the help project: it alone does not fit.
      {"the help project too big for the disk",
       "<doc title='" + std::string(40 * 1024, 'T') + "'><library name='L'><command name='C'/></library></doc>",
       {"document.hhp"},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    ProgramRun run = compile(projectFile("p.xml", c.project), "", {.fileSizeLimit = limit, .timeoutSeconds = 0});
    std::vector<std::string> reported;
    for (const std::string& file : c.failed) reported.push_back("Unable to write " + output_ + "/" + file);
    EXPECT_EQ(afterBanner(run), join(stageLines(output_, reported), kEnd));
    EXPECT_EQ(run.exitCode, 1);
    // A new file that could not be written whole is not left behind.
    std::vector<std::string> left;
    for (const std::string& file : kTypicalFiles) {
      if (std::find(c.failed.begin(), c.failed.end(), file) == c.failed.end()) left.push_back(file);
    }
    EXPECT_EQ(listDirectory(output_), left);
    if (c.listed.empty()) continue;
    EXPECT_EQ(listedPages(readFile(output_ + "/document.hhp")), c.listed);
    expectListedPagesComplete(output_);
  }
}

// Text that does not compress: the help file outgrows the disk while every
// page fits.
std::string randomWords(unsigned seed, size_t count) {
  std::mt19937 random(seed);
  std::string text;
  for (size_t i = 0; i < count; ++i) {
    for (int letter = 0; letter < 7; ++letter) text.push_back(static_cast<char>('a' + random() % 26));
    text.push_back(' ');
  }
  return text;
}

TEST_F(RobustTest, HelpFileThatDoesNotFitTheDiskFailsAndKeepsTheEarlierOne) {
  std::string project = "<doc title='t'><library name='L'>";
  for (unsigned i = 0; i < 24; ++i) {
    project += "<command name='C" + std::to_string(i) + "'><description>" + randomWords(i, 700) +
               "</description></command>";
  }
  project += "</library></doc>";
  const std::string file = projectFile("p.xml", project);
  std::filesystem::create_directories(output_);
  testing::writeFile(output_ + "/t.chm", "an earlier help file");
  const ProgramRun run = testing::runProgram({"--chm", "--no-wait", "x", file}, "", "",
                                             {"TARNELTHC_OUTPUT=" + output_},
                                             {.fileSizeLimit = 64 * 1024, .timeoutSeconds = 120});
  ASSERT_GE(run.lines.size(), 2u) << run.output;
  EXPECT_EQ(run.lines[run.lines.size() - 2], "Unable to compile help file") << run.output;
  EXPECT_TRUE(run.lines.back().starts_with(output_)) << "the line after names no file: " << run.output;
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(readFile(output_ + "/t.chm"), "an earlier help file");
  const std::vector<std::string> files = listDirectory(output_);
  EXPECT_EQ(std::count_if(files.begin(), files.end(), [](const std::string& f) { return f.ends_with(".chm"); }), 1);
}

TEST_F(RobustTest, ImageThatDoesNotFitTheDiskFails) {
  std::filesystem::create_directory(project_ + "/img");
  testing::writeFile(project_ + "/img/small.png", "SMALL");
  testing::writeFile(project_ + "/img/big.png", std::string(100 * 1024, 'B'));
  ProgramRun run = compile(projectFile("p.xml", "<doc title='t'><description>@image(img/small.png) "
                                                "@image(img/big.png)</description></doc>"),
                           "", {.fileSizeLimit = 64 * 1024, .timeoutSeconds = 0});
  std::vector<std::string> expected = join(stageLines(output_), {"Copying Image Files to " + output_ + "/"});
  expected = join(expected, {"Unable to copy " + project_ + "/img/big.png to " + output_ + "/2.png", "Failed"});
  EXPECT_EQ(afterBanner(run), join(expected, kEnd));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(readFile(output_ + "/1.png"), "SMALL");
}

}  // namespace
}  // namespace thc::robust
