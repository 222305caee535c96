// After the checks the documents go: every record's node must be none then,
// never a pointer into a freed tree.
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

// Every node pointer of the model, in no particular order.
std::vector<const DocNode*> allNodes(const Project& project) {
  std::vector<const DocNode*> nodes = {project.docNode};
  auto command = [&](const Command& c) {
    nodes.push_back(c.node);
    for (const Argument& a : c.args) nodes.push_back(a.node);
    for (const Reference& r : c.references) nodes.push_back(r.node);
    for (const Example& e : c.examples) nodes.push_back(e.node);
  };
  for (const Library& library : project.libraries) {
    nodes.push_back(library.node);
    for (const Class& cls : library.classes) {
      nodes.push_back(cls.node);
      for (const Command& method : cls.methods) command(method);
    }
    for (const Command& c : library.commands) command(c);
    for (const Constant& c : library.constants) nodes.push_back(c.node);
    for (const Macro& m : library.macros) {
      nodes.push_back(m.node);
      for (const Argument& a : m.args) nodes.push_back(a.node);
    }
    for (const Structure& s : library.structures) {
      nodes.push_back(s.node);
      for (const StructureElement& e : s.elements) nodes.push_back(e.node);
    }
  }
  return nodes;
}

TEST(ReleaseDocuments, LeavesNoNodeBehind) {
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
  for (const DocNode* node : allNodes(model.project)) ASSERT_NE(node, nullptr);

  releaseDocuments(model, *tree);

  for (const DocNode* node : allNodes(model.project)) EXPECT_EQ(node, nullptr);
  EXPECT_TRUE(model.project.importedDocs.empty());
  EXPECT_EQ(tree->root, nullptr);
  EXPECT_EQ(tree->nodes.size(), 0u);
  EXPECT_EQ(model.project.libraries[1].classes[0].methods[0].name, u"Close");  // the data stays
}

}  // namespace
}  // namespace thc
