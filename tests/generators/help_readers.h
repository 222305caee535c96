// What a help project compiled by `--compile` must give back, taken from
// the project's folder by a reading of its own, not by the compiler's code;
// and the context ids as chmls reads them (the other readers are in
// readers/chm_readers.h).
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace thc::testing::generators {

struct ShellRun {
  int exitCode = -1;
  std::string output;  // both streams
};
ShellRun runShell(const std::string& command);
std::string shellQuote(const std::string& text);

// The regular files below `folder` by their path from it ("sub/b.html").
std::map<std::string, std::string> filesBelow(const std::string& folder);

// The help project `hhp` (a file in `folder`) as a help compiler must read
// it: the options by their lowered key, [FILES] and the files of [ALIAS]
// with "/" for "\", and every file the help file must hold: those listed
// and aliased, the contents and the index,
// and the pages, images and style sheets that the pages and style sheets
// lead to which exist inside the folder, followed from file to file.
struct ProjectView {
  std::map<std::string, std::string> options;
  std::vector<std::string> listed;
  std::vector<std::string> aliased;
  std::set<std::string> stored;
};
ProjectView readProject(const std::string& folder, const std::string& hhp);

// One entry of a contents or index file: its depth in the lists, its Name
// and Keyword values and its Local values, entities resolved.
struct SitemapEntry {
  int depth = 0;
  std::vector<std::string> names;
  std::vector<std::string> locals;
  bool operator==(const SitemapEntry&) const = default;
};
std::vector<SitemapEntry> readSitemap(const std::string& text);

// Differences between two files' entries, one line each (empty when equal).
std::string sitemapDifferences(const std::vector<SitemapEntry>& expected, const std::vector<SitemapEntry>& read);

// chmls extractalias: the context ids and the files they open ("/" for
// "\"), read from the help file's #IVB.
std::map<std::uint32_t, std::string> contextIdsWithChmls(const std::string& chm, const std::string& scratch);

}  // namespace thc::testing::generators
