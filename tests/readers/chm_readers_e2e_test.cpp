// The help file that --chm writes, judged by the readers that Debian
// packages (never by a reader of our own): each project is built and
// compiled once, then every reader reads it and every check that the
// reader can answer is made against the folder it was compiled from.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "helpproject/temp_folder.h"
#include "readers/chm_readers.h"
#include "readers/help_folder.h"
#include "support/run_program.h"

namespace thc::testing {
namespace {

struct Project {
  std::string name;
  std::string example;                // a project of examples/, or
  std::string xml;                    // one written by the test
  std::string searchWord;             // a word of a page body, UTF-8
  std::vector<std::string> keywords;  // given to the command kCommand, UTF-8
  std::string title;                  // the title in UTF-8, where the test wrote it
};

// Test names and messages show a project by its name.
void PrintTo(const Project& project, std::ostream* out) { *out << project.name; }

const std::string kCommand = "Find";

// A small project in a language: a title, catalog words, keywords and a
// structure whose name the language's code page lacks; the project's
// history page is named after the title.
struct Language {
  const char* lang;
  const char* title;
  const char* commands;  // the catalog's words for two headings
  const char* history;
  std::vector<std::string> keywords;
  const char* body;  // the command's description, holding the word
  const char* word;
  const char* structure;
};

Project languageProject(const Language& l) {
  std::string keywords;
  for (const std::string& keyword : l.keywords) keywords += (keywords.empty() ? "" : ";") + keyword;
  Project p{std::string("lang_") + l.lang, "", "", l.word, l.keywords, l.title};
  p.xml = std::string("<doc title=\"") + l.title + "\" lang=\"" + l.lang + "\">\n<catalog><![CDATA[\n" +
          "Commands = " + l.commands + "\nHistory = " + l.history + "\n]]></catalog>\n" +
          "<history>1.0</history>\n<library name=\"Texts\"><command name=\"" + kCommand + "\">" +
          "<keywords>" + keywords + "</keywords><description>" + l.body + "</description></command>\n" +
          "<structure name=\"" + l.structure + "\"><description>-</description></structure>" +
          "</library>\n</doc>\n";
  return p;
}

// Enough pages for a directory of several listing chunks under an index
// chunk and a compressed section of many frames and resets.
Project manyPages() {
  std::string commands;
  for (int i = 0; i < 600; ++i) {
    const std::string n = std::to_string(i);
    commands += "<command name=\"Draw" + n + "\"><keywords>shape" + n + "</keywords><description>Draws " + n +
                " pixels.</description></command>";
  }
  const std::string xml = "<doc title=\"Shapes\"><library name=\"Shapes\">" + commands + "</library></doc>";
  return {"many_pages", "", xml, "pixels", {}, ""};
}

std::vector<Project> projects() {
  const Language languages[] = {
      {"de", "Befehle für Käse Ω", "Befehle", "Änderungen", {"Größe", "Käse"},
       "Die Straße führt zum Würfel.", "führt", "Ωmega"},
      {"0x419", "Справка по строкам", "Команды", "История", {"поиск", "строка"},
       "Функция ищет строку в тексте.", "ищет", "Größe"},
      {"0x411", "文字列のヘルプ", "コマンド", "履歴", {"検索", "文字列"},
       "テキストから探します。", "テキスト", "Käse"},
      {"0x804", "字符串帮助", "命令", "历史", {"搜索", "字符串"},
       "在文本中查找字符串。", "找", "Käse"},
      {"0x405", "Příkazy pro řetězce", "Příkazy", "Historie", {"hledání", "řetězec"},
       "Funkce hledá řetězec v textu.", "hledá", "Ωmega"},
  };
  std::vector<Project> result = {
      {"demo", "demo/demo.xml", "", "pixel", {}, ""},
      {"catalog_demo", "catalog-demo/katalog.xml", "", "längste", {}, ""},
  };
  for (const Language& language : languages) result.push_back(languageProject(language));
  result.push_back(manyPages());
  return result;
}

// Each project built and compiled into its help file once per test.
class ChmReaders : public ::testing::TestWithParam<Project> {
 protected:
  void SetUp() override {
    const Project& p = GetParam();
    std::string xml = sourceDirectory() + "/examples/" + p.example;
    if (p.example.empty()) {
      xml = temp_.path + "/p.xml";
      writeFile(xml, p.xml);
    }
    const std::string output = temp_.path + "/html";
    const ProgramRun run = runProgram({"x", xml, "-o", output, "--chm", "--no-wait"});
    std::optional<HelpFolder> folder = readHelpFolder(output);
    ASSERT_TRUE(folder) << "no help project of a known language in " << output << "\n" << run.output;
    ASSERT_EQ(run.exitCode, 0) << run.output;
    // Read in the code page, as compilers and viewers read it.
    EXPECT_EQ(folder->missingFiles, std::vector<std::string>{}) << "[FILES] names files the folder lacks";
    ASSERT_TRUE(!run.lines.empty() && run.lines.back().starts_with("Help file ")) << run.output;
    helpFile_ = run.lines.back().substr(10);
    folder_ = std::move(*folder);
  }

  // An empty folder for a reader to extract into.
  std::string scratch(const std::string& reader) const {
    const std::string path = temp_.path + "/" + reader;
    std::filesystem::create_directory(path);
    return path;
  }

  TempFolder temp_;
  std::string helpFile_;
  HelpFolder folder_;
};

void saysNothingIsWrong(const HelpFolder&, const Project&, const ReaderView& view) {
  for (const std::string& complaint : view.complaints) ADD_FAILURE() << complaint;
}

// Every file the folder holds for the help file: the files of [FILES], the
// contents and the index, and the images that the pages show.
void givesBackEveryFile(const HelpFolder& folder, const Project&, const ReaderView& view) {
  for (const auto& [name, bytes] : folder.storedFiles) {
    auto given = view.files.find(name);
    if (given == view.files.end()) {
      ADD_FAILURE() << "no " << name;
    } else {
      EXPECT_TRUE(given->second == bytes) << name << " comes back other than it is in the folder";
    }
  }
}

// The title in the code page, "?" for each character it lacks; the
// contents and the index that the system data leads to.
void readsTheSystemData(const HelpFolder& folder, const Project& project, const ReaderView& view) {
  if (!view.system) return;
  EXPECT_EQ(view.system->title, folder.title);
  if (!project.title.empty()) {
    EXPECT_EQ(view.system->title, withQuestionMarks(project.title, folder.codePage));
  }
  EXPECT_EQ(view.system->lcid, folder.lcid);
  EXPECT_EQ(view.system->defaultTopic, folder.defaultTopic);
  EXPECT_EQ(fromCodePage(view.system->contentsFile, folder.codePage), folder.contentsName);
  EXPECT_EQ(fromCodePage(view.system->indexFile, folder.codePage), folder.indexName);
}

// The contents as the reader gives it, read in the help's code page: each
// entry leads to a file the reader gives.
void leadsFromTheContents(const HelpFolder& folder, const Project&, const ReaderView& view) {
  auto contents = view.files.find(folder.contentsName);
  ASSERT_NE(contents, view.files.end()) << "no " << folder.contentsName;
  std::optional<std::vector<SitemapEntry>> entries = readSitemap(contents->second, folder.codePage);
  ASSERT_TRUE(entries) << folder.contentsName << " is not text of code page " << folder.codePage;
  for (const SitemapEntry& entry : *entries) {
    for (const std::string& page : entry.pages) {
      EXPECT_TRUE(view.files.count("/" + page))
          << entry.name << " leads to " << page << ", which is not there";
    }
  }
}

// The index as the reader gives it, read in the help's code page: each
// keyword once, each leading to a file the reader gives, and the project's
// keywords to the page of the command that has them.
void listsEachKeywordOnce(const HelpFolder& folder, const Project& project, const ReaderView& view) {
  auto index = view.files.find(folder.indexName);
  ASSERT_NE(index, view.files.end()) << "no " << folder.indexName;
  std::optional<std::vector<SitemapEntry>> entries = readSitemap(index->second, folder.codePage);
  ASSERT_TRUE(entries) << folder.indexName << " is not text of code page " << folder.codePage;
  std::map<std::string, int> counts;
  for (const SitemapEntry& entry : *entries) ++counts[entry.name];
  for (const SitemapEntry& entry : *entries) {
    EXPECT_EQ(counts[entry.name], 1) << entry.name;
    for (const std::string& page : entry.pages) {
      EXPECT_TRUE(view.files.count("/" + page))
          << entry.name << " leads to " << page << ", which is not there";
    }
  }
  for (const std::string& keyword : project.keywords) {
    auto entry = std::find_if(entries->begin(), entries->end(),
                              [&](const SitemapEntry& e) { return e.name == keyword; });
    if (entry == entries->end() || entry->pages.empty()) {
      ADD_FAILURE() << "the index lacks " << keyword;
      continue;
    }
    auto page = view.files.find("/" + entry->pages.front());
    if (page == view.files.end()) continue;
    EXPECT_NE(pageTitle(page->second).find(kCommand), std::string::npos)
        << keyword << " leads to " << entry->pages.front() << ", not to the page of " << kCommand;
  }
}

struct Reader {
  const char* name;
  std::function<ReaderView(const std::string& chm, const std::string& scratch)> read;
};

const Reader kReaders[] = {
    {"chmlib", [](const std::string& chm, const std::string&) { return readWithChmLib(chm); }},
    {"libmspack", [](const std::string& chm, const std::string&) { return readWithLibmspack(chm); }},
    {"extract_chmlib", readWithChmLibTools},
    {"7zip", readWithSevenZip},
    {"chmls", readWithChmls},
    {"python3chm",
     [](const std::string& chm, const std::string& scratch) { return readWithPythonChm(chm, scratch, {}); }},
};

struct Check {
  const char* what;
  void (*check)(const HelpFolder&, const Project&, const ReaderView&);
};

const Check kChecks[] = {
    {"says nothing is wrong", saysNothingIsWrong},
    {"gives back every file byte for byte", givesBackEveryFile},
    {"reads the title, the language, the default topic, the contents and the index", readsTheSystemData},
    {"leads from each contents entry to a file it gives", leadsFromTheContents},
    {"lists each keyword once, in the code page, leading to its page", listsEachKeywordOnce},
};

TEST_P(ChmReaders, EveryReaderReadsTheHelpFileRight) {
  for (const Reader& reader : kReaders) {
    const ReaderView view = reader.read(helpFile_, scratch(reader.name));
    for (const Check& check : kChecks) {
      SCOPED_TRACE(std::string(reader.name) + " " + check.what);
      check.check(folder_, GetParam(), view);
    }
  }
}

// A word of a page body, looked up in the help's code page, finds that page
// under its title.
TEST_P(ChmReaders, FullTextSearchFindsAWordOfAPageBody) {
  const std::optional<std::string> word = inCodePage(GetParam().searchWord, folder_.codePage);
  ASSERT_TRUE(word) << GetParam().searchWord << " is not in code page " << folder_.codePage;
  ReaderView searched = readWithPythonChm(helpFile_, scratch("python3chm"), {*word});
  if (!searched.files.count("/$FIftiMain")) {
    GTEST_SKIP() << "the help file holds no full-text search index (/$FIftiMain) yet";
  }
  ASSERT_TRUE(searched.search) << "python3-chm finds the help file not searchable";
  const std::vector<SearchHit>& hits = (*searched.search)[*word];
  bool inBody = false;
  for (const SearchHit& hit : hits) {
    auto page = folder_.storedFiles.find("/" + hit.url);
    ASSERT_NE(page, folder_.storedFiles.end()) << "a hit leads to " << hit.url << ", no page of the folder";
    EXPECT_EQ(hit.title, withQuestionMarks(pageTitle(page->second), folder_.codePage)) << hit.url;
    inBody = inBody || bodyText(page->second).find(GetParam().searchWord) != std::string::npos;
  }
  EXPECT_TRUE(inBody) << "no page found whose body holds " << GetParam().searchWord;
}

INSTANTIATE_TEST_SUITE_P(Projects, ChmReaders, ::testing::ValuesIn(projects()),
                         [](const ::testing::TestParamInfo<Project>& info) { return info.param.name; });

}  // namespace
}  // namespace thc::testing
