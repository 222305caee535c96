#include "markup/markup.h"

#include <gtest/gtest.h>

#include "support/u16.h"

namespace thc {
namespace {

using testing::u16;
using testing::u8;

// The library (and, optionally, class) being read, and an origin with a
// known path for the diagnostics.
struct Translator : MarkupOrigin {
  explicit Translator(const char* lib = "", const char* c = "") : library(u16(lib)), cls(u16(c)) {}

  std::u16string path() const override { return u"/doc/library/command/description"; }

  std::string operator()(const std::u16string& text) {
    return u8(translateMarkup(text, MarkupContext{library, cls, u"", images, console, *this}));
  }

  std::u16string library;
  std::u16string cls;
  std::vector<ImageEntry> images;
  MemoryConsole console;
};

const char* const kNode = "Node: /doc/library/command/description";

std::vector<std::string> warning(int position) {
  return {"Warning at position " + std::to_string(position), kNode, "suspicious '@'"};
}

std::vector<std::string> parseError(int position) {
  return {"Parse Error at position " + std::to_string(position), kNode, "missing ')'"};
}

struct Row {
  const char* text;
  const char* library;
  const char* cls;
  const char* html;
  std::vector<std::string> lines;
};

void runRows(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    Translator translate(row.library, row.cls);
    EXPECT_EQ(translate(u16(row.text)), row.html) << row.text;
    EXPECT_EQ(translate.console.utf8Lines(), row.lines) << row.text;
  }
}

TEST(Markup, PlainTextAndFixedKeywords) {
  runRows({
      {"", "", "", "", {}},
      {"no keyword here, <b> & &amp; stay", "", "", "no keyword here, <b> & &amp; stay", {}},
      {"@@bold", "", "", "@bold", {}},
      {"@boldface", "", "", "<b>face", {}},
      {"@boldText@endbold", "", "", "<b>Text</b>", {}},
      {"@bold", "", "", "<b>", {}},
      {"@lt@gt@spc@linebreak", "", "", "&lt;&gt;&nbsp;<br>", {}},
      {"@code x@endcode", "", "", "<span class='syntax'> x</span>", {}},
      {"@italic@enditalic@paragraph@endparagraph", "", "", "<i></i><p></p>", {}},
      {"@endindent@endcolor", "", "", "</div></span>", {}},
      {"a@@@@b", "", "", "a@@b", {}},
  });
}

TEST(Markup, SuspiciousAtSigns) {
  runRows({
      {"@Bold", "", "", "@Bold", warning(1)},
      {"end@", "", "", "end@", warning(4)},
      {"user@host", "", "", "user@host", warning(5)},
      // A keyword must fit completely before the end of the text.
      {"a@l", "", "", "a@l", warning(2)},
      {"x@endcod", "", "", "x@endcod", warning(2)},
      // The characters after a suspicious "@" are ordinary text again.
      {"@@@x@bold", "", "", "@@x<b>", warning(3)},
      // Positions count UTF-16 units: the emoji takes two.
      {"\xC3\xA4\xF0\x9F\x98\x80@x", "", "", "\xC3\xA4\xF0\x9F\x98\x80@x", warning(4)},
      {"@ @ ", "", "", "@ @ ", [] {
         std::vector<std::string> lines = warning(1);
         std::vector<std::string> second = warning(3);
         lines.insert(lines.end(), second.begin(), second.end());
         return lines;
       }()},
  });
}

TEST(Markup, IndentAndColour) {
  runRows({
      {"@indentation", "", "", "<div class='marleft'>ation", {}},
      {"@indent", "", "", "<div class='marleft'>", {}},
      {"@indent(20)", "", "", "<div style='margin-left: 20px;' >", {}},
      {"@indent( )", "", "", "<div class='marleft' >", {}},
      {"@indent()", "", "", "<div class='marleft' >", {}},
      {"@indent(-5)", "", "", "<div style='margin-left: -5px;' >", {}},
      {"@indent(12.5)", "", "", "<div style='margin-left: 12px;' >", {}},
      {"@indent(abc)", "", "", "<div style='margin-left: 0px;' >", {}},
      {"@indent($10)x", "", "", "<div style='margin-left: 16px;' >x", {}},
      {"@color(255,0,128)", "", "", "<span style='color: #FF0080;'>", {}},
      {"@color(255)", "", "", "<span style='color: #FF0000;'>", {}},
      {"@color(10, 256,-1)", "", "", "<span style='color: #0A00FF;'>", {}},
      {"@color()", "", "", "<span style='color: #000000;'>", {}},
      {"@color($ab,%11,x,7)", "", "", "<span style='color: #AB0300;'>", {}},
  });
}

TEST(Markup, CodeStyleNames) {
  runRows({
      {"@const( MaxSize )", "", "", "<span class='syntax'>#MaxSize</span>", {}},
      {"@func(Open)", "", "", "<span class='syntax'>Open()</span>", {}},
      // Markup inside an argument is not translated and not diagnosed.
      {"@func(a@bold)", "", "", "<span class='syntax'>a@bold()</span>", {}},
      {"@func(x@)y", "", "", "<span class='syntax'>x@()</span>y", {}},
  });
}

TEST(Markup, References) {
  runRows({
      {"@refcommand(Open)", "Files", "", "<a href='Files_f_Open.html' class='syntax'>Files: Open()</a>", {}},
      {"@refcommand(Open, Net)", "Files", "", "<a href='Net_f_Open.html' class='syntax'>Net: Open()</a>", {}},
      {"@refcommand( Open)", "Files", "", "<a href='Files_f_ Open.html' class='syntax'>Files:  Open()</a>", {}},
      {"@refcommand()", "Files", "", "<a href='Files_f_.html' class='syntax'>Files</a>", {}},
      {"@refcommand(Open)", "", "", "<a href='_f_Open.html' class='syntax'>Open()</a>", {}},
      {"@refcommand(Open,  ,ignored)", " Files ", "", "<a href='Files_f_Open.html' class='syntax'>Files: Open()</a>", {}},
      {"@refmember(Close)", "Files", "Stream",
       "<a href='Files_c_Stream_m_Close.html' class='syntax'>Files: Stream\\Close()</a>", {}},
      {"@refmember(Close, Pipe , Net )", "Files", "Stream",
       "<a href='Net_c_Pipe_m_Close.html' class='syntax'>Net: Pipe\\Close()</a>", {}},
      {"@refmember(Close)", "Files", "", "<a href='Files_c__m_Close.html' class='syntax'>Files: Close()</a>", {}},
      {"@refmacro(Min)", "Math", "", "<a href='Math_macro.html#Min' class='syntax'>Math: Min</a>", {}},
      {"@refclass(Stream)", "Files", "", "<a href='Files_c_Stream.html' class='syntax'>Files: Stream</a>", {}},
      {"@refconstant(Max, Files)", "", "", "<a href='Files_constant.html#Max' class='syntax'>Files: #Max</a>", {}},
      {"@refstruct(Info,Net)", "Files", "", "<a href='Net_s_Info.html' class='syntax'>Net: Info</a>", {}},
      {"@reflibrary(Files)", "Gfx", "", "<a href='Files_index.html' class='syntax'>Files</a>", {}},
      // The whole argument, neither split nor trimmed.
      {"@reflibrary( A, B )", "Gfx", "", "<a href=' A, B _index.html' class='syntax'> A, B </a>", {}},
      {"see @refcommand(Open) and @refcommand(Close).", "Files", "",
       "see <a href='Files_f_Open.html' class='syntax'>Files: Open()</a> and "
       "<a href='Files_f_Close.html' class='syntax'>Files: Close()</a>.", {}},
  });
}

TEST(Markup, ParseErrorsReturnTheInput) {
  runRows({
      {"text @func(Open more text", "", "", "text @func(Open more text", parseError(12)},
      {"@indent(20", "", "", "@indent(20", parseError(9)},
      {"@func(", "", "", "@func(", parseError(7)},
      {"@bold @refcommand(", "Files", "", "@bold @refcommand(", parseError(19)},
      // A ")" before the keyword does not close its argument.
      {") @color(1,2", "", "", ") @color(1,2", parseError(10)},
      // Earlier warnings stay printed; the scan stops at the error.
      {"a@b @func(x @c", "", "", "a@b @func(x @c", [] {
         std::vector<std::string> lines = warning(2);
         std::vector<std::string> error = parseError(11);
         lines.insert(lines.end(), error.begin(), error.end());
         return lines;
       }()},
  });
}

TEST(Markup, ImagesAreNumberedInReadingOrder) {
  Translator translate;
  EXPECT_EQ(translate(u"@image(logo.png)"), "<img src='1.png' />");
  EXPECT_EQ(translate(u"x @image( logo.png ) y"), "x <img src='2.png' /> y");
  EXPECT_EQ(translate(u"@image(pic)@image(dir.old/pic)@image(img\\a.JPG)"),
            "<img src='3.' /><img src='4.' /><img src='5.JPG' />");
  EXPECT_EQ(translate(u"@image()"), "<img src='6.' />");
  ASSERT_EQ(translate.images.size(), 6u);
  const char* const sources[] = {"logo.png", "logo.png", "pic", "dir.old/pic", "img\\a.JPG", ""};
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(translate.images[i].number, static_cast<int64_t>(i + 1));
    EXPECT_EQ(u8(translate.images[i].source), sources[i]);
  }
  EXPECT_TRUE(translate.console.lines.empty());
}

TEST(Markup, ParseErrorKeepsEarlierImagesAndWarnings) {
  Translator translate;
  EXPECT_EQ(translate(u"@image(a.png) @x @func(open"), "@image(a.png) @x @func(open");
  ASSERT_EQ(translate.images.size(), 1u);
  EXPECT_EQ(u8(translate.images[0].source), "a.png");
  std::vector<std::string> expected = warning(15);
  std::vector<std::string> error = parseError(24);
  expected.insert(expected.end(), error.begin(), error.end());
  EXPECT_EQ(translate.console.utf8Lines(), expected);
  // Numbering goes on after the kept entry.
  EXPECT_EQ(translate(u"@image(b.gif)"), "<img src='2.gif' />");
}

TEST(Markup, RegisterImageFollowsTheLastNumber) {
  std::vector<ImageEntry> images;
  EXPECT_EQ(registerImage(images, u"a.png"), 1);
  images.back().number = 41;
  EXPECT_EQ(registerImage(images, u"a.png"), 42);
  EXPECT_EQ(images.size(), 2u);
}

// Counts lines without keeping them, for very long texts.
class CountingConsole : public Console {
 public:
  void writeLine(std::u16string_view) override { ++lines; }
  void writeText(std::u16string_view) override {}
  std::optional<InputLine> readLine(size_t) override { return std::nullopt; }
  size_t lines = 0;
};

TEST(Markup, LongTextsWithManyKeywordsStayLinear) {
  // About 7 MB of UTF-16 with 800,000 "@": a quadratic scan would not finish.
  std::u16string text;
  const size_t repeats = 200'000;
  text.reserve(repeats * 20);
  for (size_t i = 0; i < repeats; ++i) text += u"@func(a)@@x@ @bold";
  Translator origin;
  CountingConsole console;
  const MarkupContext context{u"", u"", u"", origin.images, console, origin};
  std::u16string html = translateMarkup(text, context);
  EXPECT_EQ(html.size(), repeats * std::u16string_view(u"<span class='syntax'>a()</span>@x@ <b>").size());
  EXPECT_EQ(console.lines, repeats * 3);

  // An unclosed argument at the very end still returns the whole input.
  text += u"@refcommand(";
  std::u16string unchanged = translateMarkup(text, context);
  EXPECT_EQ(unchanged.size(), text.size());
}

}  // namespace
}  // namespace thc
