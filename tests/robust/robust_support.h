// Shared pieces of the end-to-end robustness tests: a scratch folder per
// test, one run of the program on a project file, and the checks that every
// bad input must leave the output in a sound state.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/run_program.h"

namespace thc::robust {

using testing::ProgramRun;

// A scratch folder holding the project in project/ and the output in
// project/html/; removed with everything in it at the end of the test.
class RobustTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = testing::makeTempDirectory();
    project_ = root_ + "/project";
    output_ = project_ + "/html";
    std::filesystem::create_directory(project_);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::permissions(root_, std::filesystem::perms::all, ignored);
    std::filesystem::remove_all(root_, ignored);
  }

  // Writes project/NAME and returns its path.
  std::string projectFile(const std::string& name, const std::string& content) {
    const std::string path = project_ + "/" + name;
    testing::writeFile(path, content);
    return path;
  }

  // Runs the program on a project file with the output in `output`
  // (default project/html). A run that takes longer than `timeout` seconds
  // counts as a hang.
  ProgramRun compile(const std::string& file, const std::string& output = "",
                     testing::RunLimits limits = {}) {
    if (limits.timeoutSeconds == 0) limits.timeoutSeconds = 120;
    ProgramRun run = testing::runProgram({"x", file}, "\n", "",
                                         {"TARNELTHC_OUTPUT=" + (output.empty() ? output_ : output)},
                                         limits);
    EXPECT_FALSE(run.timedOut) << "the program hung on " << file;
    EXPECT_EQ(run.errors, "") << "the program wrote to standard error";
    return run;
  }

  std::string root_;
  std::string project_;
  std::string output_;
};

// The lines after the banner and the "Analyzing file" line.
inline std::vector<std::string> afterBanner(const ProgramRun& run) {
  const size_t banner = testing::bannerLines("x").size();
  if (run.lines.size() < banner) return {};
  return std::vector<std::string>(run.lines.begin() + static_cast<long>(banner), run.lines.end());
}

inline std::vector<std::string> join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The console lines of a run from the start of the stages to the end, with
// the generation stage's outcome in between.
inline std::vector<std::string> stageLines(const std::string& output,
                                           const std::vector<std::string>& whileWriting = {}) {
  std::vector<std::string> lines = {"success", "File ok", "Parsing file ...", "done",
                                    "Checking file ...", "done", "Creating Language Catalog ...",
                                    "done", "Optimizing ... ", "done", "Extending Index... ",
                                    "done", "Creating HTML files at " + output + "/"};
  lines = join(lines, whileWriting);
  return join(lines, {"Completed"});
}

inline const std::vector<std::string> kEnd = {"", "Press return to exit"};

// The [FILES] section of a help project file.
inline std::vector<std::string> listedPages(const std::string& hhp) {
  std::vector<std::string> pages;
  const size_t at = hhp.find("[FILES]\n");
  if (at == std::string::npos) return pages;
  std::string line;
  for (char c : hhp.substr(at + 8)) {
    if (c != '\n') {
      line.push_back(c);
      continue;
    }
    pages.push_back(line);
    line.clear();
  }
  return pages;
}

inline bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Every page that document.hhp lists is there and complete, from the frame's
// first byte to its last.
inline void expectListedPagesComplete(const std::string& output) {
  for (const std::string& page : listedPages(testing::readFile(output + "/document.hhp"))) {
    const std::string html = testing::readFile(output + "/" + page);
    EXPECT_EQ(html.rfind("<!DOCTYPE HTML PUBLIC", 0), 0u) << page;
    EXPECT_TRUE(endsWith(html, "</body></html>")) << page << " is cut short";
  }
}

// Every file below `folder`, as paths relative to it.
inline std::set<std::string> filesBelow(const std::string& folder) {
  std::set<std::string> files;
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    if (!it->is_directory()) files.insert(std::filesystem::relative(it->path(), folder).string());
  }
  return files;
}

inline bool isRoot() { return ::geteuid() == 0; }

}  // namespace thc::robust
