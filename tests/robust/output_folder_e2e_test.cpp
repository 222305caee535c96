// The output folder under attack and bad luck: things planted under the
// names a run writes, a hostile title, a killed run, two runs at once and a
// console that is gone (a replacement that runs out of space is a row of
// tests/platform/outputdirectory_test). Nothing outside the folder may
// change, and nothing half-written may stand as complete.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include "robust/robust_support.h"

namespace thc::robust {
namespace {

using testing::BackgroundRun;
using testing::listDirectory;
using testing::readFile;
using testing::writeFile;

const std::vector<std::string> kPages = {"L_f_C.html", "L_index.html", "index.html"};

// A project of `count` commands; `text` goes into every description.
std::string commandsProject(int count, const std::string& text) {
  std::string xml = "<doc title='t'><library name='L'>";
  for (int i = 0; i < count; ++i) {
    xml += "<command name='C" + std::to_string(i) + "'><description>" + text + "</description></command>";
  }
  return xml + "</library></doc>";
}

bool isPlainFile(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 1;
}

// Every page in the folder is whole, listed or not.
void expectEveryPageWhole(const std::string& output) {
  for (const std::string& name : listDirectory(output)) {
    if (!endsWith(name, ".html")) continue;
    const std::string html = readFile(output + "/" + name);
    EXPECT_EQ(html.rfind("<!DOCTYPE HTML PUBLIC", 0), 0u) << name;
    EXPECT_TRUE(endsWith(html, "</body></html>")) << name << " is cut short";
  }
}

TEST_F(RobustTest, ThingsPlantedInTheOutputFolderAreReplacedNeverWrittenThrough) {
  enum Kind { SymbolicLink, HardLink, NamedPipe, Folder };
  struct Case {
    const char* what;
    const char* name;    // in the output folder
    Kind kind;
    const char* target;  // of a link, relative to the scratch folder
  };
  const Case cases[] = {
      {"symbolic link at a page", "L_f_C.html", SymbolicLink, "victim/file"},
      {"symbolic link at the help project", "document.hhp", SymbolicLink, "victim/file"},
      {"dangling symbolic link at an image number", "1.png", SymbolicLink, "victim/authorized_keys"},
      {"hard link at a page", "L_f_C.html", HardLink, "victim/file"},
      {"hard link at the help project", "document.hhp", HardLink, "victim/file"},
      {"hard link from an image number to its source", "1.png", HardLink, "project/img/a.png"},
      {"named pipe at a page", "L_f_C.html", NamedPipe, ""},
      // Left alone; the earlier page is replaced all the same.
      {"folder at the name a replacement is written under", ".tarnelthc.tmp", Folder, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    std::filesystem::create_directories(root_ + "/victim");
    writeFile(root_ + "/victim/file", "VICTIM");
    std::filesystem::create_directories(project_ + "/img");
    writeFile(project_ + "/img/a.png", "PNG");
    std::filesystem::create_directories(output_);
    const std::string planted = output_ + "/" + c.name;
    int made = -1;
    if (c.kind == SymbolicLink) made = ::symlink((std::string("../../") + c.target).c_str(), planted.c_str());
    if (c.kind == HardLink) made = ::link((root_ + "/" + c.target).c_str(), planted.c_str());
    if (c.kind == NamedPipe) made = ::mkfifo(planted.c_str(), 0644);
    if (c.kind == Folder) {
      made = ::mkdir(planted.c_str(), 0755);
      writeFile(output_ + "/L_f_C.html", "EARLIER");
    }
    ASSERT_EQ(made, 0);

    ProgramRun run = compile(projectFile("p.xml", "<doc title='t'><description>@image(img/a.png)</description>"
                                                  "<library name='L'><command name='C'/></library></doc>"));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(listDirectory(root_ + "/victim"), std::vector<std::string>{"file"});
    EXPECT_EQ(readFile(root_ + "/victim/file"), "VICTIM");
    EXPECT_EQ(readFile(project_ + "/img/a.png"), "PNG");
    EXPECT_TRUE(c.kind == Folder ? std::filesystem::is_directory(planted) : isPlainFile(planted));
    EXPECT_EQ(readFile(output_ + "/1.png"), "PNG");
    EXPECT_EQ(listedPages(readFile(output_ + "/document.hhp")), kPages);
    expectListedPagesComplete(output_);
  }
}

TEST_F(RobustTest, TitleCannotAddFilesNorPlaceTheHelpFileElsewhere) {
  ProgramRun run = compile(projectFile(
      "p.xml", "<doc title='../x&#10;[FILES]&#10;/etc/shadow'><library name='L'><command name='C'/></library></doc>"));
  EXPECT_EQ(run.exitCode, 0);
  const std::string hhp = readFile(output_ + "/document.hhp");
  EXPECT_EQ(listedPages(hhp), kPages);
  EXPECT_NE(hhp.find("\nCompiled file=.._x [FILES] _etc_shadow.chm\n"), std::string::npos) << hhp;
  EXPECT_NE(hhp.find("\nTitle=../x [FILES] /etc/shadow\n"), std::string::npos) << hhp;
}

TEST_F(RobustTest, RunKilledWhileWritingLeavesNoHelpProject) {
  const std::string project = projectFile("p.xml", commandsProject(5000, "first"));
  ASSERT_EQ(compile(project).exitCode, 0);
  writeFile(project, commandsProject(5000, "second"));
  BackgroundRun rebuild({"x", project}, {"TARNELTHC_OUTPUT=" + output_});
  ASSERT_TRUE(rebuild.readUntil("Creating HTML files at "));
  // Pages that replace earlier ones are written under a name of their own
  // first; once one is seen, the run is in the middle of writing.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!testing::fileExists(output_ + "/.tarnelthc.tmp") && std::chrono::steady_clock::now() < deadline) {
  }
  ASSERT_TRUE(rebuild.kill()) << "the run ended before it could be killed";
  EXPECT_FALSE(testing::fileExists(output_ + "/document.hhp"));
  expectEveryPageWhole(output_);
}

TEST_F(RobustTest, SecondRunIntoAHeldFolderWritesNothing) {
  // The first run's warnings fill its console pipe, which is not read, so it
  // waits with the folder held.
  const std::string busy = projectFile("busy.xml", commandsProject(2000, "x<b/>"));
  BackgroundRun first({"x", busy}, {"TARNELTHC_OUTPUT=" + output_});
  ASSERT_TRUE(first.readUntil("success"));

  ProgramRun second = compile(projectFile("p.xml", commandsProject(1, "y")));
  EXPECT_EQ(second.exitCode, 1);
  EXPECT_EQ(afterBanner(second), join({"Output folder is in use by another run: " + output_ + "/"}, kEnd));
  EXPECT_TRUE(listDirectory(output_).empty());

  EXPECT_EQ(first.finish(), 0);
  EXPECT_TRUE(testing::fileExists(output_ + "/document.hhp"));
}

TEST_F(RobustTest, ConsoleClosedEarlyStopsNothing) {
  ProgramRun run = compile(projectFile("p.xml", commandsProject(1, "x")), "", {.closedOutput = true});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(listedPages(readFile(output_ + "/document.hhp")),
            (std::vector<std::string>{"L_f_C0.html", "L_index.html", "index.html"}));
  expectListedPagesComplete(output_);
}

}  // namespace
}  // namespace thc::robust
