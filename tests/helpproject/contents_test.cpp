#include "helpproject/contents.h"

#include <gtest/gtest.h>

#include "base/console.h"
#include "helpproject/temp_folder.h"
#include "support/run_program.h"
#include "support/u16.h"

namespace thc {
namespace {

using testing::u16;
using testing::u8;

// One sitemap entry of the contents file, as the file must hold it.
std::string entry(const std::string& local, const std::string& name) {
  return "<LI> <OBJECT type=\"text/sitemap\">\n"
         "<param name=\"name\" value=\"" + name + "\">\n"
         "<param name=\"Local\" value=\"" + local + "\">\n"
         "</OBJECT> </LI>\n";
}

const std::string open = "<UL>\n";
const std::string close = "</UL>\n";
const std::string projectHead =
    entry("index.html", "Index") + entry("index.html#libraries", "Libraries") + open;

Command command(const char16_t* name) {
  Command c;
  c.name = name;
  return c;
}

TEST(ContentsEntry, HasFourLinesWithLowerCaseNameAndCapitalLocal) {
  EXPECT_EQ(contentsEntry(u"Gfx_f_Plot.html", u"Plot", u"en"),
            "<LI> <OBJECT type=\"text/sitemap\">\n"
            "<param name=\"name\" value=\"Plot\">\n"
            "<param name=\"Local\" value=\"Gfx_f_Plot.html\">\n"
            "</OBJECT> </LI>\n");
}

// The name and the link target are written in the code page of the help
// language, in which help compilers read the whole file.
TEST(ContentsEntry, EscapesOnlyQuotesAndAngleBracketsAndEncodesForTheLanguage) {
  struct Case { const char16_t* lang; const char16_t* text; const char* written; };
  const Case cases[] = {
      {u"en", u"a\"b", "a&quot;b"},
      {u"en", u"<b>", "&lt;b&gt;"},
      {u"en", u"x & y", "x & y"},
      {u"en", u"it's", "it's"},
      {u"en", u"&quot;", "&quot;"},
      {u"en", u"", ""},
      {u"de", u"Größe für <Käse>", "Gr\xF6\xDF" "e f\xFCr &lt;K\xE4se&gt;"},
      {u"de", u"Ω≠ü", "&#937;&#8800;\xFC"},
      {u"0x407", u"a😀b", "a&#128512;b"},
      {u"de", u"a\xD800z", "a&#65533;z"},  // a lone surrogate
      {u"0x419", u"Привет ü", "\xCF\xF0\xE8\xE2\xE5\xF2 &#252;"},
      {u"ru", u"Привет", "&#1055;&#1088;&#1080;&#1074;&#1077;&#1090;"},
      {u"0x0408", u"Ωμέγα", "\xD9\xEC\xDD\xE3\xE1"},
      {u"0x804", u"中文", "\xD6\xD0\xCE\xC4"},
      // No stand-in for a character the code page lacks: not "\" for the yen sign.
      {u"0x411", u"日本¥", "\x93\xFA\x96\x7B&#165;"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(contentsEntry(c.text, c.text, c.lang), entry(c.written, c.written)) << u8(c.text);
  }
}

TEST(ContentsBody, ProjectWithoutLibraries) {
  ProjectModel model;
  EXPECT_EQ(contentsBody(model.project, model.catalog), projectHead + close);
  model.project.title = u"Demo";
  model.project.history = u"<p>1.0</p>";
  EXPECT_EQ(contentsBody(model.project, model.catalog), entry("index.html", "Index") +
                                         entry("Demo_history.html", "History") +
                                         entry("index.html#libraries", "Libraries") + open + close);
}

TEST(ContentsBody, LibraryWithOnlyCommands) {
  ProjectModel model;
  Library gfx;
  gfx.name = u"Gfx";
  gfx.commands = {command(u"Line"), command(u"Plot")};
  model.project.libraries.push_back(gfx);
  EXPECT_EQ(contentsBody(model.project, model.catalog),
            projectHead + entry("Gfx_index.html", "Gfx") + open +
                entry("Gfx_index.html#commands", "Commands") + open +
                entry("Gfx_f_Line.html", "Line") + entry("Gfx_f_Plot.html", "Plot") + close +
                close + close);
}

TEST(ContentsBody, LibraryWithEverySectionInTheFixedOrder) {
  ProjectModel model;
  Library lib;
  lib.name = u"L";
  lib.history = u"h";
  Structure s;
  s.name = u"S";
  lib.structures.push_back(s);
  Constant pi;
  pi.name = u"PI";
  lib.constants.push_back(pi);
  Macro min;
  min.name = u"Min";
  lib.macros.push_back(min);
  Class stream;
  stream.name = u"Stream";
  stream.methods = {command(u"Open"), command(u"Close")};
  Class empty;  // a class without methods: no sub-list of its own
  empty.name = u"Empty";
  lib.classes = {stream, empty};
  lib.commands = {command(u"f")};
  model.project.libraries.push_back(lib);

  EXPECT_EQ(contentsBody(model.project, model.catalog),
            projectHead + entry("L_index.html", "L") + open +
                entry("L_index.html#structures", "Structures") + open +
                entry("L_s_S.html", "S") + close +
                entry("L_index.html#constants", "Constants") + open +
                entry("L_constant.html#PI", "#PI") + close +
                entry("L_index.html#macros", "Makros") + open +
                entry("L_macro.html#Min", "Min") + close +
                entry("L_index.html#classes", "Classes") + open +
                entry("L_c_Stream.html", "Stream") + open +
                entry("L_c_Stream_m_Open.html", "Open") +
                entry("L_c_Stream_m_Close.html", "Close") + close +
                entry("L_c_Empty.html", "Empty") + close +
                entry("L_index.html#commands", "Commands") + open + entry("L_f_f.html", "f") +
                close + entry("L_macro.html", "Macros") + entry("L_history.html", "History") +
                close + close);
}

TEST(ContentsBody, HeadingsComeFromTheCatalogByTheirKeys) {
  ProjectModel model;
  Library lib;
  lib.name = u"M";
  Macro max;
  max.name = u"Max";
  lib.macros.push_back(max);
  model.project.libraries.push_back(lib);

  struct Case { const char16_t* key; const char* first; const char* second; };
  const Case cases[] = {
      {u"makros", "Makroliste", "Macros"},  // only the heading of the macro list
      {u"macros", "Makros", "Makroliste"},  // only the entry of the macros page
      {u"libraries", "Makros", "Macros"},
  };
  for (const Case& c : cases) {
    model.catalog = {{c.key, u"Makroliste"}};
    const std::string libraries =
        std::u16string(c.key) == u"libraries" ? "Makroliste" : "Libraries";
    EXPECT_EQ(contentsBody(model.project, model.catalog),
              entry("index.html", "Index") + entry("index.html#libraries", libraries) + open +
                  entry("M_index.html", "M") + open + entry("M_index.html#macros", c.first) +
                  open + entry("M_macro.html#Max", "Max") + close +
                  entry("M_macro.html", c.second) + close + close)
        << u8(c.key);
  }
}

TEST(ContentsBody, EmptyNamesStillGiveEntriesAndQuotesAreEscaped) {
  ProjectModel model;
  Library lib;
  lib.name = u"A\"B";
  lib.commands = {command(u""), command(u"<x>")};
  model.project.libraries.push_back(lib);
  EXPECT_EQ(contentsBody(model.project, model.catalog),
            projectHead + entry("A&quot;B_index.html", "A&quot;B") + open +
                entry("A&quot;B_index.html#commands", "Commands") + open +
                entry("A&quot;B_f_.html", "") + entry("A&quot;B_f_&lt;x&gt;.html", "&lt;x&gt;") +
                close + close + close);
}

TEST(WriteContentsFile, WritesTheFixedHeadAndTailAroundTheBody) {
  testing::TempFolder folder;
  const std::string& dir = folder.path;
  MemoryConsole console;
  OutputFolder output(u16(dir + "/"));
  EXPECT_TRUE(writeContentsFile(console, output, "BODY\n"));
  EXPECT_EQ(testing::readFile(dir + "/toc.hhc"),
            "<HTML><HEAD><meta name=\"GENERATOR\" content=\"TarnelTHC help compiler\"></HEAD>\n"
            "<BODY><OBJECT type=\"text/site properties\">\n"
            "<param name=\"Window Styles\" value=\"0x800025\">\n"
            "</OBJECT>\n"
            "<UL>\n"
            "BODY\n"
            "</UL></BODY></HTML>\n");
  EXPECT_TRUE(console.lines.empty());

  OutputFolder missing(u16(dir + "/no/"));
  EXPECT_FALSE(writeContentsFile(console, missing, ""));
  EXPECT_EQ(console.utf8Lines(), std::vector<std::string>{"Unable to create " + dir + "/no/toc.hhc"});
}

}  // namespace
}  // namespace thc
