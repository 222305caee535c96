// Help projects that other generators wrote (Doxygen over the expat
// sources, Sphinx over libuv's documentation, both from Debian's packages),
// and one written by hand for what generators never write ([MAP] with an
// included header, [ALIAS]), compiled with `--compile` and read back by the
// readers Debian packages: every file and every page and image the pages
// lead to byte for byte, the contents and the index, the context ids and the
// full-text search.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "generators/help_readers.h"
#include "helpproject/temp_folder.h"
#include "readers/chm_readers.h"
#include "support/run_program.h"

namespace thc::testing::generators {
namespace {

namespace fs = std::filesystem;

// The generators' projects, made once per build folder by the script.
std::string generatorProjects() {
  return fs::path(TARNELTHC_BINARY).parent_path().string() + "/generator-projects";
}

// Writes the hand-made project into `folder`: two pages in two folders, a
// large image and a style sheet that only the pages name, an image that only the
// style sheet names and a listed link to it, a page that leads outside the
// folder, and context ids from [MAP], a header it includes and one that
// header includes, one of them for a page that only [ALIAS] names, and an
// alias without a number.
void writeHandMadeProject(const std::string& folder) {
  fs::create_directories(folder + "/sub");
  fs::create_directories(folder + "/img");
  writeFile(folder + "/ids.hhp",
            "[OPTIONS]\r\nCompiled file=ids.chm\r\nContents file=toc.hhc\r\nIndex file=idx.hhk\r\n"
            "Default topic=a.html\r\nTitle=Context ids\r\nFull-text search=Yes\r\n\r\n"
            "[FILES]\r\na.html\r\nsub\\b.html\r\nsub\\linked.png\r\n\r\n"
            "[ALIAS]\r\nIDH_A=a.html\r\nIDH_B=sub\\b.html\r\nIDH_C = a.html\r\nIDH_E=popup.html\r\n"
            "IDH_UNNUMBERED=a.html\r\n\r\n"
            "[MAP]\r\n#include ids.h\r\n#define IDH_C 7\r\n");
  writeFile(folder + "/ids.h", "#define IDH_A 100\n#include \"more.h\"\n");
  writeFile(folder + "/more.h", "#define IDH_B 0x200\n#define IDH_E 9\n");
  writeFile(folder + "/popup.html", "<html><head><title>Popup</title></head><body>only an id opens it</body></html>");
  writeFile(folder + "/a.html",
            "<html><head><title>Zebra page</title></head><body><p>A zebra crossing.</p>"
            "<a href=\"sub/b.html#top\">b</a><img src=\"img/pic%20one.png\"><img src=\"../outside.png\"></body></html>");
  writeFile(folder + "/sub/b.html",
            "<html><head><link rel=\"stylesheet\" href=\"../style.css\"><title>B</title></head><body>b</body></html>");
  writeFile(folder + "/style.css", "/* url(none.png) */ body { background: URL( 'img/back.png' ) }\n");
  writeFile(folder + "/img/back.png", "a background");
  fs::create_symlink("../img/back.png", folder + "/sub/linked.png");
  // Megabytes, more than the compiler reads ahead of the file it stores.
  std::string picture;
  for (int i = 0; i < 3000000; ++i) picture += static_cast<char>((i % 251) * 7919 % 251);
  writeFile(folder + "/img/pic one.png", picture);
  writeFile(folder + "/../outside.png", "not for the help file");
  writeFile(folder + "/toc.hhc",
            "<html><body><ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"A &amp; more\">"
            "<param name=\"Local\" value=\"a.html\"></object><ul><li><object type=\"text/sitemap\">"
            "<param name=\"Name\" value=\"B\"><param name=\"Local\" value=\"sub/b.html\"></object></ul></ul></body></html>");
  writeFile(folder + "/idx.hhk",
            "<html><body><ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"zebra\">"
            "<param name=\"Local\" value=\"a.html\"><param name=\"Local\" value=\"sub/b.html\"></object></ul></body></html>");
}

struct Row {
  const char* name;
  const char* source;  // a folder of generatorProjects(), or "" for the hand-made project
  const char* project;
  const char* word;    // a word of the page `wordPage`
  const char* wordPage;
  std::map<std::uint32_t, std::string> contextIds;
  const char* reported = "";  // what the console must show beside "Help file"
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

class GeneratorProject : public ::testing::TestWithParam<Row> {
 protected:
  void SetUp() override {
    const Row& row = GetParam();
    folder_ = scratch_.path + "/project";
    if (*row.source == '\0') {
      writeHandMadeProject(folder_);
    } else {
      const ShellRun made = runShell(shellQuote(sourceDirectory() + "/scripts/generator-projects.sh") + " " +
                                     shellQuote(generatorProjects()));
      if (made.exitCode == 77) GTEST_SKIP() << made.output;
      ASSERT_EQ(made.exitCode, 0) << made.output;
      fs::copy(generatorProjects() + "/" + row.source, folder_, fs::copy_options::recursive);
    }
    view_ = readProject(folder_, row.project);
    const ProgramRun run = runProgram({"--compile", folder_ + "/" + row.project});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    output_ = run.output;
    const std::string compiled = view_.options.count("compiled file")
                                     ? view_.options["compiled file"]
                                     : fs::path(row.project).replace_extension(".chm").string();
    chm_ = folder_ + "/" + compiled;
    ASSERT_TRUE(fs::exists(chm_)) << run.output;
  }

  std::string scratch(const std::string& name) {
    fs::create_directories(scratch_.path + "/" + name);
    return scratch_.path + "/" + name;
  }

  TempFolder scratch_;
  std::string folder_;
  std::string chm_;
  std::string output_;
  ProjectView view_;
};

TEST_P(GeneratorProject, EveryFileComesBackByteForByteThroughChmLibAnd7Zip) {
  const std::map<std::string, std::string> source = filesBelow(folder_);
  const ReaderView reads[] = {readWithChmLibTools(chm_, scratch("chmlib")), readWithSevenZip(chm_, scratch("7zip"))};
  for (const ReaderView& read : reads) {
    SCOPED_TRACE(read.reader);
    for (const std::string& complaint : read.complaints) ADD_FAILURE() << complaint;
    for (const std::string& path : view_.stored) {
      const auto found = read.files.find("/" + path);
      if (found == read.files.end()) {
        ADD_FAILURE() << path << " is not in the help file";
      } else {
        EXPECT_TRUE(found->second == source.at(path)) << path << " comes back changed";
      }
    }
    // Nothing else but the help file's own tables ("/#SYSTEM", "/$FIftiMain").
    for (const auto& [name, bytes] : read.files) {
      if (name[1] == '#' || name[1] == '$') continue;
      EXPECT_TRUE(view_.stored.count(name.substr(1)))
          << name << " is in the help file, but the project has no such file";
    }
  }
}

TEST_P(GeneratorProject, ContentsAndIndexReadBackThroughPythonChm) {
  const ReaderView read = readWithPythonChm(chm_, scratch("python"), {});
  for (const std::string& complaint : read.complaints) ADD_FAILURE() << complaint;
  ASSERT_TRUE(read.system);
  for (const char* option : {"contents file", "index file"}) {
    SCOPED_TRACE(option);
    // The file that the system data leads to, as python3-chm finds it.
    const auto stored = read.files.find(option[0] == 'c' ? read.system->contentsFile : read.system->indexFile);
    ASSERT_NE(stored, read.files.end());
    const std::vector<SitemapEntry> expected = readSitemap(readFile(folder_ + "/" + view_.options[option]));
    const std::vector<SitemapEntry> back = readSitemap(stored->second);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(sitemapDifferences(expected, back), "");
    for (const SitemapEntry& entry : back) {
      for (const std::string& local : entry.locals) {
        EXPECT_TRUE(view_.stored.count(local.substr(0, local.find('#')))) << local << " leads to no stored page";
      }
    }
  }
}

TEST_P(GeneratorProject, ContextIdsOpenTheirPages) {
  EXPECT_EQ(contextIdsWithChmls(chm_, scratch("chmls")), GetParam().contextIds);
  EXPECT_NE(output_.find(GetParam().reported), std::string::npos) << output_;
}

TEST_P(GeneratorProject, SearchFindsAWordOfAPage) {
  const ReaderView read = readWithPythonChm(chm_, scratch("python"), {GetParam().word});
  if (!read.files.count("/$FIftiMain")) {
    GTEST_SKIP() << "the help file holds no full-text index (/$FIftiMain) yet";
  }
  ASSERT_TRUE(read.search) << "python3-chm finds the help file not searchable";
  const std::vector<SearchHit>& hits = read.search->at(GetParam().word);
  const std::string page = GetParam().wordPage;
  EXPECT_TRUE(std::any_of(hits.begin(), hits.end(),
                          [&](const SearchHit& hit) { return hit.url == page || hit.url == "/" + page; }))
      << GetParam().word;
}

INSTANTIATE_TEST_SUITE_P(
    Compile, GeneratorProject,
    ::testing::Values(Row{"DoxygenOverExpat", "doxygen-expat", "index.hhp", "parser", "expat_8h.html", {}},
                      Row{"SphinxOverLibuv", "sphinx-libuv", "libuv.hhp", "loop", "loop.html", {}},
                      Row{"HandMadeContextIds", "", "ids.hhp", "zebra", "a.html",
                          {{100, "a.html"}, {0x200, "sub/b.html"}, {7, "a.html"}, {9, "popup.html"}},
                          "IDH_UNNUMBERED"}),
    [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace thc::testing::generators
