#include "linkcheck/linkcheck.h"

#include <algorithm>
#include <cstdint>

#include "base/utf.h"
#include "linkcheck/htmltags.h"
#include "platform/textcase.h"

namespace thc {

namespace {

using Bytes = std::string_view;

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
char lowered(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool endsWithLetters(Bytes text, Bytes ending) {
  return text.size() >= ending.size() && sameLetters(text.substr(text.size() - ending.size()), ending);
}

// "http:", "mailto:", "ms-its:" ...: a letter, then letters, digits, "+",
// "-" or ".", then ":". One letter alone is a drive ("C:"), no scheme.
bool hasScheme(Bytes link) {
  const size_t colon = link.find(':');
  if (colon == Bytes::npos || colon < 2 || !isLetter(link[0])) return false;
  return std::all_of(link.begin(), link.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
    return isLetter(c) || isDigit(c) || c == '+' || c == '-' || c == '.';
  });
}

int hexValue(char c) {
  if (isDigit(c)) return c - '0';
  if (isLetter(c) && lowered(c) <= 'f') return lowered(c) - 'a' + 10;
  return -1;
}

// A link's file part as a file name: "%XX" escapes decoded, a leading "./"
// dropped. Anything else (a folder, "..") names no file of the folder.
std::string fileOfLink(Bytes link) {
  std::string out;
  for (size_t i = 0; i < link.size(); ++i) {
    const bool escape = link[i] == '%' && i + 2 < link.size();
    if (escape && hexValue(link[i + 1]) >= 0 && hexValue(link[i + 2]) >= 0) {
      out.push_back(static_cast<char>(hexValue(link[i + 1]) * 16 + hexValue(link[i + 2])));
      i += 2;
    } else {
      out.push_back(link[i]);
    }
  }
  while (out.starts_with("./")) out.erase(0, 2);
  return out;
}

// Folds letter case as a case-blind file system would; an ASCII name
// without a library call.
std::string foldedName(Bytes name) {
  if (std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    std::string folded(name);
    for (char& c : folded) c = lowered(c);
    return folded;
  }
  return toUtf8(platform::toLower(fromUtf8(name)));
}

}  // namespace

void LinkChecker::addName(std::u16string_view name) {
  bool added = false;
  names_.insert(toUtf8(name), added);
}

void LinkChecker::addFile(std::u16string_view name, std::string_view bytes) {
  const std::string utf8 = toUtf8(name);
  bool added = false;
  const uint32_t file = names_.insert(utf8, added);
  if (endsWithLetters(utf8, ".html") || endsWithLetters(utf8, ".htm")) scanPage(file, bytes);
  if (!endsWithLetters(utf8, ".hhc") && !endsWithLetters(utf8, ".hhk")) return;
  // Help compilers read these files in the code page; turned into UTF-8 like
  // the pages, their links name the files as they were fed. ASCII reads the
  // same in every code page.
  if (std::all_of(bytes.begin(), bytes.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    scanSitemap(file, bytes);
  } else {
    scanSitemap(file, toUtf8(sitemapDecoder_.decode(bytes)));
  }
}

void LinkChecker::scanPage(uint32_t file, std::string_view bytes) {
  forEachStartTag(bytes, [&](Bytes tag, const std::vector<TagAttribute>& attributes) {
    const bool anchorTag = sameLetters(tag, "a");
    const bool image = sameLetters(tag, "img");
    for (const TagAttribute& attribute : attributes) {
      if (sameLetters(attribute.name, "href") || (image && sameLetters(attribute.name, "src"))) {
        addLink(file, attribute.value);
      } else if (sameLetters(attribute.name, "id") || (anchorTag && sameLetters(attribute.name, "name"))) {
        addAnchor(file, attribute.value);
      }
    }
  });
}

void LinkChecker::scanSitemap(uint32_t file, std::string_view bytes) {
  forEachStartTag(bytes, [&](Bytes tag, const std::vector<TagAttribute>& attributes) {
    if (!sameLetters(tag, "param")) return;
    Bytes name, value;
    for (const TagAttribute& attribute : attributes) {
      if (sameLetters(attribute.name, "name")) name = attribute.value;
      if (sameLetters(attribute.name, "value")) value = attribute.value;
    }
    if (sameLetters(name, "local")) addLink(file, value);
  });
}

void LinkChecker::addAnchor(uint32_t file, std::string_view value) {
  key_ = names_[file];
  key_ += '#';
  key_ += attributeText(value, text_);
  bool added = false;
  anchors_.insert(key_, added);
}

void LinkChecker::addLink(uint32_t file, std::string_view value) {
  Bytes link = attributeText(value, text_);
  if (hasScheme(link)) return;
  // An empty link and "#" alone lead to the page itself.
  const bool sameFile = link.empty() || link.front() == '#';
  if (sameFile) {
    key_ = names_[file];
    key_ += link;
    link = key_;
  }
  bool added = false;
  const uint32_t target = targets_.insert(link, added);
  if (added) {
    lastUser_.push_back(file);
  } else if (lastUser_[target] == file) {
    return;
  }
  lastUser_[target] = file;
  uses_.push_back(Use{file, target, sameFile});
}

bool LinkChecker::resolves(std::string_view target) const {
  const size_t hash = target.find('#');
  std::string key = fileOfLink(target.substr(0, hash));
  if (!names_.find(key)) return false;
  if (hash == std::string_view::npos || hash + 1 == target.size()) return true;
  const Bytes anchor = target.substr(hash + 1);
  key += '#';
  const size_t fileLength = key.size();
  key += anchor;
  if (anchors_.find(key)) return true;
  // "#a%20b" names the anchor "a b".
  key.resize(fileLength);
  key += fileOfLink(anchor);
  return anchors_.find(key).has_value();
}

// Names that one case-blind file system would take for one: each pair once,
// in the order the names were fed.
std::vector<std::pair<std::u16string, std::u16string>> LinkChecker::caseClashes() const {
  StringTable folded;
  std::vector<uint32_t> groupOf(names_.size());
  std::vector<uint32_t> groupSize;
  for (uint32_t i = 0; i < names_.size(); ++i) {
    bool added = false;
    groupOf[i] = folded.insert(foldedName(names_[i]), added);
    if (added) groupSize.push_back(0);
    ++groupSize[groupOf[i]];
  }
  std::vector<std::vector<uint32_t>> groups;  // the names of each shared group
  std::vector<uint32_t> groupIndex(groupSize.size(), UINT32_MAX);
  for (uint32_t i = 0; i < names_.size(); ++i) {
    const uint32_t group = groupOf[i];
    if (groupSize[group] < 2) continue;
    if (groupIndex[group] == UINT32_MAX) {
      groupIndex[group] = static_cast<uint32_t>(groups.size());
      groups.emplace_back();
    }
    groups[groupIndex[group]].push_back(i);
  }
  std::vector<std::pair<std::u16string, std::u16string>> clashes;
  for (const std::vector<uint32_t>& group : groups) {
    for (size_t a = 0; a < group.size(); ++a) {
      for (size_t b = a + 1; b < group.size(); ++b) {
        clashes.emplace_back(fromUtf8(names_[group[a]]), fromUtf8(names_[group[b]]));
      }
    }
  }
  return clashes;
}

LinkFindings LinkChecker::finish() const {
  LinkFindings findings;
  std::vector<bool> broken(targets_.size());
  for (uint32_t i = 0; i < targets_.size(); ++i) broken[i] = !resolves(targets_[i]);
  for (const Use& use : uses_) {
    if (!broken[use.target]) continue;
    Bytes shown = targets_[use.target];
    // "#anchor" as written, not as the page name it stands for.
    if (use.sameFile) shown.remove_prefix(names_[use.file].size());
    findings.broken.push_back(BrokenLink{fromUtf8(names_[use.file]), fromUtf8(shown)});
  }
  findings.caseClashes = caseClashes();
  return findings;
}

}  // namespace thc
