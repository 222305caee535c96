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
#include <utility>
#include <vector>

#include "codepage/decoder.h"
#include "common/output.h"
#include "linkcheck/stringtable.h"

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

// Fed by the output folder as it stores each file (observe), so the files
// are checked while they are in memory anyway, never read back.
class LinkChecker : public StoredFileObserver {
 public:
  // The contents and index files are read in sitemapCodePage, as help
  // compilers read them; pages are UTF-8.
  explicit LinkChecker(unsigned sitemapCodePage) : sitemapDecoder_(sitemapCodePage) {}

  void stored(std::u16string_view name, std::string_view bytes) override { addFile(name, bytes); }
  // A written file. Pages (.htm, .html) give anchors and links, the contents
  // and index files (.hhc, .hhk) links; of any other file only the name counts.
  void addFile(std::u16string_view name, std::string_view bytes);
  // A written file whose bytes are not at hand (an image copy).
  void addName(std::u16string_view name);
  // Resolves every link against every file fed.
  LinkFindings finish() const;

 private:
  struct Use {
    uint32_t file;          // number in names_
    uint32_t target : 31;   // number in targets_
    uint32_t sameFile : 1;  // written as "#anchor" alone
  };

  void addLink(uint32_t file, std::string_view value);
  void addAnchor(uint32_t file, std::string_view value);
  void scanPage(uint32_t file, std::string_view bytes);
  void scanSitemap(uint32_t file, std::string_view bytes);
  bool resolves(std::string_view target) const;
  std::vector<std::pair<std::u16string, std::u16string>> caseClashes() const;

  TextDecoder sitemapDecoder_;
  StringTable names_;    // UTF-8, in the order fed
  StringTable anchors_;  // file + "#" + anchor
  // The distinct targets, as file or file + "#" + anchor (a link to an
  // anchor of its own page names that page), and the file that used each
  // last, so a page that repeats a link is not reported twice.
  StringTable targets_;
  std::vector<uint32_t> lastUser_;
  std::vector<Use> uses_;
  std::string text_;  // room for a link's text, reused
  std::string key_;   // room for a target, reused
};

}  // namespace thc
