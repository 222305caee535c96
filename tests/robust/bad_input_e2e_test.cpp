// Project files that are broken, hostile or unusually encoded, through the
// real program: each gives a clear diagnostic or is read correctly, and no
// page is written from a file that could not be read.
#include <sys/stat.h>

#include <algorithm>

#include "robust/robust_support.h"

namespace thc::robust {
namespace {

using testing::listDirectory;
using testing::readFile;

// The error position of a file that ends too early: the end of its text.
std::string endPosition(const std::string& content) {
  const size_t lines = static_cast<size_t>(std::count(content.begin(), content.end(), '\n'));
  const size_t lastBreak = content.rfind('\n');
  const size_t column = lastBreak == std::string::npos ? content.size() : content.size() - lastBreak - 1;
  return std::to_string(lines + 1) + ":" + std::to_string(column + 1);
}

class BadProjectFile : public RobustTest {};

TEST_F(BadProjectFile, IsReportedAndWritesNoPage) {
  const std::string demo = readFile(testing::sourceDirectory() + "/examples/demo/demo.xml");
  const std::string png = readFile(testing::sourceDirectory() + "/examples/demo/img/logo.png");
  ASSERT_GT(demo.size(), 3000u);
  struct Case {
    const char* what;
    std::string content;
    std::vector<std::string> lines;  // after the banner, before the end lines
  };
  const std::string truncated = demo.substr(0, 3000);
  const Case cases[] = {
      {"mismatched tag", "<doc title='t'><library name='a'></doc>",
       {"success", "File is defective [1:36]", "Error mismatched tag"}},
      {"unclosed element", "<doc title='t'><library name='a'>",
       {"success", "File is defective [1:34]", "Error no element found"}},
      {"truncated in the middle of a text", truncated,
       {"success", "File is defective [" + endPosition(truncated) + "]", "Error no element found"}},
      {"text only", "just some words\n",
       {"success", "File is defective [1:1]", "Error syntax error"}},
      {"binary file", png,
       {"success", "File is defective [1:1]", "Error not well-formed (invalid token)"}},
      {"invalid UTF-8 in an attribute", "<doc title='\xff'/>",
       {"success", "File is defective [1:13]", "Error not well-formed (invalid token)"}},
      {"invalid UTF-8 in a text", "<doc title='t'>\xc3\x28</doc>",
       {"success", "File is defective [1:16]", "Error not well-formed (invalid token)"}},
      {"an encoded surrogate", "<?xml version='1.0'?>\n<doc title='\xed\xa0\x80'/>",
       {"success", "File is defective [2:13]", "Error not well-formed (invalid token)"}},
      {"a NUL byte", std::string("<doc title='t'>\0</doc>", 22),
       {"success", "File is defective [1:16]", "Error not well-formed (invalid token)"}},
      {"two root elements", "<doc title='t'/><doc title='u'/>",
       {"success", "File is defective [1:17]", "Error junk after document element"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    ProgramRun run = compile(projectFile("p.xml", c.content));
    EXPECT_EQ(afterBanner(run), join(c.lines, kEnd));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(listDirectory(output_), std::vector<std::string>{});
  }
}

TEST_F(BadProjectFile, ThatCannotBeOpenedIsNamed) {
  std::filesystem::create_directory(project_ + "/folder.xml");
  ASSERT_EQ(::mkfifo((project_ + "/pipe.xml").c_str(), 0644), 0);
  struct Case {
    const char* what;
    std::string path;
  };
  const Case cases[] = {
      {"empty file", projectFile("empty.xml", "")},
      {"missing file", project_ + "/missing.xml"},
      {"a folder", project_ + "/folder.xml"},
      // Opening a pipe that nobody writes to must not wait forever.
      {"a named pipe", project_ + "/pipe.xml"},
      {"a device", "/dev/null"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramRun run = compile(c.path, output_, {.fileSizeLimit = 0, .timeoutSeconds = 20});
    EXPECT_EQ(afterBanner(run), join({"Unable to open " + c.path}, kEnd));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(listDirectory(output_), std::vector<std::string>{});
  }
}

// Entities that expand to a billion characters: references in texts are kept
// as written, never expanded; in attribute values the parser expands them
// and refuses the amplification.
class HostileEntities : public RobustTest {
 protected:
  static std::string laughs() {
    std::string dtd = "<!DOCTYPE doc [<!ENTITY lol0 \"lol\">";
    for (int i = 1; i < 10; ++i) {
      dtd += "<!ENTITY lol" + std::to_string(i) + " \"";
      for (int k = 0; k < 10; ++k) dtd += "&lol" + std::to_string(i - 1) + ";";
      dtd += "\">";
    }
    return dtd + "]>\n";
  }
};

TEST_F(HostileEntities, InATextAreKeptAsWritten) {
  ProgramRun run = compile(projectFile("p.xml", laughs() + "<doc title='t'><description>&lol9;</description></doc>"));
  EXPECT_EQ(afterBanner(run), join(stageLines(output_), kEnd));
  EXPECT_EQ(run.exitCode, 0);
  const std::string index = readFile(output_ + "/index.html");
  EXPECT_NE(index.find("<div class='marleft'>&amp;lol9;</div>"), std::string::npos);
  EXPECT_LT(index.size(), 10000u);
  EXPECT_LT(run.seconds, 20);
  EXPECT_LT(run.maxResidentKilobytes, 1024 * 1024);
}

TEST_F(HostileEntities, InAnAttributeAreRefused) {
  ProgramRun run = compile(projectFile("p.xml", laughs() + "<doc title='&lol9;'/>"));
  const std::vector<std::string> lines = afterBanner(run);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "success");
  EXPECT_EQ(lines[1].rfind("File is defective [", 0), 0u) << lines[1];
  EXPECT_EQ(lines[2], "Error limit on input amplification factor (from DTD and entities) breached");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(listDirectory(output_), std::vector<std::string>{});
  EXPECT_LT(run.seconds, 20);
  EXPECT_LT(run.maxResidentKilobytes, 1024 * 1024);
}

TEST_F(HostileEntities, ExternalEntitiesAreNeverLoaded) {
  const std::string secret = projectFile("secret.txt", "TOP-SECRET");
  ProgramRun run = compile(projectFile(
      "p.xml", "<!DOCTYPE doc [<!ENTITY s SYSTEM \"file://" + secret +
                   "\">]>\n<doc title='t'><description>&s;</description></doc>"));
  EXPECT_EQ(run.exitCode, 0);
  const std::string index = readFile(output_ + "/index.html");
  EXPECT_EQ(index.find("TOP-SECRET"), std::string::npos);
  EXPECT_NE(index.find("&amp;s;"), std::string::npos);
}

// Encodings and line breaks: the texts arrive as written, and each line
// break of a text is the file's own sequence.
TEST_F(RobustTest, EncodingsAndLineBreaksAreReadAsTheFileHasThem) {
  auto utf16 = [](const std::u16string& text, bool bigEndian) {
    std::string bytes;
    for (char16_t c : text) {
      const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
      bytes += bigEndian ? high : low;
      bytes += bigEndian ? low : high;
    }
    return bytes;
  };
  struct Case {
    const char* what;
    std::string content;
    std::string description;  // as the start page must show it
  };
  const Case cases[] = {
      {"UTF-16 little-endian with a byte order mark, CRLF",
       utf16(u"\uFEFF<doc title=\"\u00DCber\">\r\n<description><![CDATA[a\r\nb]]></description></doc>", false),
       "a\r\nb"},
      {"UTF-16 big-endian with a byte order mark, LF",
       utf16(u"\uFEFF<doc title=\"\u00DCber\">\n<description><![CDATA[a\nb]]></description></doc>", true),
       "a\nb"},
      {"UTF-8 with a byte order mark", "\xEF\xBB\xBF<doc title=\"\xC3\x9C" "ber\"><description>x</description></doc>",
       "x"},
      {"CR only: every break becomes CR", "<doc title=\"\xC3\x9C" "ber\">\r<description><![CDATA[a\rb\r\nc]]></description></doc>",
       "a\rb\rc"},
      {"CRLF: every break becomes CRLF",
       "<doc title=\"\xC3\x9C" "ber\">\r\n<description><![CDATA[a\r\nb\nc]]></description>\r\n</doc>",
       "a\r\nb\r\nc"},
      {"ISO-8859-1 declared", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><doc title=\"\xDC" "ber\"><description>\xE4</description></doc>",
       "\xC3\xA4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    ProgramRun run = compile(projectFile("p.xml", c.content));
    EXPECT_EQ(afterBanner(run), join(stageLines(output_), kEnd));
    EXPECT_EQ(run.exitCode, 0);
    const std::string index = readFile(output_ + "/index.html");
    EXPECT_NE(index.find("<h2>\xC3\x9C" "ber</h2>"), std::string::npos) << index;
    EXPECT_NE(index.find("<div class='marleft'>" + c.description + "</div>"), std::string::npos) << index;
    // The title in Windows-1252, the code page of a help without a language.
    EXPECT_NE(readFile(output_ + "/document.hhp").find("\nTitle=\xDC" "ber\n"), std::string::npos);
  }
}

}  // namespace
}  // namespace thc::robust
