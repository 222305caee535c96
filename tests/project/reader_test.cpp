#include "project/reader.h"

#include <gtest/gtest.h>

#include "project/readtext.h"
#include "support/run_program.h"
#include "support/u16.h"

namespace thc {
namespace {

using testing::makeTempDirectory;
using testing::u16;
using testing::u8;
using testing::writeFile;

using Lines = std::vector<std::string>;

// One read of a project text. With a directory, the text is also stored as
// main.xml there and imports resolve against it.
struct Read {
  explicit Read(const std::string& xml, const std::string& directory = "") {
    if (!directory.empty()) {
      writeFile(directory + "/main.xml", xml);
      model.projectFile = u16(directory + "/main.xml");
      model.projectDir = u16(directory + "/");
    }
    tree = parseDocument(xml);
    readProject(model, console, rootElement(*tree));
  }

  const Project& project() const { return model.project; }
  Lines lines() const { return console.utf8Lines(); }
  std::vector<std::string> libraryNames() const {
    std::vector<std::string> names;
    for (const Library& library : model.project.libraries) names.push_back(u8(library.name));
    return names;
  }

  std::unique_ptr<DocTree> tree;
  ProjectModel model;
  MemoryConsole console;
};

TEST(Reader, DocumentLevelElementsLandInTheirFields) {
  Read read(R"(<doc title=" The Kit " lang=" DE ">
    <description>@bold Intro@endbold</description>
    <author>Ann &amp; Bob</author>
    <license><![CDATA[<p>free</p>]]></license>
    <copyright>(c) 2024</copyright>
    <version>1.0</version>
    <history>@linebreak</history>
    <catalog>
      Author = Autor @bold
    </catalog>
  </doc>)");
  const Project& p = read.project();
  EXPECT_EQ(u8(p.title), " The Kit ");
  EXPECT_EQ(u8(p.lang), "de");
  EXPECT_EQ(u8(read.model.sources.path(p.docSource)), "/doc");
  EXPECT_EQ(u8(p.description), "<b> Intro</b>");
  EXPECT_EQ(u8(p.author), "Ann &amp; Bob");
  EXPECT_EQ(u8(p.license), "<p>free</p>");
  EXPECT_EQ(u8(p.copyright), "(c) 2024");
  EXPECT_EQ(u8(p.version), "1.0");
  EXPECT_EQ(u8(p.history), "<br>");
  // The catalog text is trimmed but not translated.
  EXPECT_EQ(u8(p.catalogSource), "Author = Autor @bold");
  EXPECT_TRUE(read.lines().empty());
}

TEST(Reader, LanguageIsTrimmedAndLowered) {
  struct Case { const char* attribute; const char* lang; };
  const Case cases[] = {
      {"lang=\" DE \"", "de"}, {"", ""}, {"lang=\"Fr\"", "fr"}, {"lang=\"0x407\"", "0x407"},
      {"LANG=\"de\"", ""},  // attribute names are case-sensitive
  };
  for (const Case& c : cases) {
    Read read(std::string("<doc title=\"t\" ") + c.attribute + "/>");
    EXPECT_EQ(u8(read.project().lang), c.lang) << c.attribute;
  }
}

TEST(Reader, LaterSingleValuedElementsOverwrite) {
  Read read(R"(<doc title="t">
    <description>first</description><description>second</description>
    <library name="L"><version>1</version><version>2</version>
      <description>a</description><description>b</description>
      <history>h1</history><history>h2</history></library>
    <version>v1</version><version>v2</version>
  </doc>)");
  EXPECT_EQ(u8(read.project().description), "second");
  EXPECT_EQ(u8(read.project().version), "v2");
  const Library& library = read.project().libraries.at(0);
  EXPECT_EQ(u8(library.version), "2");
  EXPECT_EQ(u8(library.description), "b");
  EXPECT_EQ(u8(library.history), "h2");
}

TEST(Reader, OnlyARootNamedDocIsRead) {
  for (const char* xml : {"<Doc title='t'><library name='A'/></Doc>",
                          "<library name='A'><command name='x'/></library>",
                          "<project title='t'><doc title='inner'/></project>"}) {
    Read read(xml);
    EXPECT_TRUE(read.project().libraries.empty()) << xml;
    EXPECT_EQ(u8(read.project().title), "") << xml;
    EXPECT_EQ(read.project().docSource.index, 0u) << xml;
    EXPECT_TRUE(read.lines().empty()) << xml;
  }
}

TEST(Reader, ElementText) {
  struct Case {
    const char* element;
    const char* text;
    bool warns;
  };
  const Case cases[] = {
      {"<description>\n  a &amp; b &amp;amp; c\r\n</description>", "a &amp; b &amp;amp; c", false},
      {"<description><![CDATA[  a & <b>b</b>  ]]></description>", "  a & <b>b</b>  ", false},
      {"<description>  <![CDATA[x]]>  </description>", "x", false},  // the blanks are own text
      {"<description><![CDATA[x]]> tail <![CDATA[y]]></description>", "x", false},
      {"<description><!-- c --><![CDATA[x]]></description>", "", true},
      {"<description> own <b>bold</b> text </description>", "own  text", true},
      {"<description><?pi x?>a</description>", "a", true},
      {"<description/>", "", false},
      {"<description>\t x \x7f</description>", "x \x7f", false},
  };
  for (const Case& c : cases) {
    std::unique_ptr<DocTree> tree = parseDocument(std::string("<doc>") + c.element + "</doc>");
    ASSERT_EQ(tree->status, 0) << c.element;
    const DocNode* element = rootElement(*tree)->firstChild;
    MemoryConsole console;
    EXPECT_EQ(u8(readElementText(element, console)), c.text) << c.element;
    Lines expected;
    if (c.warns) expected = {"Warning in node: /doc/description", "Only CData Nodes are allowed."};
    EXPECT_EQ(console.utf8Lines(), expected) << c.element;
  }
}

TEST(Reader, EscapeAmpersands) {
  struct Case { const char* text; const char* escaped; };
  const Case cases[] = {
      {"", ""}, {"&", "&amp;"}, {" a&b ", "a&amp;b"}, {"&&", "&amp;&amp;"},
      {"<x> \"q\"", "<x> \"q\""}, {"\r\n&\r\n", "&amp;"},
  };
  for (const Case& c : cases) EXPECT_EQ(u8(escapeAmpersands(u16(c.text))), c.escaped) << c.text;
}

TEST(Reader, CurrentLibraryAndClass) {
  Project project;
  EXPECT_EQ(u8(currentLibraryName(project)), "");
  EXPECT_EQ(u8(currentClassName(project)), "");
  Library& first = project.libraries.emplace_back();
  first.name = u" Files ";
  first.classes.emplace_back().name = u"Stream";
  first.classes.emplace_back().name = u"Pipe";
  EXPECT_EQ(u8(currentLibraryName(project)), " Files ");
  EXPECT_EQ(u8(currentClassName(project)), "Pipe");
  // A library whose first class has not been read yet has no current class,
  // even though an earlier library had some.
  project.libraries.emplace_back().name = u"Net";
  EXPECT_EQ(u8(currentLibraryName(project)), "Net");
  EXPECT_EQ(u8(currentClassName(project)), "");
}

TEST(Reader, LibraryLevelElementsLandInTheirFields) {
  Read read(R"(<doc title="t">
    <library name=" Files " deprecated=" YES ">
      <description>Read @func(Open)</description>
      <version>2.0</version>
      <history>h</history>
      <keywords> a;b </keywords>
      <keywords><![CDATA[cd]]>x
</keywords>
      <globalos>Windows</globalos>
      <globalos>@bold Linux</globalos>
      <constant name="Max" deprecated="yes"/>
      <command name="Open"/>
      <class name="Stream"/>
      <structure name="Info"/>
      <macro name="Min"/>
      <command name="Close"/>
    </library>
  </doc>)");
  ASSERT_EQ(read.project().libraries.size(), 1u);
  const Library& library = read.project().libraries[0];
  EXPECT_EQ(u8(library.name), " Files ");
  EXPECT_TRUE(library.deprecated);
  EXPECT_EQ(u8(read.model.sources.path(library.source)), "/doc/library");
  EXPECT_EQ(u8(library.description), "Read <span class='syntax'>Open()</span>");
  EXPECT_EQ(u8(library.version), "2.0");
  EXPECT_EQ(u8(library.history), "h");
  // Own text only, untrimmed; the CDATA content is not part of it.
  EXPECT_EQ(u8(library.keywords), "; a;b ;x\n");
  ASSERT_EQ(library.globalOs.size(), 2u);
  EXPECT_EQ(u8(library.globalOs[0]), "Windows");
  EXPECT_EQ(u8(library.globalOs[1]), "<b> Linux");
  ASSERT_EQ(library.constants.size(), 1u);
  EXPECT_EQ(u8(library.constants[0].name), "Max");
  EXPECT_TRUE(library.constants[0].deprecated);
  EXPECT_EQ(u8(read.model.sources.path(library.constants[0].source)), "/doc/library/constant");
  ASSERT_EQ(library.commands.size(), 2u);
  EXPECT_EQ(u8(library.commands[0].name), "Open");
  EXPECT_EQ(u8(library.commands[1].name), "Close");
  EXPECT_EQ(u8(read.model.sources.path(library.commands[1].source)), "/doc/library/command[2]");
  EXPECT_FALSE(library.commands[0].deprecated);
  ASSERT_EQ(library.classes.size(), 1u);
  EXPECT_EQ(u8(library.classes[0].name), "Stream");
  ASSERT_EQ(library.structures.size(), 1u);
  EXPECT_EQ(u8(library.structures[0].name), "Info");
  ASSERT_EQ(library.macros.size(), 1u);
  EXPECT_EQ(u8(library.macros[0].name), "Min");
  EXPECT_TRUE(read.lines().empty());
}

TEST(Reader, DeprecatedSpellings) {
  struct Case { const char* attribute; bool deprecated; };
  const Case cases[] = {
      {"deprecated=\"yes\"", true},   {"deprecated=\" YES \"", true}, {"deprecated=\"Yes\n\"", true},
      {"deprecated=\"no\"", false},   {"deprecated=\"y\"", false},    {"deprecated=\"yes please\"", false},
      {"deprecated=\"\"", false},     {"", false},                    {"Deprecated=\"yes\"", false},
      {"deprecated=\"1\"", false},
  };
  for (const Case& c : cases) {
    Read read(std::string("<doc title='t'><library name='L' ") + c.attribute + "><command name='C' " +
              c.attribute + "/></library></doc>");
    EXPECT_EQ(read.project().libraries.at(0).deprecated, c.deprecated) << c.attribute;
    EXPECT_EQ(read.project().libraries.at(0).commands.at(0).deprecated, c.deprecated) << c.attribute;
  }
}

TEST(Reader, UnlistedElementsAndOtherNodesAreSkipped) {
  Read read(R"(<doc title="t">
    <!-- a comment -->
    <?tool setting?>
    <Library name="Upper"/>
    <extra><library name="Hidden"/></extra>
    <library name="L">
      <!-- comment --><?pi?>
      <Command name="Upper"/>
      <group><command name="Hidden"/></group>
      <arg index="1" name="x"/>
      <command name="Kept"/>
    </library>
    <command name="Stray"/>
  </doc>)");
  EXPECT_EQ(read.libraryNames(), (std::vector<std::string>{"L"}));
  const Library& library = read.project().libraries[0];
  ASSERT_EQ(library.commands.size(), 1u);
  EXPECT_EQ(u8(library.commands[0].name), "Kept");
  EXPECT_TRUE(read.lines().empty());
}

TEST(Reader, ImportsOutsideTheDocumentLevelOrWithoutFileAreIgnored) {
  std::string dir = makeTempDirectory();
  writeFile(dir + "/lib.xml", "<library name='Imported'/>");
  Read read(R"(<doc title="t">
    <import file=""/>
    <import file="  "/>
    <import/>
    <library name="L"><import file="lib.xml"/></library>
  </doc>)", dir);
  EXPECT_EQ(read.libraryNames(), (std::vector<std::string>{"L"}));
  EXPECT_TRUE(read.lines().empty());
  EXPECT_TRUE(read.project().importedDocs.empty());
}

TEST(Reader, ImportReadsTheFileWhereItStands) {
  std::string dir = makeTempDirectory();
  writeFile(dir + "/lib.xml",
            "<?xml version='1.0'?>\n<!-- c -->\n<library name='B'><command name='Open'>"
            "<description>@refcommand(Close)</description></command></library>\n<!-- after -->");
  Read read(R"(<doc title="t">
    <library name="A"/>
    <import file="lib.xml"/>
    <library name="C"/>
  </doc>)", dir);
  EXPECT_EQ(read.libraryNames(), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(read.lines(), (Lines{"Importing external file " + dir + "/lib.xml", "success", "File ok",
                                 "Parsing file ...", "done"}));
  ASSERT_EQ(read.project().importedDocs.size(), 1u);
  // The imported nodes stay alive for the checks.
  const Library& imported = read.project().libraries[1];
  EXPECT_EQ(u8(read.model.sources.path(imported.source)), "/library");
  EXPECT_EQ(u8(imported.commands.at(0).description),
            "<a href='B_f_Close.html' class='syntax'>B: Close()</a>");
}

TEST(Reader, ImportFailures) {
  std::string dir = makeTempDirectory();
  writeFile(dir + "/bad.xml", "<library name='A'>\n<command>\n</library>");
  writeFile(dir + "/empty.xml", "");
  writeFile(dir + "/doc.xml", "<doc title='x'><library name='Inner'/></doc>");
  Read read(R"(<doc title="t">
    <import file="missing.xml"/>
    <import file="empty.xml"/>
    <import file="bad.xml"/>
    <import file="doc.xml"/>
    <import file="/abs.xml"/>
    <library name="After"/>
  </doc>)", dir);
  EXPECT_EQ(read.libraryNames(), (std::vector<std::string>{"After"}));
  EXPECT_EQ(read.lines(), (Lines{
                              "Importing external file " + dir + "/missing.xml", "failed",
                              "Importing external file " + dir + "/empty.xml", "failed",
                              "Importing external file " + dir + "/bad.xml", "success",
                              "File is defective [3:3]", "Error mismatched tag",
                              // A doc root is not a document-level element.
                              "Importing external file " + dir + "/doc.xml", "success", "File ok",
                              "Parsing file ...", "done",
                              "Importing external file " + dir + "//abs.xml", "failed",
                          }));
  EXPECT_EQ(read.project().importedDocs.size(), 1u);
  EXPECT_EQ(u8(read.project().title), "t");
}

TEST(Reader, NestedImportsAreReadDepthFirst) {
  std::string dir = makeTempDirectory();
  // Only the root element of an imported file is at document level, so a
  // nested import is the root of its file.
  writeFile(dir + "/outer.xml", "<import file='inner.xml'/>");
  writeFile(dir + "/inner.xml", "<library name='Inner'/>");
  Read read(R"(<doc title="t"><import file="outer.xml"/><library name="Last"/></doc>)", dir);
  EXPECT_EQ(read.libraryNames(), (std::vector<std::string>{"Inner", "Last"}));
  EXPECT_EQ(read.lines(), (Lines{"Importing external file " + dir + "/outer.xml", "success", "File ok",
                                 "Parsing file ...", "Importing external file " + dir + "/inner.xml",
                                 "success", "File ok", "Parsing file ...", "done", "done"}));
  EXPECT_EQ(read.project().importedDocs.size(), 2u);
}

TEST(Reader, ImportCyclesAreSkippedButRepeatsAreRead) {
  std::string dir = makeTempDirectory();
  writeFile(dir + "/self.xml", "<import file='self.xml'/>");
  writeFile(dir + "/a.xml", "<import file='b.xml'/>");
  writeFile(dir + "/b.xml", "<import file='./a.xml'/>");
  writeFile(dir + "/back.xml", "<import file='main.xml'/>");
  writeFile(dir + "/lib.xml", "<library name='Twice'/>");
  Read read(R"(<doc title="t">
    <import file="main.xml"/>
    <import file="self.xml"/>
    <import file="a.xml"/>
    <import file="back.xml"/>
    <import file="lib.xml"/>
    <import file="lib.xml"/>
  </doc>)", dir);
  const std::string at = "Importing external file " + dir + "/";
  const std::string skipped = "Import cycle, file skipped";
  EXPECT_EQ(read.lines(), (Lines{
                              at + "main.xml", skipped,
                              at + "self.xml", "success", "File ok", "Parsing file ...",
                              at + "self.xml", skipped, "done",
                              at + "a.xml", "success", "File ok", "Parsing file ...",
                              at + "b.xml", "success", "File ok", "Parsing file ...",
                              at + "./a.xml", skipped, "done", "done",
                              at + "back.xml", "success", "File ok", "Parsing file ...",
                              at + "main.xml", skipped, "done",
                              at + "lib.xml", "success", "File ok", "Parsing file ...", "done",
                              at + "lib.xml", "success", "File ok", "Parsing file ...", "done",
                          }));
  EXPECT_EQ(read.libraryNames(), (std::vector<std::string>{"Twice", "Twice"}));
}

TEST(Reader, DeeplyNestedImportsDoNotExhaustTheStack) {
  std::string dir = makeTempDirectory();
  const int depth = 2000;
  for (int i = 1; i < depth; ++i) {
    writeFile(dir + "/f" + std::to_string(i) + ".xml",
              "<import file='f" + std::to_string(i + 1) + ".xml'/>");
  }
  writeFile(dir + "/f" + std::to_string(depth) + ".xml", "<library name='Deep'/>");
  Read read(R"(<doc title="t"><import file="f1.xml"/><library name="After"/></doc>)", dir);
  EXPECT_EQ(read.libraryNames(), (std::vector<std::string>{"Deep", "After"}));
  EXPECT_EQ(read.project().importedDocs.size(), static_cast<size_t>(depth));
  Lines lines = read.lines();
  ASSERT_EQ(lines.size(), static_cast<size_t>(depth) * 5);
  EXPECT_EQ(lines.back(), "done");
  EXPECT_EQ(lines[lines.size() - depth - 1], "Parsing file ...");
}

TEST(Reader, ImageNumbersRunOnAcrossImportedFiles) {
  std::string dir = makeTempDirectory();
  writeFile(dir + "/lib.xml",
            "<library name='L'><description>@image(img/b.gif)</description></library>");
  Read read(R"(<doc title="t">
    <description>@image(img/a.png)</description>
    <import file="lib.xml"/>
    <history>@image(img/a.png)</history>
  </doc>)", dir);
  ASSERT_EQ(read.model.project.images.size(), 3u);
  EXPECT_EQ(u8(read.project().description), "<img src='1.png' />");
  EXPECT_EQ(u8(read.project().libraries.at(0).description), "<img src='2.gif' />");
  EXPECT_EQ(u8(read.project().history), "<img src='3.png' />");
  EXPECT_EQ(u8(read.model.project.images[1].source), "img/b.gif");
  EXPECT_EQ(read.model.project.images[2].number, 3);
}

TEST(Reader, ReferencesDefaultToWhatIsBeingReadAtThatMoment) {
  Read read(R"(<doc title="t">
    <description>@refcommand(Before)</description>
    <library name="Files">
      <class name="Stream">
        <description>@refmember(Close)</description>
        <command name="Read"><description>@refmember(Close)</description></command>
      </class>
      <command name="Open"><description>@refmember(Close) @refclass(Pipe)</description></command>
      <class name="Pipe"><description>@refmember(Close)</description></class>
    </library>
    <library name=" Net ">
      <description>@refmember(Get)</description>
    </library>
    <history>@refcommand(After)</history>
  </doc>)");
  const Project& p = read.project();
  EXPECT_EQ(u8(p.description), "<a href='_f_Before.html' class='syntax'>Before()</a>");
  const Library& files = p.libraries.at(0);
  const std::string streamClose =
      "<a href='Files_c_Stream_m_Close.html' class='syntax'>Files: Stream\\Close()</a>";
  EXPECT_EQ(u8(files.classes.at(0).description), streamClose);
  EXPECT_EQ(u8(files.classes.at(0).methods.at(0).description), streamClose);
  EXPECT_EQ(u8(files.commands.at(0).description),
            streamClose + " <a href='Files_c_Pipe.html' class='syntax'>Files: Pipe</a>");
  EXPECT_EQ(u8(files.classes.at(1).description),
            "<a href='Files_c_Pipe_m_Close.html' class='syntax'>Files: Pipe\\Close()</a>");
  // The next library has no class yet, and its name is trimmed.
  EXPECT_EQ(u8(p.libraries.at(1).description),
            "<a href='Net_c__m_Get.html' class='syntax'>Net: Get()</a>");
  // After the libraries the last one read is still the current one.
  EXPECT_EQ(u8(p.history), "<a href='Net_f_After.html' class='syntax'>Net: After()</a>");
}

TEST(Reader, MarkupDiagnosticsNameTheElement) {
  Read read(R"(<doc title="t"><library name="L"><command name="a"/><command name="b">
    <description>x@y</description></command></library></doc>)");
  EXPECT_EQ(read.lines(), (Lines{"Warning at position 2", "Node: /doc/library/command[2]/description",
                                 "suspicious '@'"}));
}

TEST(Reader, ManyItemsAreReadInOrder) {
  const int count = 100000;
  std::string xml = "<doc title='t'><library name='L'>";
  for (int i = 0; i < count; ++i) {
    xml += "<command name='c" + std::to_string(i) + "'><description>d</description></command>";
  }
  xml += "</library></doc>";
  Read read(xml);
  const Library& library = read.project().libraries.at(0);
  ASSERT_EQ(library.commands.size(), static_cast<size_t>(count));
  EXPECT_EQ(u8(library.commands.back().name), "c99999");
  EXPECT_EQ(u8(library.commands.back().description), "d");
}

}  // namespace
}  // namespace thc
