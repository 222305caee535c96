#include "pages/frame.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "pages/pagewriter.h"
#include "support/run_program.h"
#include "support/u16.h"

namespace thc {
namespace {

using testing::listDirectory;
using testing::makeTempDirectory;
using testing::readFile;
using testing::u16;

const std::string styleRules =
    "body { background-color: #ffffdf; font-family: arial; font-size: 12px; }\n"
    "a { color: #009999; }\n"
    "a:visited { color: #006666; }\n"
    "a:active { color: #006666; }\n"
    ".syntax { font-family: monospace; color: #006666; }\n"
    ".syntaxopt { font-style: italic; }\n"
    ".nextindexprev { text-align: center; }\n"
    ".padright { padding-right: 20px; }\n"
    ".divpar { margin-top: 12px; margin-bottom: 12px; }\n"
    ".marleft { margin-left: 20px; }\n"
    ".marleftdbl { margin-left: 40px; }\n"
    ".deprecated { color: #aa0000; }\n"
    ".stdfont { font-family: arial; font-size: 12px; }\n"
    "h2 { text-align: center; }\n"
    "h6 { text-align: center; font-style: italic; }\n"
    "h5 { margin-left: 20px; font-style: italic; }\n"
    "th { text-align: left; padding: 5px; }\n"
    "td { padding: 5px; border: 1px solid black; vertical-align: text-top; }\n"
    "tr { border: 1px solid black; }\n"
    "table { border: 1px solid black; }\n";

std::string expectedPage(const std::string& title, const std::string& body) {
  return "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\"><html><head><title>" + title +
         "</title><meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">"
         "<style type=\"text/css\">\n" +
         styleRules + "</style></head><body>" + body + "</body></html>";
}

// One page written into the folder `dir` the way the generator writes it.
bool writePage(std::vector<std::u16string>& written, Console& console, std::u16string_view dir, std::u16string_view file,
               std::u16string_view title, std::u16string_view body) {
  OutputFolder folder(dir);
  PageWriter pages(folder);
  pages.write(std::u16string(file), std::u16string(title), std::u16string(body));
  return pages.finish(console, written);
}

struct Folder {
  std::string path = makeTempDirectory();
  std::u16string dir() const { return u16(path + "/"); }
};

TEST(PageFrame, StyleSheetHoldsTheTwentyRules) {
  EXPECT_EQ(testing::u8(std::u16string(styleSheet())), styleRules);
}

TEST(PageFrame, WritesTitleAndBodyUnchangedInUtf8WithoutBom) {
  struct Case {
    const char* title;
    const char* body;
  };
  const Case cases[] = {
      {"Index", ""},
      {"", "<h2>x</h2>"},
      {"a<b&c", "&amp; <i>"},
      {"Gr\xc3\xbc\xc3\x9f" "e \xf0\x9f\x98\x80", "\xc3\xbc"},
  };
  for (const Case& c : cases) {
    Folder folder;
    std::vector<std::u16string> written;
    MemoryConsole console;
    EXPECT_TRUE(writePage(written, console, folder.dir(), u"page.html", u16(c.title), u16(c.body)));
    const std::string bytes = readFile(folder.path + "/page.html");
    EXPECT_EQ(bytes, expectedPage(c.title, c.body)) << c.title;
    EXPECT_EQ(bytes.substr(0, 1), "<");
    EXPECT_TRUE(console.lines.empty());
    EXPECT_EQ(written, std::vector<std::u16string>{u"page.html"});
  }
}

TEST(PageFrame, SamePathTwiceReplacesTheFileAndListsItTwice) {
  Folder folder;
  std::vector<std::u16string> written;
  MemoryConsole console;
  EXPECT_TRUE(writePage(written, console, folder.dir(), u"a.html", u"T", u"a much longer first body"));
  EXPECT_TRUE(writePage(written, console, folder.dir(), u"a.html", u"T", u"second"));
  EXPECT_EQ(readFile(folder.path + "/a.html"), expectedPage("T", "second"));
  EXPECT_EQ(written, (std::vector<std::u16string>{u"a.html", u"a.html"}));
}

TEST(PageFrame, MissingFolderFailsEveryPageWithOneLineEach) {
  Folder folder;
  const std::u16string missing = folder.dir() + u"missing/";
  std::vector<std::u16string> written;
  MemoryConsole console;
  EXPECT_FALSE(writePage(written, console, missing, u"a.html", u"T", u"B"));
  EXPECT_FALSE(writePage(written, console, missing, u"b.html", u"T", u"B"));
  EXPECT_EQ(console.lines, (std::vector<std::u16string>{u"Unable to create " + missing + u"a.html",
                                                        u"Unable to create " + missing + u"b.html"}));
  EXPECT_TRUE(written.empty());
}

// A page named after an item whose name holds a separator would otherwise be
// written into another folder, even outside the output folder.
TEST(PageFrame, RefusesFileNamesWithSeparators) {
  const char* names[] = {"a/b.html", "..\\up.html", "../up.html", "/abs.html", "sub\\x.html"};
  for (const char* name : names) {
    Folder folder;
    testing::writeFile(folder.path + "/keep", "");
    std::filesystem::create_directory(folder.path + "/inner");
    const std::u16string dir = u16(folder.path + "/inner/");
    std::vector<std::u16string> written;
    MemoryConsole console;
    EXPECT_FALSE(writePage(written, console, dir, u16(name), u"T", u"B")) << name;
    EXPECT_EQ(console.lines, std::vector<std::u16string>{u"Unable to create " + dir + u16(name)});
    EXPECT_TRUE(written.empty());
    EXPECT_TRUE(listDirectory(folder.path + "/inner").empty()) << name;
    EXPECT_EQ(listDirectory(folder.path), (std::vector<std::string>{"inner", "keep"})) << name;
  }
}

}  // namespace
}  // namespace thc
