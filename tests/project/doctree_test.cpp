#include "project/doctree.h"

#include <gtest/gtest.h>

#include <chrono>

#include "support/u16.h"

namespace thc {
namespace {

using testing::u16;
using testing::u8;

std::unique_ptr<DocTree> parse(const std::string& xml) {
  auto tree = parseDocument(xml);
  EXPECT_TRUE(tree);
  return tree;
}

const DocNode* child(const DocNode* node, const char* name, int n = 1) {
  for (const DocNode* c = node->firstChild; c; c = c->nextSibling) {
    if (c->kind == NodeKind::Element && u8(c->name) == name && --n == 0) return c;
  }
  return nullptr;
}

TEST(DocTree, OwnTextIsConcatenatedAroundChildren) {
  auto tree = parse("<doc><d>  one <b/>two  </d></doc>");
  const DocNode* d = child(rootElement(*tree), "d");
  ASSERT_TRUE(d);
  EXPECT_EQ(u8(d->text), "  one two  ");
  ASSERT_TRUE(d->firstChild);
  EXPECT_EQ(d->firstChild->kind, NodeKind::Element);
  EXPECT_EQ(d->firstChild->nextSibling, nullptr);
}

TEST(DocTree, TextOnlyElementHasNoChild) {
  auto tree = parse("<doc><description> blanks around </description></doc>");
  const DocNode* d = child(rootElement(*tree), "description");
  EXPECT_EQ(d->firstChild, nullptr);
  EXPECT_EQ(u8(d->text), " blanks around ");
}

TEST(DocTree, CdataIsAChildWithItsTextUnchanged) {
  auto tree = parse("<doc><d> <![CDATA[a & b <i>x</i>]]> </d></doc>");
  const DocNode* d = child(rootElement(*tree), "d");
  ASSERT_TRUE(d->firstChild);
  EXPECT_EQ(d->firstChild->kind, NodeKind::CData);
  EXPECT_EQ(u8(d->firstChild->text), "a & b <i>x</i>");
  EXPECT_EQ(u8(d->text), "  ");
}

TEST(DocTree, CommentThenTextAndOtherKinds) {
  auto tree = parse("<?xml version='1.0'?><!DOCTYPE doc><doc><d><!-- note -->text<?pi data?></d></doc>");
  const DocNode* d = child(rootElement(*tree), "d");
  ASSERT_TRUE(d->firstChild);
  EXPECT_EQ(d->firstChild->kind, NodeKind::Comment);
  EXPECT_EQ(u8(d->firstChild->text), " note ");
  ASSERT_TRUE(d->firstChild->nextSibling);
  EXPECT_EQ(d->firstChild->nextSibling->kind, NodeKind::Instruction);
  EXPECT_EQ(u8(d->firstChild->nextSibling->name), "pi");
  EXPECT_EQ(u8(d->text), "text");
  EXPECT_EQ(tree->root->firstChild->kind, NodeKind::DocType);
  EXPECT_EQ(u8(rootElement(*tree)->name), "doc");
}

TEST(DocTree, AttributesAreCaseSensitive) {
  auto tree = parse("<doc Title='x' title='y &amp; z'/>");
  const DocNode* doc = rootElement(*tree);
  EXPECT_EQ(u8(attribute(doc, u"title")), "y & z");
  EXPECT_EQ(u8(attribute(doc, u"Title")), "x");
  EXPECT_EQ(u8(attribute(doc, u"TITLE")), "");
  EXPECT_EQ(u8(attribute(doc, u"missing")), "");
}

TEST(DocTree, EntityReferencesAreKeptAsWritten) {
  auto tree = parse(
      "<!DOCTYPE doc [<!ENTITY co 'Company'>]><doc><d>&co; &amp; &#65; &lt;</d></doc>");
  EXPECT_EQ(tree->status, 0);
  const DocNode* d = child(rootElement(*tree), "d");
  EXPECT_EQ(u8(d->text), "&co; & A <");
}

TEST(DocTree, LineBreaksFollowTheFile) {
  struct Case { std::string name, xml, text; };
  const std::vector<Case> cases = {
      {"LF", "<doc>\n<d>a\nb</d></doc>", "a\nb"},
      {"CRLF", "<doc>\r\n<d>a\r\nb</d></doc>", "a\r\nb"},
      {"CR", "<doc>\r<d>a\rb</d></doc>", "a\rb"},
      {"leading LF skipped", "\n<doc>\r\n<d>a\r\nb</d></doc>", "a\r\nb"},
      {"no break in the file", "<doc><d>a&#10;b</d></doc>", "a\nb"},
  };
  for (const Case& c : cases) {
    auto tree = parse(c.xml);
    ASSERT_EQ(tree->status, 0) << c.name;
    EXPECT_EQ(u8(child(rootElement(*tree), "d")->text), c.text) << c.name;
  }
}

TEST(DocTree, Utf16FileWithByteOrderMark) {
  std::u16string xml = u"\uFEFF<doc title='Gr\u00f6\u00dfe'>\r\n<d>x\r\ny</d></doc>";
  std::string bytes;
  for (char16_t c : xml) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  auto tree = parse(bytes);
  ASSERT_EQ(tree->status, 0) << u8(tree->errorMessage);
  EXPECT_EQ(attribute(rootElement(*tree), u"title"), u"Gr\u00f6\u00dfe");
  EXPECT_EQ(u8(child(rootElement(*tree), "d")->text), "x\r\ny");
}

// The line breaks of a UTF-16 file are found in either byte order, with or
// without a byte order mark (the parser accepts all four forms).
TEST(DocTree, Utf16LineBreaksInEitherByteOrder) {
  struct Case { bool bigEndian, mark; std::u16string lineBreak; };
  const std::vector<Case> cases = {
      {false, true, u"\r\n"}, {false, false, u"\r\n"}, {true, true, u"\r\n"}, {true, false, u"\r\n"},
      {true, false, u"\r"},   {true, false, u"\n"},    {false, false, u"\r"},
  };
  for (const Case& c : cases) {
    const std::u16string& br = c.lineBreak;
    std::u16string xml = (c.mark ? u"\uFEFF" : u"") + (u"<doc>" + br + u"<d>x" + br + u"y</d></doc>");
    std::string bytes;
    for (char16_t unit : xml) {
      char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
      bytes += c.bigEndian ? std::string{high, low} : std::string{low, high};
    }
    const std::string name = std::string(c.bigEndian ? "BE" : "LE") + (c.mark ? " mark " : " ") + u8(br);
    auto tree = parse(bytes);
    ASSERT_EQ(tree->status, 0) << name;
    EXPECT_EQ(child(rootElement(*tree), "d")->text, u"x" + br + u"y") << name;
  }
}

TEST(DocTree, DefectiveFileReportsLineColumnAndMessage) {
  struct Case { std::string xml; int64_t line, position; std::string message; };
  const std::vector<Case> cases = {
      {"<doc>\n<a>\n</doc>", 3, 3, "mismatched tag"},
      {"<doc>", 1, 6, "no element found"},
      {"<doc>\n  <a b=1/></doc>", 2, 8, "not well-formed (invalid token)"},
      {"<doc>&undefined;</doc>", 1, 6, "undefined entity"},
  };
  for (const Case& c : cases) {
    auto tree = parse(c.xml);
    EXPECT_NE(tree->status, 0) << c.xml;
    EXPECT_EQ(tree->errorLine, c.line) << c.xml;
    EXPECT_EQ(tree->errorPosition, c.position) << c.xml;
    EXPECT_EQ(u8(tree->errorMessage), c.message) << c.xml;
  }
}

TEST(DocTree, PathsCountSiblingsOfTheSameKindAndName) {
  auto tree = parse(
      "<doc><library/><x/><library><command/><command/><!--a--><!--b-->"
      "<command><description/></command></library></doc>");
  const DocNode* doc = rootElement(*tree);
  const DocNode* library = child(doc, "library", 2);
  const DocNode* command = child(library, "command", 3);
  EXPECT_EQ(u8(path(doc)), "/doc");
  EXPECT_EQ(u8(path(child(doc, "library"))), "/doc/library");
  EXPECT_EQ(u8(path(child(doc, "x"))), "/doc/x");
  EXPECT_EQ(u8(path(library)), "/doc/library[2]");
  EXPECT_EQ(u8(path(child(command, "description"))), "/doc/library[2]/command[3]/description");
  const DocNode* secondComment = child(library, "command", 2)->nextSibling->nextSibling;
  EXPECT_EQ(u8(path(secondComment)), "/doc/library[2]/#comment[2]");
  EXPECT_EQ(u8(path(tree->root)), "/");
}

TEST(DocTree, ManySiblingsAndDeepNestingLoadAndRelease) {
  const int siblings = 1000000;
  std::string wide = "<doc>";
  for (int i = 0; i < siblings; ++i) wide += "<c/>";
  wide += "</doc>";
  const int depth = 100000;
  std::string deep;
  for (int i = 0; i < depth; ++i) deep += "<e>";
  for (int i = 0; i < depth; ++i) deep += "</e>";

  auto start = std::chrono::steady_clock::now();
  {
    auto tree = parse(wide);
    ASSERT_EQ(tree->status, 0);
    const DocNode* last = rootElement(*tree)->lastChild;
    EXPECT_EQ(u8(path(last)), "/doc/c[1000000]");
  }
  {
    auto tree = parse(deep);
    ASSERT_EQ(tree->status, 0);
    const DocNode* node = rootElement(*tree);
    while (node->firstChild) node = node->firstChild;
    EXPECT_EQ(path(node).size(), static_cast<size_t>(depth) * 2);
  }
  // Not a timing assertion: only a guard against a pathological slowdown.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
}

TEST(DocTree, MissingOrEmptyFileGivesNoTree) {
  EXPECT_EQ(loadDocument(u"/nonexistent/file.xml"), nullptr);
  EXPECT_EQ(loadDocument(u"/dev/null"), nullptr);
}

}  // namespace
}  // namespace thc
