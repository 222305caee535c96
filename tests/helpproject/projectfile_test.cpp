#include "helpproject/projectfile.h"

#include <gtest/gtest.h>

#include "base/console.h"
#include "helpproject/temp_folder.h"
#include "support/run_program.h"
#include "support/u16.h"

namespace thc {
namespace {

using testing::u16;
using testing::u8;

constexpr const char* optionsHead =
    "[OPTIONS]\n"
    "Binary TOC=Yes\n"
    "Compatibility=1.1 or later\n";

// The whole file is in the help language's code page: the compiled file's
// name, the title shown and the listed files.
std::string expectedText(const std::string& compiled, const std::string& language,
                         const std::string& files, const std::string& shown) {
  return std::string(optionsHead) + "Compiled file=" + compiled + ".chm\n" +
         "Contents file=toc.hhc\n"
         "Default topic=index.html\n"
         "Display compile progress=No\n"
         "Index file=idx.hhk\n"
         "Full-text search=Yes\n"
         "Language=" + language + "\n" + "Title=" + shown + "\n" + "[FILES]\n" + files;
}

TEST(HelpProjectText, ListsThePagesOfTheTypicalRun) {
  Project project;
    std::vector<std::u16string> pages;
  project.title = u"Gfx";
  project.lang = u"en";
  pages = {u"Gfx_f_Plot.html", u"Gfx_index.html", u"index.html"};
  EXPECT_EQ(helpProjectText(project, pages),
            expectedText("Gfx", "0x409", "Gfx_f_Plot.html\nGfx_index.html\nindex.html\n", "Gfx"));
}

TEST(HelpProjectText, WritesTitleLanguageAndFilesInTheCodePage) {
  struct Case {
    const char* title;
    const char* lang;
    std::vector<std::u16string> files;
    const char* compiled;
    const char* language;
    const char* listed;
    const char* shown;
  };
  const Case cases[] = {
      {"My Library", "de", {u"a.html"}, "My Library", "0x407", "a.html\n", "My Library"},
      {"", "", {}, "", "", "", ""},  // no pages: the file ends with "[FILES]\n"
      {"Demo", "es", {u"index.html", u"index.html"}, "Demo", "ES", "index.html\nindex.html\n",
       "Demo"},
      {" Grüße ", "fr", {u"Ä b.html"}, " Gr\xFC\xDF" "e ", "0x40C", "\xC4 b.html\n",
       " Gr\xFC\xDF" "e "},
      // What the code page lacks is "_" in a file name and "?" in the title
      // shown; a surrogate pair is one character.
      {"Ω😀ü", "de", {u"__ü_history.html"}, "__\xFC", "0x407", "__\xFC_history.html\n",
       "??\xFC"},
      {"Справка", "0x419", {u"Справка.html"}, "\xD1\xEF\xF0\xE0\xE2\xEA\xE0", "0X419",
       "\xD1\xEF\xF0\xE0\xE2\xEA\xE0.html\n", "\xD1\xEF\xF0\xE0\xE2\xEA\xE0"},
      {"Größe", "0x419", {u"Gr__e_history.html"}, "Gr__e", "0X419", "Gr__e_history.html\n",
       "Gr??e"},
  };
  for (const Case& c : cases) {
    Project project;
    std::vector<std::u16string> pages;
    project.title = u16(c.title);
    project.lang = u16(c.lang);
    pages = c.files;
    EXPECT_EQ(helpProjectText(project, pages), expectedText(c.compiled, c.language, c.listed, c.shown))
        << c.title;
  }
}

// A title cannot add lines of its own nor place the compiled file elsewhere.
TEST(HelpProjectText, TitleLinesStayOneLineAndTheHelpFileStaysBeside) {
  struct Case { const char16_t* title; const char* compiled; const char* shown; };
  const Case cases[] = {
      {u"x\n[FILES]\n/etc/shadow", "x [FILES] _etc_shadow.chm", "x [FILES] /etc/shadow"},
      {u"..\\C:/a*b?\"<c>|\t", ".._C__a_b___c__ .chm", "..\\C:/a*b?\"<c>| "},
  };
  for (const Case& c : cases) {
    Project project;
    std::vector<std::u16string> pages;
    project.title = c.title;
    const std::string text = helpProjectText(project, pages);
    EXPECT_NE(text.find(std::string("\nCompiled file=") + c.compiled + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find(std::string("\nTitle=") + c.shown + "\n[FILES]\n"), std::string::npos) << text;
  }
}

TEST(LanguageCode, MapsThreeLanguagesAndUpperCasesTheRest) {
  struct Case { const char* lang; const char* code; };
  const Case cases[] = {
      {"de", "0x407"}, {"en", "0x409"}, {"fr", "0x40C"}, {"FR", "0x40C"},
      {"es", "ES"},    {"0x407", "0X407"}, {"", ""},  {"de-at", "DE-AT"},
      {" de", " DE"},  {"çé", "ÇÉ"},
  };
  for (const Case& c : cases) EXPECT_EQ(u8(languageCode(u16(c.lang))), c.code) << c.lang;
}

TEST(WriteTextFile, WritesTheBytesAsGivenWithoutByteOrderMark) {
  testing::TempFolder folder;
  const std::string& dir = folder.path;
  MemoryConsole console;
  OutputFolder output(u16(dir + "/"));
  EXPECT_TRUE(writeTextFile(console, output, u"document.hhp", "Title=Gr\xFC\xDF" "e\n"));
  EXPECT_EQ(testing::readFile(dir + "/document.hhp"), "Title=Gr\xFC\xDF" "e\n");
  EXPECT_TRUE(console.lines.empty());
  // An existing file is replaced.
  EXPECT_TRUE(writeTextFile(console, output, u"document.hhp", "x\n"));
  EXPECT_EQ(testing::readFile(dir + "/document.hhp"), "x\n");
}

TEST(WriteTextFile, ReportsAFileThatCannotBeCreated) {
  testing::TempFolder folder;
  const std::string& dir = folder.path;
  MemoryConsole console;
  OutputFolder missing(u16(dir + "/missing/"));
  EXPECT_FALSE(writeTextFile(console, missing, u"document.hhp", "x"));
  EXPECT_EQ(console.utf8Lines(), std::vector<std::string>{"Unable to create " + dir + "/missing/document.hhp"});
}

}  // namespace
}  // namespace thc
