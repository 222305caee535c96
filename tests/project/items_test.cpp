#include "project/items.h"

#include <gtest/gtest.h>

#include "project/reader.h"
#include "support/u16.h"

namespace thc {
namespace {

using testing::u16;
using testing::u8;

// Reads one library whose children are `items`.
struct Read {
  explicit Read(const std::string& items, const std::string& libraryName = "Files") {
    tree = parseDocument("<doc title='t'><library name='" + libraryName + "'>" + items +
                         "</library></doc>");
    EXPECT_EQ(tree->status, 0) << items;
    readProject(model, console, rootElement(*tree));
  }
  const Library& library() const { return model.project.libraries.at(0); }
  const Command& command(size_t i = 0) const { return library().commands.at(i); }

  std::unique_ptr<DocTree> tree;
  ProjectModel model;
  MemoryConsole console;
};

TEST(Items, CommandChildrenLandInTheirFields) {
  Read read(R"(<command name="Open">
      <description>Opens @code x@endcode</description>
      <result name="handle" type="i" pointer=" Yes ">The @bold handle</result>
      <os>Windows</os><os>@italic Linux</os>
      <noos>MacOS</noos>
      <example name="Simple"><![CDATA[<pre>Open("a")</pre>]]></example>
      <example name="Other">x &amp; y</example>
      <keywords>open</keywords>
      <arg index="1" name="path" type="s" default="&quot;a&quot;">The @func(Path)</arg>
      <arg index=" 2x" name="mode" type="l">Mode</arg>
    </command>)");
  EXPECT_TRUE(read.console.lines.empty());
  const Command& c = read.command();
  EXPECT_EQ(u8(c.name), "Open");
  EXPECT_EQ(u8(c.description), "Opens <span class='syntax'> x</span>");
  EXPECT_EQ(u8(c.result.name), "handle");
  EXPECT_EQ(u8(c.result.type), "i");
  EXPECT_TRUE(c.result.pointer);
  EXPECT_EQ(u8(c.result.description), "The <b> handle");
  ASSERT_EQ(c.osList.size(), 2u);
  EXPECT_EQ(u8(c.osList[1]), "<i> Linux");
  ASSERT_EQ(c.noOsList.size(), 1u);
  EXPECT_EQ(u8(c.noOsList[0]), "MacOS");
  ASSERT_EQ(c.examples.size(), 2u);
  EXPECT_EQ(u8(c.examples[0].name), "Simple");
  EXPECT_EQ(u8(c.examples[0].text), "<pre>Open(\"a\")</pre>");
  EXPECT_EQ(u8(read.model.sources.path(c.examples[1].source)), "/doc/library/command/example[2]");
  EXPECT_EQ(u8(c.examples[1].text), "x &amp; y");
  EXPECT_EQ(u8(c.keywords), ";open");
  ASSERT_EQ(c.args.size(), 2u);
  EXPECT_EQ(u8(c.args[0].index), "1");
  EXPECT_EQ(c.args[0].indexValue, 1);
  EXPECT_EQ(u8(c.args[0].name), "path");
  EXPECT_EQ(u8(c.args[0].type), "s");
  EXPECT_EQ(u8(c.args[0].defaultValue), "\"a\"");
  EXPECT_EQ(u8(c.args[0].description), "The <span class='syntax'>Path()</span>");
  EXPECT_EQ(u8(read.model.sources.path(c.args[0].source)), "/doc/library/command/arg");
  EXPECT_EQ(u8(c.args[1].index), " 2x");
  EXPECT_EQ(c.args[1].indexValue, 2);
  EXPECT_EQ(u8(c.args[1].defaultValue), "");
}

TEST(Items, ResultNames) {
  struct Case { const char* result; const char* name; bool pointer; };
  const Case cases[] = {
      {"<result/>", "Ergebnis", false},
      {"<result name=''>x</result>", "Ergebnis", false},
      {"<result name='  '/>", "  ", false},
      {"<result name='r' pointer='yes'/>", "r", true},
      {"<result pointer='no'/>", "Ergebnis", false},
      {"<result pointer='YES '/>", "Ergebnis", true},
      {"", "", false},
  };
  for (const Case& c : cases) {
    Read read(std::string("<command name='C'>") + c.result + "</command><macro name='M'>" + c.result +
              "</macro>");
    EXPECT_EQ(u8(read.command().result.name), c.name) << c.result;
    EXPECT_EQ(read.command().result.pointer, c.pointer) << c.result;
    EXPECT_EQ(u8(read.library().macros.at(0).result.name), c.name) << c.result;
    EXPECT_EQ(read.library().macros.at(0).result.pointer, c.pointer) << c.result;
  }
}

TEST(Items, ArgumentIndexValues) {
  struct Case { const char* index; int64_t value; };
  const Case cases[] = {{"3", 3}, {"abc", 0}, {" 12ab", 12}, {"$1F", 31}, {"", 0}, {"-2", -2}};
  for (const Case& c : cases) {
    Read read(std::string("<command name='C'><arg index='") + c.index + "' name='a'/></command>");
    EXPECT_EQ(u8(read.command().args.at(0).index), c.index);
    EXPECT_EQ(read.command().args.at(0).indexValue, c.value) << c.index;
  }
}

TEST(Items, References) {
  struct Case {
    const char* element;
    ReferenceKind kind;
    const char* library;
    const char* member;
    const char* cls;
    const char* constant;
    const char* structure;
  };
  const Case cases[] = {
      {"<reflibrary name='Net' lib='Ignored'/>", ReferenceKind::Library, "Net", "", "", "", ""},
      {"<reflibrary name=' Net '/>", ReferenceKind::Library, " Net ", "", "", "", ""},
      {"<refclass name='Stream'/>", ReferenceKind::Class, "Files", "", "Stream", "", ""},
      {"<refclass lib=' Net ' name='Pipe'/>", ReferenceKind::Class, "Net", "", "Pipe", "", ""},
      {"<refcommand name='Open'/>", ReferenceKind::Command, "Files", "Open", "", "", ""},
      {"<refcommand lib='  ' name=' Open '/>", ReferenceKind::Command, "Files", " Open ", "", "", ""},
      {"<refmacro lib='Math' name='Min'/>", ReferenceKind::Macro, "Math", "Min", "", "", ""},
      {"<refmember class='Stream' name='Close'/>", ReferenceKind::Member, "Files", "Close", "Stream", "", ""},
      {"<refmember lib='Net' class=' Pipe ' name='Get'/>", ReferenceKind::Member, "Net", "Get", "Pipe", "", ""},
      // Without a class attribute the class is the name of the library being read.
      {"<refmember lib='Net' name='Get'/>", ReferenceKind::Member, "Net", "Get", "Files", "", ""},
      {"<refconstant name='Max'/>", ReferenceKind::Constant, "Files", "", "", "Max", ""},
      {"<refstructure lib='Net' name='Info'/>", ReferenceKind::Structure, "Net", "", "", "", "Info"},
      {"<refcommand/>", ReferenceKind::Command, "Files", "", "", "", ""},
  };
  for (const char* libraryName : {"Files", " Files\t"}) {
    for (const Case& c : cases) {
      Read read(std::string("<command name='C'>") + c.element + "</command>", libraryName);
      ASSERT_EQ(read.command().references.size(), 1u) << c.element;
      const Reference& ref = read.command().references[0];
      EXPECT_EQ(ref.kind, c.kind) << c.element;
      EXPECT_EQ(u8(ref.library), c.library) << c.element;
      EXPECT_EQ(u8(ref.memberName), c.member) << c.element;
      EXPECT_EQ(u8(ref.className), c.cls) << c.element;
      EXPECT_EQ(u8(ref.constantName), c.constant) << c.element;
      EXPECT_EQ(u8(ref.structureName), c.structure) << c.element;
      std::string element = c.element;
      std::string name = element.substr(1, element.find_first_of(" /") - 1);
      EXPECT_EQ(u8(read.model.sources.path(ref.source)), "/doc/library/command/" + name);
    }
  }
}

TEST(Items, ReferencesKeepDocumentOrder) {
  Read read(R"(<command name="C"><refcommand name="b"/><reflibrary name="L"/><refcommand name="a"/>
    <refcommands name="x"/><refCommand name="y"/></command>)");
  const auto& refs = read.command().references;
  ASSERT_EQ(refs.size(), 3u);
  EXPECT_EQ(u8(refs[0].memberName), "b");
  EXPECT_EQ(refs[1].kind, ReferenceKind::Library);
  EXPECT_EQ(u8(refs[2].memberName), "a");
}

TEST(Items, RepeatedChildren) {
  Read read(R"(<command name="C">
      <description>one</description><description>two</description>
      <result name="a"/><result type="t"/>
      <keywords>k1</keywords><keywords> k 2 </keywords>
    </command>
    <constant name="K"><description>a</description><description>b</description>
      <keywords>x</keywords><keywords>y</keywords></constant>)");
  const Command& c = read.command();
  EXPECT_EQ(u8(c.description), "two");
  // A second result overwrites every field, and gets the default name.
  EXPECT_EQ(u8(c.result.name), "Ergebnis");
  EXPECT_EQ(u8(c.result.type), "t");
  EXPECT_EQ(u8(c.keywords), ";k1; k 2 ");
  const Constant& k = read.library().constants.at(0);
  EXPECT_EQ(u8(k.description), "b");
  EXPECT_EQ(u8(k.keywords), ";x;y");
}

TEST(Items, ClassMethodsAreNotLibraryCommands) {
  Read read(R"(<class name="Stream" deprecated="yes">
      <description>A @bold stream</description>
      <keywords>io</keywords>
      <command name="Close" deprecated=" yes "><description>Closes @refmember(Flush)</description>
        <refmember name="Flush"/></command>
      <command name="Flush"/>
    </class>
    <command name="Open"/>)");
  ASSERT_EQ(read.library().commands.size(), 1u);
  EXPECT_EQ(u8(read.command().name), "Open");
  const Class& cls = read.library().classes.at(0);
  EXPECT_EQ(u8(cls.name), "Stream");
  EXPECT_TRUE(cls.deprecated);
  EXPECT_EQ(u8(cls.description), "A <b> stream");
  EXPECT_EQ(u8(cls.keywords), ";io");
  ASSERT_EQ(cls.methods.size(), 2u);
  const Command& close = cls.methods[0];
  EXPECT_EQ(u8(close.name), "Close");
  EXPECT_TRUE(close.deprecated);
  EXPECT_EQ(u8(read.model.sources.path(close.source)), "/doc/library/class/command");
  EXPECT_EQ(u8(close.description),
            "Closes <a href='Files_c_Stream_m_Flush.html' class='syntax'>Files: Stream\\Flush()</a>");
  ASSERT_EQ(close.references.size(), 1u);
  EXPECT_EQ(u8(close.references[0].library), "Files");
  EXPECT_FALSE(cls.methods[1].deprecated);
}

TEST(Items, StructureElements) {
  Read read(R"(<structure name="Info" deprecated="YES">
      <description>What is known</description>
      <element name="size" type="q" offset="0">Size &amp; more</element>
      <element name="date" type="q" offset="$10"><![CDATA[<i>date</i>]]></element>
      <element offset=" 8 bytes"/>
      <keywords>k</keywords>
    </structure>)");
  const Structure& s = read.library().structures.at(0);
  EXPECT_EQ(u8(s.name), "Info");
  EXPECT_TRUE(s.deprecated);
  EXPECT_EQ(u8(s.description), "What is known");
  EXPECT_EQ(u8(s.keywords), ";k");
  ASSERT_EQ(s.elements.size(), 3u);
  EXPECT_EQ(u8(s.elements[0].name), "size");
  EXPECT_EQ(u8(s.elements[0].type), "q");
  EXPECT_EQ(u8(s.elements[0].description), "Size &amp; more");
  EXPECT_EQ(u8(s.elements[0].offset), "0");
  EXPECT_EQ(s.elements[1].offsetValue, 16);
  EXPECT_EQ(u8(s.elements[1].description), "<i>date</i>");
  EXPECT_EQ(u8(read.model.sources.path(s.elements[1].source)), "/doc/library/structure/element[2]");
  EXPECT_EQ(u8(s.elements[2].name), "");
  EXPECT_EQ(u8(s.elements[2].offset), " 8 bytes");
  EXPECT_EQ(s.elements[2].offsetValue, 8);
}

TEST(Items, Macros) {
  Read read(R"(<macro name="Min" deprecated="no">
      <description>The smaller</description>
      <keywords>min</keywords>
      <arg index="1" name="a" type="l" default="5">first</arg>
      <arg index="$2" name="b">second</arg>
      <result name="m" type="l">the minimum</result>
      <os>Windows</os>
    </macro>
    <macro name="Pi"/>)");
  ASSERT_EQ(read.library().macros.size(), 2u);
  const Macro& m = read.library().macros[0];
  EXPECT_FALSE(m.deprecated);
  EXPECT_EQ(u8(m.description), "The smaller");
  EXPECT_EQ(u8(m.keywords), ";min");
  ASSERT_EQ(m.args.size(), 2u);
  EXPECT_EQ(u8(m.args[0].name), "a");
  EXPECT_EQ(u8(m.args[0].type), "l");
  EXPECT_EQ(u8(m.args[0].description), "first");
  EXPECT_EQ(u8(m.args[0].defaultValue), "");  // a macro argument has no default
  EXPECT_EQ(m.args[1].indexValue, 2);
  EXPECT_EQ(u8(m.result.name), "m");
  EXPECT_EQ(u8(m.result.description), "the minimum");
  const Macro& pi = read.library().macros[1];
  EXPECT_TRUE(pi.args.empty());
  EXPECT_EQ(u8(pi.result.name), "");
}

TEST(Items, UnlistedChildrenAndOtherNodesAreSkipped) {
  Read read(R"(<command name="C"><!-- c --><args><arg index="1" name="hidden"/></args>
      <Description>upper</Description><?pi?><arg index="1" name="kept"/>
      <element name="e"/><command name="nested"/></command>
    <constant name="K"><arg index="1" name="x"/><result/></constant>
    <structure name="S"><arg index="1" name="x"/><command name="y"/></structure>
    <class name="Cl"><arg index="1" name="x"/><class name="inner"/></class>)");
  const Command& c = read.command();
  ASSERT_EQ(c.args.size(), 1u);
  EXPECT_EQ(u8(c.args[0].name), "kept");
  EXPECT_EQ(u8(c.description), "");
  EXPECT_TRUE(read.library().structures.at(0).elements.empty());
  EXPECT_TRUE(read.library().classes.at(0).methods.empty());
  EXPECT_EQ(read.library().classes.size(), 1u);
  EXPECT_EQ(read.library().commands.size(), 1u);
  EXPECT_TRUE(read.console.lines.empty());
}

TEST(Items, DescriptionWithChildElementsWarns) {
  Read read("<command name='C'><description>see <b>this</b> &amp; that</description></command>");
  EXPECT_EQ(u8(read.command().description), "see  &amp; that");
  EXPECT_EQ(read.console.utf8Lines(),
            (std::vector<std::string>{"Warning in node: /doc/library/command/description",
                                      "Only CData Nodes are allowed."}));
}

}  // namespace
}  // namespace thc
