// The full-text search of help files our compiler writes, judged by a real
// reader: python3-chm's search walks $FIftiMain and the topic tables as the
// CHMLib-based viewers do.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "helpproject/temp_folder.h"
#include "support/run_program.h"

namespace thc::testing {
namespace {

// Debian installs the module for its own interpreter.
constexpr const char* kPython = "/usr/bin/python3";

// Prints, for each word given in hex with its titles-only flag, the topics
// found as "title-in-hex=url", sorted, one line per word.
constexpr const char* kSearch =
    "import sys\n"
    "from chm.chm import CHMFile\n"
    "f = CHMFile()\n"
    "if not f.LoadCHM(sys.argv[1]): sys.exit('cannot load')\n"
    "for word, titles in zip(sys.argv[2::2], sys.argv[3::2]):\n"
    "    found = f.Search(bytes.fromhex(word), 0, int(titles))[1]\n"
    "    print(' '.join(sorted(t.hex() + '=' + u.decode() for t, u in found.items())))\n";

bool searchReaderInstalled() {
  const std::string check = std::string(kPython) + " -c 'import chm.chm' >/dev/null 2>&1";
  return std::system(check.c_str()) == 0;
}

std::string hex(const std::string& bytes) {
  static constexpr char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

std::string runCommand(const std::string& command) {
  std::string output;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return output;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  ::pclose(pipe);
  return output;
}

struct Query {
  std::string word;  // in the help's code page
  bool titlesOnly;
  std::string title;  // of the one page found, in the code page
  std::string url;
};

// One page in the project's UTF-8 or in its code page.
std::string page(const std::string& title, const std::string& body, bool utf8 = true) {
  const std::string meta = utf8 ? "<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">" : "";
  return "<html><head><title>" + title + "</title>" + meta + "</head><body><p>" + body + "</p></body></html>";
}

TEST(SearchIndex, ReadersFindBodyAndTitleWordsInEveryLanguage) {
  if (!searchReaderInstalled()) GTEST_SKIP() << "python3-chm is not installed";
  struct Case {
    const char* what;
    const char* language;
    std::vector<std::pair<std::string, std::string>> files;  // name, content
    std::vector<Query> queries;
  };
  std::vector<std::pair<std::string, std::string>> many;
  for (int n = 0; n < 400; ++n) {
    std::string body;
    for (int k = 0; k < 40; ++k) body += " page" + std::to_string(n) + "word" + std::to_string(k);
    many.emplace_back("p" + std::to_string(n) + ".htm", page("Page " + std::to_string(n), body));
  }
  const std::string other = page("Other", "nothing of interest");
  const Case cases[] = {
      {"German", "0x407 German", {{"a.htm", page("Gr&ouml;&szlig;e", "Der K\xC3\xA4se")}, {"b.htm", other}},
       {{"k\xE4se", false, "Gr\xF6\xDF" "e", "a.htm"}, {"gr\xF6\xDF" "e", true, "Gr\xF6\xDF" "e", "a.htm"}}},
      {"Russian, a page in the code page", "0x419 Russian",
       {{"a.htm", page("\xD1\xEF\xF0\xE0\xE2\xEA\xE0", "\xCF\xEE\xE8\xF1\xEA \xF1\xF2\xF0\xEE\xEA\xE8", false)},
        {"b.htm", other}},
       {{"\xEF\xEE\xE8\xF1\xEA", false, "\xD1\xEF\xF0\xE0\xE2\xEA\xE0", "a.htm"},
        {"\xF1\xEF\xF0\xE0\xE2\xEA\xE0", true, "\xD1\xEF\xF0\xE0\xE2\xEA\xE0", "a.htm"}}},
      {"Czech", "0x405 Czech",
       {{"a.htm", page("N\xC3\xA1pov\xC4\x9B" "da", "P\xC5\x99\xC3\xAD" "li\xC5\xA1 "
                                                    "\xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD k\xC5\xAF\xC5\x88")},
        {"b.htm", other}},
       {{"\x9E\x6C\x75\x9D\x6F\x75\xE8\x6B\xFD", false, "N\xE1pov\xEC" "da", "a.htm"},
        {"n\xE1pov\xEC" "da", true, "N\xE1pov\xEC" "da", "a.htm"}}},
      {"Japanese", "0x411 Japanese",
       {{"a.htm", page("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x83\x98\xE3\x83\xAB\xE3\x83\x97",
                       "\xE6\xA4\x9C\xE7\xB4\xA2\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88 \xE9\x80\xB1 \xE7\x86\x9F")},
        {"b.htm", other}},
       {{"\x83\x65\x83\x58\x83\x67", false, "\x93\xFA\x96\x7B\x8C\xEA\x83\x77\x83\x8B\x83\x76", "a.htm"},
        // A second byte that is a capital letter (0x54 in 0x8F 0x54) sorts
        // as readers fold it.
        {"\x8F\x6E", false, "\x93\xFA\x96\x7B\x8C\xEA\x83\x77\x83\x8B\x83\x76", "a.htm"},
        {"\x83\x77\x83\x8B\x83\x76", true, "\x93\xFA\x96\x7B\x8C\xEA\x83\x77\x83\x8B\x83\x76", "a.htm"}}},
      {"Chinese", "0x804 Chinese",
       {{"a.htm", page("\xE5\xB8\xAE\xE5\x8A\xA9\xE6\x96\x87\xE4\xBB\xB6",
                       "\xE6\x90\x9C\xE7\xB4\xA2\xE6\xB5\x8B\xE8\xAF\x95")},
        {"b.htm", other}},
       {{"\xCB\xF7", false, "\xB0\xEF\xD6\xFA\xCE\xC4\xBC\xFE", "a.htm"},
        {"\xB0\xEF", true, "\xB0\xEF\xD6\xFA\xCE\xC4\xBC\xFE", "a.htm"}}},
      {"an index of many leaves and index nodes", "0x409 English", many,
       {{"page0word0", false, "Page 0", "p0.htm"},
        {"page217word31", false, "Page 217", "p217.htm"},
        {"page399word39", false, "Page 399", "p399.htm"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    std::string project = std::string("[OPTIONS]\nCompatibility=1.1 or later\nCompiled file=t.chm\n") +
                          "Default topic=" + c.files.front().first + "\nLanguage=" + c.language +
                          "\nFull-text search=Yes\nTitle=Search\n\n[FILES]\n";
    for (const auto& [name, content] : c.files) {
      writeFile(folder.path + "/" + name, content);
      project += name + "\n";
    }
    writeFile(folder.path + "/p.hhp", project);
    const ProgramRun run = runProgram({"--compile", folder.path + "/p.hhp"});
    ASSERT_EQ(run.exitCode, 0) << run.output << run.errors;
    writeFile(folder.path + "/search.py", kSearch);
    std::string command = std::string(kPython) + " " + folder.path + "/search.py " + folder.path + "/t.chm";
    std::string expected;
    for (const Query& query : c.queries) {
      command += " " + hex(query.word) + (query.titlesOnly ? " 1" : " 0");
      expected += hex(query.title) + "=" + query.url + "\n";
    }
    EXPECT_EQ(runCommand(command), expected);
  }
}

}  // namespace
}  // namespace thc::testing
