#include "pages/commandpage.h"

#include <gtest/gtest.h>

#include "pages/page_models.h"
#include "support/u16.h"

namespace thc {
namespace {

using testing::argument;
using testing::kWesternNames;
using testing::named;
using testing::u8;

// The text between the first occurrence of `from` and the next `to` after it.
std::string between(const std::string& text, const std::string& from, const std::string& to) {
  const size_t start = text.find(from);
  if (start == std::string::npos) return "<missing " + from + ">";
  const size_t end = text.find(to, start + from.size());
  if (end == std::string::npos) return "<missing " + to + ">";
  return text.substr(start + from.size(), end - start - from.size());
}

std::string libraryCommandBody(const Command& command, const Catalog& catalog = {}) {
  return u8(commandPageBody(catalog, kWesternNames, named<Library>(u"Lib"), command, nullptr,
                            nullptr, nullptr));
}

std::string syntaxLine(const Command& command) {
  return between(libraryCommandBody(command), "<p class='syntax marleft'>", "</p>");
}

TEST(CommandPage, BareCommand) {
  EXPECT_EQ(libraryCommandBody(named<Command>(u"Foo")),
            "<h2>Lib: Foo()</h2><h3>Syntax</h3><p class='syntax marleft'><b>Foo</b>()</p><h3>"
            "Description</h3><div class='marleft'></div><h3>Supported systems</h3><p class='marleft'>"
            "all</p><p class='nextindexprev'><a href='Lib_index.html' class='syntax'>Lib</a></p>");
}

TEST(CommandPage, PlotWithResultOptionalArgumentAndNextCommand) {
  Library gfx = named<Library>(u"Gfx");
  Command plot = named<Command>(u"Plot");
  plot.result.name = u"Result";
  plot.result.type = u"i";
  plot.result.description = u"ok";
  plot.args = {argument(u"x", u"1"), argument(u"y", u"2"), argument(u"color", u"3", u"", u"0")};
  plot.args[0].description = u"left";
  const Command box = named<Command>(u"Box");
  EXPECT_EQ(u8(commandPageBody({}, kWesternNames, gfx, plot, nullptr, &box, nullptr)),
            "<h2>Gfx: Plot()</h2><h3>Syntax</h3>"
            "<p class='syntax marleft'>Result.i = <b>Plot</b>(x, y<span class='syntaxopt'> [, "
            "color=0]</span>)</p>"
            "<h3>Description</h3><div class='marleft'></div>"
            "<h3>Result</h3><table class='marleft'><tr><th>Result</th><th>Description</th></tr>"
            "<tr><td class='padright syntax'>Result.i</td><td>ok</td></tr></table>"
            "<h3>Parameters</h3><table class='marleft'><tr><th>Parameter</th><th>Description</th>"
            "<th>Default</th></tr>"
            "<tr><td class='padright syntax'>x</td><td>left</td><td></td></tr>"
            "<tr><td class='padright syntax'>y</td><td></td><td></td></tr>"
            "<tr><td class='padright syntax'><span class='syntaxopt'>color</span></td><td></td>"
            "<td>0</td></tr></table>"
            "<h3>Supported systems</h3><p class='marleft'>all</p>"
            "<p class='nextindexprev'><a href='Gfx_index.html' class='syntax'>Gfx</a>"
            "&nbsp;&nbsp;&nbsp;<a href='Gfx_f_Box.html' class='syntax'>Gfx: Box()</a>"
            "&nbsp;&nbsp;&nbsp;-&gt;</p>");
}

TEST(CommandPage, SyntaxLine) {
  struct Case {
    const char* what;
    std::vector<Argument> args;
    const char* line;
  };
  const Case cases[] = {
      {"only optional, nested", {argument(u"a", u"1", u"", u"1"), argument(u"b", u"2", u"", u"2")},
       "<b>F</b>(<span class='syntaxopt'>[a=1 [, b=2]]</span>)"},
      {"required after optional stays inside",
       {argument(u"a", u"1"), argument(u"b", u"2", u"", u"5"), argument(u"c", u"3"),
        argument(u"d", u"4", u"", u"6")},
       "<b>F</b>(a<span class='syntaxopt'> [, b=5, c [, d=6]]</span>)"},
      {"index 0 and 1 get no separator",
       {argument(u"a", u"1"), argument(u"b", u"1"), argument(u"c", u"x"), argument(u"d", u"$2")},
       "<b>F</b>(abc, d)"},
      {"optional with index 0", {argument(u"a", u"0", u"", u"1")},
       "<b>F</b>(<span class='syntaxopt'>[a=1]</span>)"},
      {"types but never a pointer mark", {argument(u"n", u"1", u"l"), argument(u"s", u"2", u"s")},
       "<b>F</b>(n.l, s.s)"},
  };
  for (const Case& c : cases) {
    Command command = named<Command>(u"F");
    command.args = c.args;
    EXPECT_EQ(syntaxLine(command), c.line) << c.what;
  }
}

TEST(CommandPage, ResultTextCarriesThePointerMark) {
  Command command = named<Command>(u"F");
  command.result = Result{u"Next", u"Node", u"d", true};
  const std::string body = libraryCommandBody(command);
  EXPECT_EQ(syntaxLine(command), "*Next.Node = <b>F</b>()");
  EXPECT_NE(body.find("<td class='padright syntax'>*Next.Node</td><td>d</td>"), std::string::npos);
}

TEST(CommandPage, DefaultColumnOnlyWithAnOptionalArgument) {
  Command plain = named<Command>(u"F");
  plain.args = {argument(u"a", u"1")};
  EXPECT_EQ(between(libraryCommandBody(plain), "<h3>Parameters</h3>", "</table>"),
            "<table class='marleft'><tr><th>Parameter</th><th>Description</th></tr>"
            "<tr><td class='padright syntax'>a</td><td></td></tr>");
  Command none = named<Command>(u"F");
  EXPECT_EQ(libraryCommandBody(none).find("Parameters"), std::string::npos);
}

TEST(CommandPage, SupportedSystems) {
  struct Case {
    std::vector<std::u16string> os;
    std::vector<std::u16string> noOs;
    const char* text;
  };
  const Case cases[] = {
      {{}, {}, "all"},
      {{u"AmigaOS", u"AROS"}, {}, "AmigaOS, AROS"},
      {{u"AROS"}, {u"MorphOS"}, "AROS"},
      {{}, {u"MorphOS", u"WarpOS"}, "all butMorphOS, WarpOS"},
      // A separator goes in only after a non-empty text: none before the first
      // entry when it comes after an empty one.
      {{u"", u"A", u"", u"B"}, {}, "A, , B"},
  };
  for (const Case& c : cases) {
    Command command = named<Command>(u"F");
    command.osList = c.os;
    command.noOsList = c.noOs;
    EXPECT_EQ(between(libraryCommandBody(command), "<h3>Supported systems</h3><p class='marleft'>",
                      "</p>"),
              c.text);
  }
  const Catalog catalog{{u"allbut", u"alle außer "}, {u"supportedsystems", u"Systeme"}};
  Command command = named<Command>(u"F");
  command.noOsList = {u"X"};
  EXPECT_NE(libraryCommandBody(command, catalog).find(u8(u"<h3>Systeme</h3><p class='marleft'>alle außer X</p>")),
            std::string::npos);
}

Reference reference(ReferenceKind kind, std::u16string library, std::u16string member = {},
                    std::u16string cls = {}, std::u16string constant = {},
                    std::u16string structure = {}) {
  Reference result;
  result.kind = kind;
  result.library = std::move(library);
  result.memberName = std::move(member);
  result.className = std::move(cls);
  result.constantName = std::move(constant);
  result.structureName = std::move(structure);
  return result;
}

TEST(CommandPage, ReferencesOfEveryKind) {
  Command command = named<Command>(u"F");
  command.references = {
      reference(ReferenceKind::Library, u"Files"),
      reference(ReferenceKind::Constant, u"Files", {}, {}, u"Max"),
      reference(ReferenceKind::Command, u"Files", u"Open"),
      reference(ReferenceKind::Class, u"Files", {}, u"Stream"),
      reference(ReferenceKind::Structure, u"Files", {}, {}, {}, u"Info"),
      reference(ReferenceKind::Macro, u"Math", u"Min"),
      reference(ReferenceKind::Member, u"Files", u"Close", u"Stream"),
      reference(ReferenceKind::Member, u"", u"Close", u"Stream"),
      // Nothing to show: no line at all.
      reference(ReferenceKind::Library, u""),
      reference(ReferenceKind::Command, u"", u""),
  };
  EXPECT_EQ(between(libraryCommandBody(command), "<h3>References</h3>", "</p>"),
            "<p class='marleft syntax'>"
            "<a href='Files_index.html' class='syntax'>Files</a><br>"
            "<a href='Files_constant.html#Max' class='syntax'>Files: #Max</a><br>"
            "<a href='Files_f_Open.html' class='syntax'>Files: Open()</a><br>"
            "<a href='Files_c_Stream.html' class='syntax'>Files: Stream</a><br>"
            "<a href='Files_s_Info.html' class='syntax'>Files: Info</a><br>"
            "<a href='Math_macro.html#Min' class='syntax'>Math: Min</a><br>"
            "<a href='Files_c_Stream_m_Close.html' class='syntax'>Files: Stream\\Close()</a><br>"
            "<a href='_c_Stream_m_Close.html' class='syntax'>Stream\\Close()</a><br>");

  Command onlyEmpty = named<Command>(u"F");
  onlyEmpty.references = {reference(ReferenceKind::Class, u"", {}, u"")};
  EXPECT_EQ(between(libraryCommandBody(onlyEmpty), "<h3>References</h3>", "<h3>"),
            "<p class='marleft syntax'></p>");
}

TEST(CommandPage, ExamplesAndDeprecatedMark) {
  Command command = named<Command>(u"F", true);
  command.examples = {Example{u"One", u"F(1)", {}}, Example{u"", u"", {}}};
  const std::string body = libraryCommandBody(command);
  EXPECT_EQ(between(body, "<h2>", "<p class='syntax"),
            "Lib: F()</h2><h3>Syntax <span class='deprecated'>(deprecated)</span></h3>");
  EXPECT_EQ(between(body, "<h3>Examples</h3>", "<h3>"),
            "<h5>One</h5><div class='marleftdbl syntax'><pre>F(1)</pre></div>"
            "<h5></h5><div class='marleftdbl syntax'><pre></pre></div>");
}

TEST(CommandPage, MethodPageLinksWithinItsClass) {
  const Library files = named<Library>(u"Files");
  const Class stream = named<Class>(u"Stream");
  const Command open = named<Command>(u"Open"), read = named<Command>(u"Read"),
                close = named<Command>(u"Close");
  EXPECT_EQ(u8(commandPageBody({}, kWesternNames, files, read, &stream, &close, &open)),
            "<h2>Files: Stream\\Read()</h2><h3>Syntax</h3><p class='syntax marleft'><b>Read</b>()"
            "</p><h3>Description</h3><div class='marleft'></div><h3>Supported systems</h3>"
            "<p class='marleft'>all</p><p class='nextindexprev'>&lt;-&nbsp;&nbsp;&nbsp;"
            "<a href='Files_c_Stream_m_Open.html' class='syntax'>Files: Stream\\Open()</a>"
            "&nbsp;&nbsp;&nbsp;<a href='Files_c_Stream.html' class='syntax'>Files: Stream</a>"
            "&nbsp;&nbsp;&nbsp;<a href='Files_c_Stream_m_Close.html' class='syntax'>"
            "Files: Stream\\Close()</a>&nbsp;&nbsp;&nbsp;-&gt;</p>");
}

TEST(CommandPage, WordsComeFromTheCatalog) {
  const Catalog catalog{{u"syntax", u"Syntaxe"}, {u"description", u""}, {u"all", u"tous"}};
  EXPECT_EQ(libraryCommandBody(named<Command>(u"Foo"), catalog),
            "<h2>Lib: Foo()</h2><h3>Syntaxe</h3><p class='syntax marleft'><b>Foo</b>()</p><h3>"
            "</h3><div class='marleft'></div><h3>Supported systems</h3><p class='marleft'>"
            "tous</p><p class='nextindexprev'><a href='Lib_index.html' class='syntax'>Lib</a></p>");
}

}  // namespace
}  // namespace thc
