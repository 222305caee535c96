#include "images/images.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "base/console.h"
#include "helpproject/temp_folder.h"
#include "support/run_program.h"
#include "support/u16.h"

namespace thc {
namespace {

using testing::fileExists;
using testing::listDirectory;
using testing::readFile;
using testing::u16;
using testing::u8;
using testing::writeFile;

// Copies the model's images into the folder `dir`.
bool copyInto(const ProjectModel& model, Console& console, std::u16string_view dir) {
  OutputFolder folder(dir);
  return copyImages(model, planOutput(model.project, model.catalog).images, console, folder);
}

// A project folder with a few pictures and an empty output folder beside it.
struct ImageFolders {
  ImageFolders() {
    std::filesystem::create_directory(project + "/img");
    writeFile(project + "/img/logo.png", "LOGO");
    writeFile(project + "/img/diagram.png", "DIAGRAM");
    writeFile(project + "/img/logo", "PLAIN");
    writeFile(project + "/top.gif", "TOP");
    writeFile(output + "/1.png", "OLD");
  }
  ProjectModel model(std::vector<std::u16string> sources) const {
    ProjectModel m;
    m.projectFile = u16(project + "/doc.xml");
    for (std::u16string& source : sources) {
      m.project.images.push_back(
          ImageEntry{static_cast<int64_t>(m.project.images.size()) + 1, std::move(source)});
    }
    return m;
  }
  testing::TempFolder projectFolder;
  testing::TempFolder outputFolder;
  std::string project = projectFolder.path;
  std::string output = outputFolder.path;
};

TEST(CopyImages, CopiesEveryEntryUnderItsNumberAndExtension) {
  ImageFolders folders;
  struct Case {
    std::vector<std::u16string> sources;
    std::vector<std::pair<std::string, std::string>> copies;  // name, content
  };
  const Case cases[] = {
      {{u"img/logo.png", u"img/logo.png", u"img/logo"},
       {{"1.png", "LOGO"}, {"2.png", "LOGO"}, {"3.", "PLAIN"}}},
      {{u"img\\diagram.png", u"top.gif"}, {{"1.png", "DIAGRAM"}, {"2.gif", "TOP"}}},
      {{}, {{"1.png", "OLD"}}},
  };
  for (const Case& c : cases) {
    testing::TempFolder outputFolder;
    const std::string& output = outputFolder.path;
    writeFile(output + "/1.png", "OLD");  // an existing file is replaced
    MemoryConsole console;
    EXPECT_TRUE(copyInto(folders.model(c.sources), console, u16(output + "/")));
    EXPECT_TRUE(console.lines.empty());
    std::vector<std::string> names;
    for (const auto& [name, content] : c.copies) {
      names.push_back(name);
      EXPECT_EQ(readFile(output + "/" + name), content) << name;
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(listDirectory(output), names);
  }
}

TEST(CopyImages, StopsAtTheFirstFailureAndNamesBothPaths) {
  ImageFolders folders;
  MemoryConsole console;
  ProjectModel model = folders.model({u"img/logo.png", u"img/missing.png", u"top.gif"});
  EXPECT_FALSE(copyInto(model, console, u16(folders.output + "/")));
  EXPECT_EQ(console.utf8Lines(),
            std::vector<std::string>{"Unable to copy " + folders.project + "/img/missing.png to " +
                                     folders.output + "/2.png"});
  EXPECT_EQ(readFile(folders.output + "/1.png"), "LOGO");
  EXPECT_EQ(listDirectory(folders.output), std::vector<std::string>{"1.png"});
}

TEST(CopyImages, ReportsAnUnwritableDestination) {
  ImageFolders folders;
  MemoryConsole console;
  std::string missing = folders.output + "/none/";
  EXPECT_FALSE(copyInto(folders.model({u"top.gif"}), console, u16(missing)));
  EXPECT_EQ(console.utf8Lines(), std::vector<std::string>{"Unable to copy " + folders.project +
                                                          "/top.gif to " + missing + "1.gif"});
}

TEST(CopyImages, AnImageAlreadyInPlaceIsKept) {
  // The project folder is the output folder and a picture is stored under
  // the number it gets: copying it onto itself must not empty it.
  ImageFolders folders;
  writeFile(folders.project + "/1.png", "KEEP");
  MemoryConsole console;
  ProjectModel model = folders.model({u"1.png", u"./img/../1.png", u"img/logo.png"});
  EXPECT_TRUE(copyInto(model, console, u16(folders.project + "/")));
  EXPECT_TRUE(console.lines.empty());
  EXPECT_EQ(readFile(folders.project + "/1.png"), "KEEP");
  EXPECT_EQ(readFile(folders.project + "/2.png"), "KEEP");
  EXPECT_EQ(readFile(folders.project + "/3.png"), "LOGO");
}

TEST(CopyImages, ProjectFileWithoutDirectoryReadsFromTheCurrentOne) {
  ImageFolders folders;
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(folders.project.c_str()), 0);
  ProjectModel model = folders.model({u"img/logo.png"});
  model.projectFile = u"doc.xml";
  MemoryConsole console;
  bool copied = copyInto(model, console, u16(folders.output + "/"));
  ASSERT_EQ(chdir(previous), 0);
  EXPECT_TRUE(copied);
  EXPECT_TRUE(console.lines.empty());
  EXPECT_EQ(readFile(folders.output + "/1.png"), "LOGO");

  // The message shows the path as it was tried.
  model.project.images[0].source = u"img\\gone.png";
  EXPECT_FALSE(copyInto(model, console, u16(folders.output + "/")));
  EXPECT_EQ(console.utf8Lines().back(),
            "Unable to copy ./img/gone.png to " + folders.output + "/1.png");
}

}  // namespace
}  // namespace thc
