#include "check/check.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "project/doctree.h"
#include "support/u16.h"

namespace thc {
namespace {

using testing::u16;
using testing::u8;
using Lines = std::vector<std::string>;

// The n-th child element named `name` (counted from 1).
const DocNode* child(const DocNode* parent, std::u16string_view name, int n = 1) {
  for (const DocNode* c = parent ? parent->firstChild : nullptr; c; c = c->nextSibling) {
    if (c->kind == NodeKind::Element && c->name == name && --n == 0) return c;
  }
  return nullptr;
}

// A parsed document whose elements lend their places (and paths) to records.
class Document {
 public:
  explicit Document(std::string_view xml) : tree_(parseDocument(xml)) {}
  const DocNode* doc() const { return rootElement(*tree_); }
  SourceRef at(const DocNode* node) { return sources_.refer(node); }
  const SourceMap& sources() const { return sources_; }
  CheckReport report(Console& console) const { return CheckReport{sources_, console}; }

 private:
  std::unique_ptr<DocTree> tree_;
  SourceMap sources_;
};

// The places of records made without a document.
const SourceMap kNoSources;

// Two lines per violation: the node, then the rule line.
Lines at(const std::string& path, std::initializer_list<std::string> messages) {
  Lines lines;
  for (const std::string& message : messages) {
    lines.push_back("Error at Node " + path);
    lines.push_back(message);
  }
  return lines;
}

Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(CheckIdentifier, JudgesEveryCharacterKind) {
  struct Case {
    std::u16string value;
    bool passes;
    std::vector<std::string> messages;  // after "value of name"
  };
  const Case cases[] = {
      {u"Plot", true, {}},
      {u"_x9_", true, {}},
      {u"  Plot \t\n", true, {}},  // blanks at the ends are trimmed away first
      {u"", true, {}},
      {u"   ", true, {}},  // emptiness is the presence rule's business
      {u"*Ptr", true, {}},
      {u"Str$", true, {}},
      {u"*", true, {}},
      {u"$", true, {}},
      {u"*Both$", true, {}},
      {u"Open File", false, {" may not contain ' '"}},
      {u"2D_Draw", true, {" may not start with a number"}},
      {u"a*b", true, {" may only start with '*'"}},
      {u"**", true, {" may only start with '*'"}},
      {u"a$b", true, {" may only end with '$'"}},
      {u"$$", true, {" may only end with '$'"}},
      {u"9*$x", true,
       {" may not start with a number", " may only start with '*'", " may only end with '$'"}},
      // The scan stops at the first forbidden character.
      {u"a-b$c", false, {" may not contain '-'"}},
      {u"1a-b-c", false, {" may not start with a number", " may not contain '-'"}},
      {u"a$b.c", false, {" may only end with '$'", " may not contain '.'"}},
      {u"Größe", false, {" may not contain 'ö'"}},
      {u"éa", false, {" may not contain 'é'"}},
      {u"a\tb", false, {" may not contain '\t'"}},
      {u"a.b", false, {" may not contain '.'"}},
      {u"x\U0001F600y", false, {" may not contain '\U0001F600'"}},  // the whole character
  };
  Document document("<doc><library/></doc>");
  const DocNode* node = child(document.doc(), u"library");
  for (const Case& c : cases) {
    MemoryConsole console;
    EXPECT_EQ(checkIdentifier(u"name", c.value, document.at(node), document.report(console)), c.passes)
        << u8(c.value);
    Lines expected;
    for (const std::string& m : c.messages) {
      expected.push_back("Error at Node /doc/library");
      expected.push_back("value of name" + m);
    }
    EXPECT_EQ(console.utf8Lines(), expected) << u8(c.value);
  }
}

TEST(CheckIdentifier, NamesBothHalvesOfAPairAndALoneHalfAlone) {
  Document document("<doc/>");
  MemoryConsole console;
  const SourceRef doc = document.at(document.doc());
  EXPECT_FALSE(checkIdentifier(u"lib", u"a\U0001F600", doc, document.report(console)));
  ASSERT_EQ(console.lines.size(), 2u);
  EXPECT_EQ(console.lines[1], u"value of lib may not contain '\U0001F600'");

  MemoryConsole lone;
  const std::u16string value = {u'a', char16_t(0xD83D), u'b'};
  EXPECT_FALSE(checkIdentifier(u"class", value, doc, document.report(lone)));
  ASSERT_EQ(lone.lines.size(), 2u);
  EXPECT_EQ(lone.lines[1], std::u16string(u"value of class may not contain '") + char16_t(0xD83D) + u"'");
}

TEST(RequireValue, FailsOnlyOnEmptyTrimmedText) {
  struct Case {
    std::u16string text;
    bool passes;
  };
  const Case cases[] = {{u"", false}, {u" \t\r\n", false}, {u"\x01", false}, {u"x", true}, {u" 1a ", true}};
  Document document("<doc/>");
  for (const Case& c : cases) {
    MemoryConsole console;
    const SourceRef doc = document.at(document.doc());
    EXPECT_EQ(requireValue(u"OS value", c.text, doc, document.report(console)), c.passes) << u8(c.text);
    Lines expected = c.passes ? Lines{} : at("/doc", {"missing OS value"});
    EXPECT_EQ(console.utf8Lines(), expected) << u8(c.text);
  }
}

TEST(CheckProject, MissingTitleNamesTheDocElement) {
  Document document("<doc/>");
  Project project;
  project.docSource = document.at(document.doc());
  MemoryConsole console;
  EXPECT_FALSE(checkProject(project, document.sources(), console));
  EXPECT_EQ(console.utf8Lines(), at("/doc", {"missing title"}));
}

TEST(CheckProject, OnlyWarningsStillPass) {
  Document document("<doc><library><command/></library></doc>");
  const DocNode* library = child(document.doc(), u"library");
  Project project;
  project.title = u"T";
  project.docSource = document.at(document.doc());
  Library& lib = project.libraries.emplace_back();
  lib.name = u"*Lib";
  lib.source = document.at(library);
  Command& command = lib.commands.emplace_back();
  command.name = u"2D_Draw";
  command.source = document.at(child(library, u"command"));
  MemoryConsole console;
  EXPECT_TRUE(checkProject(project, document.sources(), console));
  EXPECT_EQ(console.utf8Lines(),
            at("/doc/library/command", {"value of name may not start with a number"}));
}

// Which field each kind names, and which pairs follow. Every other field is
// set to a bad value so that a wrong field choice shows up.
TEST(CheckCommandRecord, JudgesEachReferenceKindOnItsFields) {
  struct Case {
    ReferenceKind kind;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {ReferenceKind::Library, {"missing name"}},
      {ReferenceKind::Constant, {"missing name", "missing lib"}},
      {ReferenceKind::Command, {"missing name", "missing lib"}},
      {ReferenceKind::Class, {"missing name", "missing lib"}},
      {ReferenceKind::Structure, {"missing name", "missing lib"}},
      {ReferenceKind::Macro, {"missing name", "missing lib"}},
      {ReferenceKind::Member, {"missing name", "missing lib", "missing class"}},
      {static_cast<ReferenceKind>(7), {}},
  };
  Document document("<doc><command><refclass/></command></doc>");
  const DocNode* commandNode = child(document.doc(), u"command");
  for (const Case& c : cases) {
    Command command;
    command.name = u"Cmd";
    command.source = document.at(commandNode);
    Reference& reference = command.references.emplace_back();
    reference.kind = c.kind;
    reference.source = document.at(child(commandNode, u"refclass"));
    MemoryConsole console;
    EXPECT_EQ(checkCommandRecord(command, document.report(console)), c.messages.empty()) << int(c.kind);
    Lines expected;
    for (const std::string& m : c.messages) expected = expected + at("/doc/command/refclass", {m});
    EXPECT_EQ(console.utf8Lines(), expected) << int(c.kind);
  }

  // The field that the kind names as "name", with the other fields valid.
  struct FieldCase {
    ReferenceKind kind;
    std::u16string Reference::*field;
  };
  const FieldCase fields[] = {
      {ReferenceKind::Library, &Reference::library},
      {ReferenceKind::Constant, &Reference::constantName},
      {ReferenceKind::Command, &Reference::memberName},
      {ReferenceKind::Class, &Reference::className},
      {ReferenceKind::Structure, &Reference::structureName},
      {ReferenceKind::Macro, &Reference::memberName},
      {ReferenceKind::Member, &Reference::memberName},
  };
  for (const FieldCase& f : fields) {
    Command command;
    command.name = u"Cmd";
    Reference& reference = command.references.emplace_back();
    reference.kind = f.kind;
    reference.library = u"Lib";
    reference.className = u"Cls";
    reference.*(f.field) = u"a b";
    MemoryConsole console;
    EXPECT_FALSE(checkCommandRecord(command, CheckReport{kNoSources, console})) << int(f.kind);
    Lines lines = console.utf8Lines();
    ASSERT_EQ(lines.size(), 2u) << int(f.kind);
    EXPECT_EQ(lines[1], "value of name may not contain ' '") << int(f.kind);
  }
}

TEST(CheckCommandRecord, MemberReferencePairsRunInOrder) {
  Command command;
  command.name = u"Cmd";
  Reference& reference = command.references.emplace_back();
  reference.kind = ReferenceKind::Member;
  reference.memberName = u"9m";
  reference.library = u"l-b";
  reference.className = u"c d";
  MemoryConsole console;
  EXPECT_FALSE(checkCommandRecord(command, CheckReport{kNoSources, console}));
  EXPECT_EQ(console.utf8Lines(), at("/", {"value of name may not start with a number",
                                          "value of lib may not contain '-'",
                                          "value of class may not contain ' '"}));
}

// One project with a fault at every step of the walk: the lines come in the
// walk's order, warnings included, and the result is false.
TEST(CheckProject, ReportsEveryFaultInWalkOrder) {
  Document document(
      "<doc>"
      "<library>"
      "<class><command><os/><example/><arg/><refmember/></command></class>"
      "<command/><command/>"
      "<constant/>"
      "<macro><arg/></macro>"
      "<structure><element/><element/></structure>"
      "</library>"
      "<library/>"
      "</doc>");
  const DocNode* doc = document.doc();
  const DocNode* libNode = child(doc, u"library");
  const DocNode* classNode = child(libNode, u"class");
  const DocNode* methodNode = child(classNode, u"command");
  const DocNode* structNode = child(libNode, u"structure");

  Project project;
  project.docSource = document.at(doc);  // no title
  Library& lib = project.libraries.emplace_back();
  lib.name = u"My Lib";
  lib.source = document.at(libNode);

  Class& cls = lib.classes.emplace_back();
  cls.source = document.at(classNode);  // no name
  Command& method = cls.methods.emplace_back();
  method.name = u"3d";
  method.source = document.at(methodNode);
  method.osList = {u"Linux", u"  ", u""};
  method.noOsList = {u""};  // noos entries get no rule
  Example& example = method.examples.emplace_back();
  example.source = document.at(child(methodNode, u"example"));  // no text, no name
  Argument& argument = method.args.emplace_back();
  argument.source = document.at(child(methodNode, u"arg"));
  argument.name = u"x y";  // and no index
  Reference& reference = method.references.emplace_back();
  reference.kind = ReferenceKind::Member;
  reference.source = document.at(child(methodNode, u"refmember"));
  reference.memberName = u"Close";
  reference.library = u"Files";
  reference.className = u"Files";  // filled from the library when the class is absent

  Command& first = lib.commands.emplace_back();
  first.name = u" Open File ";
  first.source = document.at(child(libNode, u"command"));
  Command& second = lib.commands.emplace_back();
  second.name = u"Ok$";
  second.source = document.at(child(libNode, u"command", 2));

  Constant& constant = lib.constants.emplace_back();
  constant.name = u"PI.2";
  constant.source = document.at(child(libNode, u"constant"));

  Macro& macro = lib.macros.emplace_back();
  macro.name = u"M*";
  const DocNode* macroNode = child(libNode, u"macro");
  macro.source = document.at(macroNode);
  Argument& macroArg = macro.args.emplace_back();
  macroArg.source = document.at(child(macroNode, u"arg"));
  macroArg.index = u"1a";  // no identifier rule on an index

  Structure& structure = lib.structures.emplace_back();
  structure.name = u"Has Blank";  // structure names only need to be present
  structure.source = document.at(structNode);
  StructureElement& good = structure.elements.emplace_back();
  good.name = u"x";
  good.offset = u"0";
  good.source = document.at(child(structNode, u"element"));
  StructureElement& bad = structure.elements.emplace_back();
  bad.name = u"y z";
  bad.offset = u"4";
  bad.source = document.at(child(structNode, u"element", 2));

  Library& empty = project.libraries.emplace_back();
  empty.source = document.at(child(doc, u"library", 2));

  MemoryConsole console;
  EXPECT_FALSE(checkProject(project, document.sources(), console));
  const std::string m = "/doc/library/class/command";
  const Lines expected =
      at("/doc", {"missing title"}) +
      at("/doc/library", {"value of name may not contain ' '"}) +
      at("/doc/library/class", {"missing name"}) +
      at(m, {"value of name may not start with a number", "missing OS value", "missing OS value"}) +
      at(m + "/example", {"missing example value", "missing name"}) +
      at(m + "/arg", {"value of name may not contain ' '", "missing index"}) +
      at("/doc/library/command", {"value of name may not contain ' '"}) +
      at("/doc/library/constant", {"value of name may not contain '.'"}) +
      at("/doc/library/macro", {"value of name may only start with '*'"}) +
      at("/doc/library/macro/arg", {"missing name"}) +
      at("/doc/library/structure/element[2]", {"value of name may not contain ' '"}) +
      at("/doc/library[2]", {"missing name"});
  EXPECT_EQ(console.utf8Lines(), expected);
}

TEST(CheckProject, StructureElementNeedsNameAndOffset) {
  Document document("<doc><library><structure><element/></structure></library></doc>");
  const DocNode* structNode = child(child(document.doc(), u"library"), u"structure");
  Project project;
  project.title = u"T";
  Library& lib = project.libraries.emplace_back();
  lib.name = u"L";
  Structure& structure = lib.structures.emplace_back();
  structure.source = document.at(structNode);
  StructureElement& element = structure.elements.emplace_back();
  element.source = document.at(child(structNode, u"element"));
  MemoryConsole console;
  EXPECT_FALSE(checkProject(project, document.sources(), console));
  EXPECT_EQ(console.utf8Lines(),
            at("/doc/library/structure", {"missing name"}) +
                at("/doc/library/structure/element", {"missing name", "missing offset"}));
}

}  // namespace
}  // namespace thc
