// Imports and images that point at the wrong things: cycles under other
// spellings, very long chains, folders, devices and pipes. Each is named on
// the console and the run ends.
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "robust/robust_support.h"

namespace thc::robust {
namespace {

using testing::readFile;
using testing::writeFile;

std::vector<std::string> importLines(const std::string& path) {
  return {"Importing external file " + path, "success", "File ok", "Parsing file ..."};
}

// The stages after the driver's own "Parsing file ...", with `reading` in
// between "File ok"/"Parsing file ..." and its "done".
std::vector<std::string> runLines(const std::string& output, const std::vector<std::string>& reading,
                                  const std::vector<std::string>& afterPages = {}) {
  std::vector<std::string> lines = stageLines(output);
  lines.insert(lines.begin() + 3, reading.begin(), reading.end());
  return join(join(lines, afterPages), kEnd);
}

// project/l1/l2/l3: a folder whose full path is longer than the system can
// resolve, reached under a short name through a chain of symbolic links.
std::string folderBeyondThePathLimit(const std::string& project) {
  constexpr int kLevels = 10;
  static_assert(3 * kLevels * 201 > PATH_MAX);
  std::string levels;
  for (int i = 0; i < kLevels; ++i) levels += std::string(200, 'd') + "/";
  std::string at = project;
  for (const char* link : {"l1", "l2", "l3"}) {
    std::filesystem::create_directories(at + "/" + levels);
    EXPECT_EQ(::symlink(levels.c_str(), (at + "/" + link).c_str()), 0);
    at += std::string("/") + link;
  }
  return "l1/l2/l3/";
}

TEST_F(RobustTest, ImportCyclesEndUnderEverySpelling) {
  std::filesystem::create_directory(project_ + "/sub");
  ASSERT_EQ(::symlink((project_ + "/a.xml").c_str(), (project_ + "/alias.xml").c_str()), 0);
  struct Case {
    const char* what;
    std::string back;  // the file attribute that leads back to a.xml or p.xml
    std::string folder = "";  // of the project files, below project/
  };
  const Case cases[] = {
      {"the same name", "a.xml"},
      {"with ./", "./a.xml"},
      {"through a folder and back", "sub/../a.xml"},
      {"a doubled separator", "sub/..//a.xml"},
      {"through a symbolic link", "alias.xml"},
      {"back to the main project file", "p.xml"},
      {"in a folder whose full path is too long to resolve", "a.xml", folderBeyondThePathLimit(project_)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string folder = project_ + "/" + c.folder;
    projectFile(c.folder + "lib.xml", "<library name='L'><command name='C'/></library>");
    projectFile(c.folder + "a.xml", "<import file='b.xml'/>");
    projectFile(c.folder + "b.xml", "<import file='" + c.back + "'/>");
    ProgramRun run = compile(projectFile(c.folder + "p.xml", "<doc title='t'><import file='a.xml'/>"
                                                             "<import file='lib.xml'/></doc>"),
                             "", {.fileSizeLimit = 0, .timeoutSeconds = 30});
    std::vector<std::string> reading = join(importLines(folder + "a.xml"), importLines(folder + "b.xml"));
    reading = join(reading, {"Importing external file " + folder + c.back, "Import cycle, file skipped",
                             "done", "done"});
    reading = join(reading, importLines(folder + "lib.xml"));
    reading.push_back("done");
    EXPECT_EQ(afterBanner(run), runLines(output_, reading));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(testing::fileExists(output_ + "/L_f_C.html"));
  }
}

TEST_F(RobustTest, ThousandNestedImportsAreReadDepthFirst) {
  const int depth = 1000;
  for (int i = 1; i < depth; ++i) {
    writeFile(project_ + "/f" + std::to_string(i) + ".xml", "<import file='f" + std::to_string(i + 1) + ".xml'/>");
  }
  writeFile(project_ + "/f" + std::to_string(depth) + ".xml", "<library name='Deep'><command name='C'/></library>");
  ProgramRun run = compile(projectFile("p.xml", "<doc title='t'><import file='f1.xml'/></doc>"));
  std::vector<std::string> reading;
  for (int i = 1; i <= depth; ++i) reading = join(reading, importLines(project_ + "/f" + std::to_string(i) + ".xml"));
  for (int i = 1; i <= depth; ++i) reading.push_back("done");
  EXPECT_EQ(afterBanner(run), runLines(output_, reading));
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(listedPages(readFile(output_ + "/document.hhp")),
            (std::vector<std::string>{"Deep_f_C.html", "Deep_index.html", "index.html"}));
  EXPECT_LT(run.seconds, 60);
}

TEST_F(RobustTest, ImportsOfThingsThatAreNoFilesFail) {
  std::filesystem::create_directory(project_ + "/folder");
  ASSERT_EQ(::mkfifo((project_ + "/pipe.xml").c_str(), 0644), 0);
  writeFile(project_ + "/empty.xml", "");
  // The file attribute is always appended to the project folder; enough
  // ".." reach the root.
  std::string up;
  for (int i = 0; i < 20; ++i) up += "../";
  const std::vector<std::string> files = {"folder", "pipe.xml", "empty.xml", "missing.xml",
                                          up + "dev/null", up + "dev/zero"};
  std::string imports;
  std::vector<std::string> reading;
  for (const std::string& file : files) {
    imports += "<import file='" + file + "'/>";
    reading = join(reading, {"Importing external file " + project_ + "/" + file, "failed"});
  }
  ProgramRun run = compile(projectFile("p.xml", "<doc title='t'>" + imports + "</doc>"),
                           "", {.fileSizeLimit = 0, .timeoutSeconds = 30});
  EXPECT_EQ(afterBanner(run), runLines(output_, reading));
  // The help lacks what those imports were meant to hold.
  EXPECT_EQ(run.exitCode, 1);
}

TEST_F(RobustTest, ImagesThatCannotBeCopiedFail) {
  std::filesystem::create_directory(project_ + "/img");
  ASSERT_EQ(::mkfifo((project_ + "/img/pipe.png").c_str(), 0644), 0);
  writeFile(project_ + "/img/logo.png", "LOGO");
  struct Case {
    const char* what;
    std::string source;
    std::string destination;  // in the output folder
    bool destinationIsAFolder;
  };
  const Case cases[] = {
      {"a missing image", "img/missing.png", "1.png", false},
      {"an image path that is a folder", "img", "1.", false},
      // Opening a pipe that nobody writes to must not wait forever.
      {"an image path that is a named pipe", "img/pipe.png", "1.png", false},
      {"a folder where the copy should go", "img/logo.png", "1.png", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::error_code ignored;
    std::filesystem::remove_all(output_, ignored);
    if (c.destinationIsAFolder) std::filesystem::create_directories(output_ + "/" + c.destination);
    ProgramRun run = compile(projectFile("p.xml", "<doc title='t'><description>@image(" + c.source +
                                                      ") @image(img/logo.png)</description></doc>"),
                             "", {.fileSizeLimit = 0, .timeoutSeconds = 30});
    EXPECT_EQ(afterBanner(run),
              runLines(output_, {},
                       {"Copying Image Files to " + output_ + "/",
                        "Unable to copy " + project_ + "/" + c.source + " to " + output_ + "/" + c.destination,
                        "Failed"}));
    EXPECT_EQ(run.exitCode, 1);
    // The copying stops at the first failure.
    EXPECT_FALSE(testing::fileExists(output_ + "/2.png"));
    expectListedPagesComplete(output_);
  }
}

}  // namespace
}  // namespace thc::robust
