// Checks the links of the files a run wrote. Every href and img src of the
// pages and every "Local" of the contents and index files must name a file
// written in the run and, after "#", an anchor of that page. A link with a
// scheme (http:, mailto: ...) leads out of the help and is not checked.
//
// The files are fed one at a time as (name, bytes), in any order, by
// whatever has them: the files read back from the output folder, or the
// writer as it writes them. Of a file only its name, its anchors and its
// links are kept, so the checker never holds the output.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace thc {

struct BrokenLink {
  std::u16string file;    // the file the link stands in
  std::u16string target;  // the link as written (character references read)
};

struct LinkFindings {
  std::vector<BrokenLink> broken;  // in the order the files were fed
  // Pairs of written names that differ only in letter case: on a file
  // system or in a help file that ignores case they are one file.
  std::vector<std::pair<std::u16string, std::u16string>> caseClashes;
  bool clean() const { return broken.empty() && caseClashes.empty(); }
};

class LinkChecker {
 public:
  // A written file. Pages (.htm, .html) give anchors and links, the contents
  // and index files (.hhc, .hhk) links; of any other file only the name counts.
  void addFile(std::u16string_view name, std::string_view bytes);
  // A written file whose bytes are not at hand (an image copy).
  void addName(std::u16string_view name);
  // Resolves every link against every file fed.
  LinkFindings finish() const;

 private:
  struct Use {
    uint32_t file;    // index into names_
    uint32_t target;  // index into targets_
    bool sameFile;    // written as "#anchor" alone
  };

  uint32_t addNameBytes(std::string name);
  void addLink(uint32_t file, std::string_view value);
  void addAnchor(uint32_t file, std::string_view value);
  void scanPage(uint32_t file, std::string_view bytes);
  void scanSitemap(uint32_t file, std::string_view bytes);
  bool resolves(const std::string& target) const;

  std::vector<std::string> names_;  // UTF-8, in the order fed
  std::unordered_map<std::string, uint32_t> nameIndex_;
  std::unordered_set<std::string> anchors_;  // file + "#" + anchor
  // The distinct targets, as file or file + "#" + anchor (a link to an
  // anchor of its own page names that page), and the file that used each
  // last, so a page that repeats a link is not reported twice.
  std::unordered_map<std::string, uint32_t> targetIndex_;
  std::vector<const std::string*> targets_;
  std::vector<uint32_t> lastUser_;
  std::vector<Use> uses_;
};

}  // namespace thc
