#include "pages/pagewriter.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pages/frame.h"
#include "support/run_program.h"
#include "support/u16.h"

namespace thc {
namespace {

using testing::listDirectory;
using testing::makeTempDirectory;
using testing::readFile;
using testing::u16;

struct Written {
  std::vector<std::u16string> lines;
  std::vector<std::u16string> files;
  bool allWritten = true;
  std::vector<std::string> contents;  // of every regular file, by name order
};

// A mix of pages that are written, refused for their name, and not created
// because a folder of that name is in the way; the bodies are large enough
// that the writer's queue fills and the hand-over has to wait.
struct PageSpec {
  std::u16string file;
  std::u16string title;
  std::u16string body;
};

std::vector<PageSpec> mixedPages() {
  std::vector<PageSpec> pages;
  for (int i = 0; i < 40; ++i) {
    std::u16string name = u"p" + u16(std::to_string(i)) + u".html";
    if (i % 7 == 3) name = u"sub/p" + u16(std::to_string(i)) + u".html";
    if (i % 11 == 5) name = u"blocked" + u16(std::to_string(i)) + u".html";
    pages.push_back({name, u"Title \u00fc" + u16(std::to_string(i)),
                     std::u16string(static_cast<size_t>(300000 + i), u'a' + static_cast<char16_t>(i % 26))});
  }
  return pages;
}

Written collect(const std::string& path, const std::vector<std::u16string>& lines,
                const std::vector<std::u16string>& files, bool allWritten) {
  Written w{lines, files, allWritten, {}};
  for (const std::string& name : listDirectory(path)) {
    if (std::filesystem::is_regular_file(path + "/" + name)) w.contents.push_back(name + ":" + readFile(path + "/" + name));
  }
  return w;
}

std::string prepareFolder() {
  std::string path = makeTempDirectory();
  for (int i = 0; i < 40; ++i) {
    if (i % 11 == 5) std::filesystem::create_directory(path + "/blocked" + std::to_string(i) + ".html");
  }
  return path;
}

TEST(PageWriter, ReportsAndListsLikeWritingEachPageAtOnce) {
  const std::vector<PageSpec> pages = mixedPages();

  // The reference: each page written and reported at once, in order.
  const std::string direct = prepareFolder();
  std::vector<std::u16string> directWritten;
  MemoryConsole directConsole;
  bool directAll = true;
  {
    OutputFolder folder(u16(direct + "/"));
    for (const PageSpec& p : pages) {
      if (!reportWriteOutcome(directConsole, writeFramedPage(folder, p.file, p.title, p.body),
                              folder.path() + p.file)) {
        directAll = false;
        continue;
      }
      directWritten.push_back(p.file);
    }
  }

  const std::string queued = prepareFolder();
  std::vector<std::u16string> queuedWritten;
  MemoryConsole queuedConsole;
  bool queuedAll;
  {
    OutputFolder folder(u16(queued + "/"));
    PageWriter writer(folder);
    for (const PageSpec& p : pages) writer.write(p.file, p.title, p.body);
    queuedAll = writer.finish(queuedConsole, queuedWritten);
  }

  const Written a = collect(direct, directConsole.lines, directWritten, directAll);
  const Written b = collect(queued, queuedConsole.lines, queuedWritten, queuedAll);
  EXPECT_FALSE(a.allWritten);
  EXPECT_EQ(a.allWritten, b.allWritten);
  // The lines name the queued folder; compare them with it taken out.
  ASSERT_EQ(a.lines.size(), b.lines.size());
  for (size_t i = 0; i < a.lines.size(); ++i) {
    std::u16string la = a.lines[i], lb = b.lines[i];
    la.replace(la.find(u16(direct)), direct.size(), u"X");
    lb.replace(lb.find(u16(queued)), queued.size(), u"X");
    EXPECT_EQ(la, lb) << i;
  }
  EXPECT_EQ(a.files, b.files);
  EXPECT_EQ(a.contents, b.contents);
  EXPECT_EQ(b.files.size(), 31u);  // 5 refused names, 4 blocked by folders
}

TEST(PageWriter, NothingHandedOverIsAllWritten) {
  std::vector<std::u16string> written;
  MemoryConsole console;
  OutputFolder folder(u16(makeTempDirectory() + "/"));
  PageWriter writer(folder);
  EXPECT_TRUE(writer.finish(console, written));
  EXPECT_TRUE(console.lines.empty());
  EXPECT_TRUE(written.empty());
}

}  // namespace
}  // namespace thc
