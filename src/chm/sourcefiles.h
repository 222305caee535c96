// The files a help project puts into its help file: those its [FILES]
// section lists, and its contents and index files, each under the name
// readers look it up by.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "chm/projectfile.h"
#include "common/text.h"

namespace thc::chm {

struct SourceFile {
  std::u16string path;  // relative to the project's folder, "/" between folders
  std::string name;     // inside the help file: "/" + the path in UTF-8
  bool topic = false;   // an HTML page, which gets a topic of its own
  bool styleSheet = false;  // a CSS file, whose images and imports it needs
  std::u16string linkedFrom;  // not listed: the page that links to it
};

struct SourceProblem {
  std::u16string file;
  std::u16string why;
};

// The files in the order they are stored; a file named twice is stored once.
class SourceFiles {
 public:
  // Adds a listed file. False, with the problem, when its path leaves the
  // project's folder or is too long, or differs only in letter case from a
  // path added before.
  bool add(std::u16string_view listed, SourceProblem& problem);
  // Adds a file that a page links to (a path relative to the project's
  // folder), unless it is known already or could not be listed.
  void addLinked(std::u16string_view path, std::u16string_view page);
  const std::vector<SourceFile>& files() const { return files_; }
  // Makes room for this many files.
  void reserve(size_t count);

 private:
  bool add(std::u16string_view listed, std::u16string_view linkedFrom, SourceProblem& problem);

  std::vector<SourceFile> files_;
  // Names folded to lower case, with the file that took each.
  std::unordered_map<std::string, size_t> taken_;
  // The paths added, as stored: pages link to the same files again and
  // again, and a path found here needs no resolving.
  std::unordered_set<std::u16string, TextHash, std::equal_to<>> added_;
};

// The contents and index files, the files of [FILES] and [TEXT POPUPS];
// none, with the problem, when one is refused.
std::optional<SourceFiles> listedFiles(const HelpProjectFile& project, SourceProblem& problem);

}  // namespace thc::chm
