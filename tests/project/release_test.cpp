// Once reading ends the documents go: the records still name their
// elements' paths, in the main document and in the imported ones alike.
#include "project/release.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/console.h"
#include "project/reader.h"
#include "support/run_program.h"
#include "support/u16.h"

namespace thc {
namespace {

using testing::makeTempDirectory;
using testing::writeFile;

TEST(FinishReading, FreesTheTreesAndKeepsThePaths) {
  const std::string directory = makeTempDirectory();
  const std::string imported = R"(<library name="Files">
    <class name="Stream"><command name="Close"><arg index="1" name="s"/>
      <refcommand name="Open"/><example name="e">x</example></command></class>
    <command name="Open"><arg index="1" name="path"/><refclass name="Stream"/></command>
    <constant name="ModeRead"/>
    <macro name="Min"><arg index="1" name="a"/></macro>
    <structure name="Info"><element name="size" offset="0"/></structure>
  </library>)";
  writeFile(directory + "/files.xml", imported);
  const std::string main = R"(<doc title="T"><library name="Gfx"><command name="Plot"/></library>
    <import file="files.xml"/></doc>)";
  ProjectModel model;
  model.projectFile = testing::u16(directory + "/main.xml");
  model.projectDir = testing::u16(directory + "/");
  writeFile(directory + "/main.xml", main);
  std::unique_ptr<DocTree> tree = parseDocument(main);
  MemoryConsole console;
  readProject(model, console, rootElement(*tree));
  ASSERT_EQ(model.project.libraries.size(), 2u);
  ASSERT_EQ(model.project.importedDocs.size(), 1u);

  finishReading(model, *tree);

  const Library& files = model.project.libraries[1];
  EXPECT_EQ(model.sources.path(model.project.docSource), u"/doc");
  EXPECT_EQ(model.sources.path(model.project.libraries[0].commands[0].source), u"/doc/library/command");
  EXPECT_EQ(model.sources.path(files.classes[0].methods[0].examples[0].source),
            u"/library/class/command/example");
  EXPECT_EQ(model.sources.path(files.structures[0].elements[0].source), u"/library/structure/element");
  EXPECT_TRUE(model.project.importedDocs.empty());
  EXPECT_EQ(tree->root, nullptr);
  EXPECT_EQ(tree->nodes.size(), 0u);
  EXPECT_EQ(model.project.libraries[1].classes[0].methods[0].name, u"Close");  // the data stays
}

}  // namespace
}  // namespace thc
