// Sibling numbers when an element has many distinct child names, and the
// release of node content after reading.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "project/doctree.h"
#include "support/u16.h"

namespace thc {
namespace {

using testing::u8;

std::vector<std::string> elementPaths(const DocTree& tree) {
  std::vector<std::string> paths;
  for (const DocNode& node : tree.nodes) {
    if (node.kind != NodeKind::Document) paths.push_back(u8(path(&node)));
  }
  return paths;
}

// Children named n0, n1, ... in the given order, each written as <nK/>.
std::string documentWithChildren(const std::vector<int>& names) {
  std::string xml = "<doc>";
  for (int n : names) xml += "<n" + std::to_string(n) + "/>";
  return xml + "</doc>";
}

TEST(DocTreeSiblings, NumbersStayRightAcrossManyDistinctNames) {
  struct Case {
    const char* what;
    std::vector<int> names;
    std::vector<std::string> expected;  // paths of the children, in order
  };
  std::vector<int> twenty;
  for (int i = 0; i < 20; ++i) twenty.push_back(i);
  std::vector<int> wide = twenty;
  wide.insert(wide.end(), {0, 15, 16, 19, 0});
  std::vector<std::string> wideExpected;
  for (int i = 0; i < 20; ++i) wideExpected.push_back("/doc/n" + std::to_string(i));
  wideExpected.insert(wideExpected.end(),
                      {"/doc/n0[2]", "/doc/n15[2]", "/doc/n16[2]", "/doc/n19[2]", "/doc/n0[3]"});
  const std::vector<Case> cases = {
      {"few names", {1, 2, 1, 1, 2}, {"/doc/n1", "/doc/n2", "/doc/n1[2]", "/doc/n1[3]", "/doc/n2[2]"}},
      {"names repeated after the list turned into a map", wide, wideExpected},
  };
  for (const Case& c : cases) {
    auto tree = parseDocument(documentWithChildren(c.names));
    ASSERT_TRUE(tree) << c.what;
    std::vector<std::string> paths = elementPaths(*tree);
    ASSERT_FALSE(paths.empty()) << c.what;
    paths.erase(paths.begin());  // /doc itself
    EXPECT_EQ(paths, c.expected) << c.what;
  }
}

TEST(DocTreeSiblings, NestedElementsCountTheirOwnChildren) {
  // The inner elements reuse the stack entries of earlier siblings; their
  // counts must start afresh.
  auto tree = parseDocument("<doc><a><b/><b/></a><a><b/><c/><b/></a><b/></doc>");
  ASSERT_TRUE(tree);
  EXPECT_EQ(elementPaths(*tree),
            (std::vector<std::string>{"/doc", "/doc/a", "/doc/a/b", "/doc/a/b[2]", "/doc/a[2]",
                                      "/doc/a[2]/b", "/doc/a[2]/c", "/doc/a[2]/b[2]", "/doc/b"}));
}

TEST(DocTreeRelease, KeepsNamesAndPathsAndFreesTextAndAttributes) {
  auto tree = parseDocument(
      "<doc title='T'><library name='L'><!-- note --><command name='C'>"
      "<description><![CDATA[text]]></description></command>"
      "<command name='D'>own text</command><?pi data?></library></doc>");
  ASSERT_TRUE(tree);
  std::vector<std::string> before = elementPaths(*tree);
  std::vector<std::string> names;
  for (const DocNode& node : tree->nodes) names.push_back(u8(node.name));

  releaseContent(*tree);

  EXPECT_EQ(elementPaths(*tree), before);
  std::vector<std::string> namesAfter;
  for (const DocNode& node : tree->nodes) {
    namesAfter.push_back(u8(node.name));
    EXPECT_TRUE(node.text.empty()) << u8(path(&node));
    EXPECT_EQ(node.attributeCount, 0u) << u8(path(&node));
  }
  EXPECT_EQ(namesAfter, names);
  EXPECT_EQ(attribute(rootElement(*tree), u"title"), u"");
}

}  // namespace
}  // namespace thc
