#include "chm/sourcefiles.h"

#include "base/utf.h"
#include "common/text.h"

namespace thc::chm {

namespace {

// Readers keep names in buffers of 512 bytes or so.
constexpr size_t kLongestName = 500;

bool endsWithLetters(std::u16string_view path, std::u16string_view lowerEnd) {
  if (path.size() < lowerEnd.size()) return false;
  const std::u16string_view end = path.substr(path.size() - lowerEnd.size());
  for (size_t i = 0; i < end.size(); ++i) {
    const char16_t c = end[i] >= u'A' && end[i] <= u'Z' ? static_cast<char16_t>(end[i] + 32) : end[i];
    if (c != lowerEnd[i]) return false;
  }
  return true;
}

bool isPage(std::u16string_view path) { return endsWithLetters(path, u".htm") || endsWithLetters(path, u".html"); }

// "./a.html" and "a.html" are one file; "." parts go, ".." parts back out
// of a folder; a path that climbs above the project's folder, a drive or an
// absolute path lead outside and are refused (none then).
std::optional<std::u16string> relativePath(std::u16string_view listed) {
  std::u16string path;
  size_t start = 0;
  while (start <= listed.size()) {
    size_t slash = listed.find(u'/', start);
    if (slash == std::u16string_view::npos) slash = listed.size();
    const std::u16string_view part = listed.substr(start, slash - start);
    start = slash + 1;
    if (part.empty() || part == u".") {
      if (slash == 0) return std::nullopt;  // an absolute path
      continue;
    }
    if (part.find(u':') != std::u16string_view::npos) return std::nullopt;
    if (part == u"..") {
      // Back out of the last folder; above the project's folder is outside.
      if (path.empty()) return std::nullopt;
      const size_t last = path.rfind(u'/');
      path.resize(last == std::u16string::npos ? 0 : last);
      continue;
    }
    if (!path.empty()) path += u'/';
    path += part;
  }
  if (path.empty()) return std::nullopt;
  return path;
}

}  // namespace

bool SourceFiles::add(std::u16string_view listed, SourceProblem& problem) { return add(listed, u"", problem); }

void SourceFiles::addLinked(std::u16string_view path, std::u16string_view page) {
  SourceProblem ignored;
  add(path, page, ignored);
}

bool SourceFiles::add(std::u16string_view listed, std::u16string_view linkedFrom, SourceProblem& problem) {
  // A stored path resolves to itself: it was taken already.
  if (added_.find(listed) != added_.end()) return true;
  const bool linked = !linkedFrom.empty();
  std::optional<std::u16string> path = relativePath(trimmedView(listed));
  if (!path) {
    problem = {std::u16string(listed), u"lies outside the project's folder"};
    return false;
  }
  std::string name = "/";
  appendUtf8(name, *path);
  if (name.size() > kLongestName) {
    problem = {*path, u"has a name too long for a help file"};
    return false;
  }
  std::string folded = name;
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  auto [found, isNew] = taken_.emplace(std::move(folded), files_.size());
  if (!isNew) {
    const std::u16string& before = files_[found->second].path;
    if (before == *path || linked) return true;
    problem = {*path, u"differs only in letter case from " + before};
    return false;
  }
  added_.insert(*path);
  const bool page = isPage(*path);
  const bool styleSheet = endsWithLetters(*path, u".css");
  files_.push_back(SourceFile{std::move(*path), std::move(name), page, styleSheet, std::u16string(linkedFrom)});
  return true;
}

void SourceFiles::reserve(size_t count) {
  files_.reserve(count);
  taken_.reserve(count);
  added_.reserve(count);
}

std::optional<SourceFiles> listedFiles(const HelpProjectFile& project, SourceProblem& problem) {
  SourceFiles files;
  // Pages link to few files that are not listed.
  files.reserve(2 + project.files.size() + project.popupFiles.size());
  for (const std::u16string* sitemap : {&project.contentsFile, &project.indexFile}) {
    if (!sitemap->empty() && !files.add(*sitemap, problem)) return std::nullopt;
  }
  for (const auto* list : {&project.files, &project.popupFiles}) {
    for (const std::u16string& file : *list) {
      if (!files.add(file, problem)) return std::nullopt;
    }
  }
  return files;
}

}  // namespace thc::chm
