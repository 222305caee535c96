#include "chm/pagelinks.h"

#include <algorithm>

#include "base/utf.h"
#include "linkcheck/htmltags.h"

namespace thc::chm {

namespace {

// The attributes that name a file the page needs or leads to.
bool namesFile(std::string_view attribute) {
  for (std::string_view name : {"href", "src", "background"}) {
    if (sameLetters(attribute, name)) return true;
  }
  return false;
}

bool hasScheme(std::string_view target) {
  const size_t colon = target.find(':');
  if (colon == std::string_view::npos) return false;
  return target.find_first_of("/?#") > colon;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "%20" and the like as the bytes they stand for.
std::string withoutEscapes(std::string_view target) {
  std::string bytes;
  for (size_t i = 0; i < target.size(); ++i) {
    if (target[i] == '%' && i + 2 < target.size() && hexValue(target[i + 1]) >= 0 &&
        hexValue(target[i + 2]) >= 0) {
      bytes += static_cast<char>(hexValue(target[i + 1]) * 16 + hexValue(target[i + 2]));
      i += 2;
    } else {
      bytes += target[i];
    }
  }
  return bytes;
}

}  // namespace

std::u16string resolveLink(std::u16string_view pagePath, std::u16string_view target) {
  std::vector<std::u16string_view> parts;
  const size_t slash = pagePath.rfind(u'/');
  std::u16string joined;
  if (slash != std::u16string_view::npos && !target.starts_with(u"/")) joined = pagePath.substr(0, slash + 1);
  joined += target;
  std::u16string_view rest = joined;
  while (!rest.empty()) {
    const size_t end = std::min(rest.find(u'/'), rest.size());
    const std::u16string_view part = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (part.empty() || part == u".") continue;
    if (part == u"..") {
      if (parts.empty()) return {};
      parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::u16string path;
  for (std::u16string_view part : parts) {
    if (!path.empty()) path += u'/';
    path += part;
  }
  return path;
}

namespace {

// A name with nothing to resolve: no folder, no escape, not "." or "..".
bool isPlainName(std::string_view target) {
  return target != "." && target != ".." && target.find_first_of("/\\%") == std::string_view::npos;
}

// Adds the file that `target` of the file at `fromPath` names, unless it
// leads elsewhere or is there already.
void addTarget(std::vector<std::u16string>& files, std::u16string_view fromPath, std::string_view target) {
  target = target.substr(0, target.find_first_of("#?"));
  if (target.empty() || hasScheme(target) || target.starts_with("//")) return;
  std::u16string path;
  if (isPlainName(target)) {
    // A file beside the page, the most common link: the page's path is
    // resolved already, so the target only joins its folder.
    path = fromPath.substr(0, fromPath.rfind(u'/') + 1);
    appendFromUtf8(path, target);
  } else {
    std::string bytes = withoutEscapes(target);
    std::replace(bytes.begin(), bytes.end(), '\\', '/');
    path = resolveLink(fromPath, fromUtf8(bytes));
  }
  if (!path.empty() && std::find(files.begin(), files.end(), path) == files.end()) files.push_back(path);
}

// The value of a "url(...)" whose "(" ends at `at`: quoted or not, blanks
// around it left out.
std::string_view urlValue(std::string_view css, size_t at) {
  while (at < css.size() && (css[at] == ' ' || css[at] == '\t')) ++at;
  if (at < css.size() && (css[at] == '"' || css[at] == '\'')) {
    const size_t end = css.find(css[at], at + 1);
    return end == std::string_view::npos ? std::string_view() : css.substr(at + 1, end - at - 1);
  }
  const size_t end = css.find(')', at);
  std::string_view value = css.substr(at, end == std::string_view::npos ? 0 : end - at);
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
  return value;
}

}  // namespace

std::vector<std::u16string> linkedFiles(std::string_view html, std::u16string_view pagePath) {
  std::vector<std::u16string> files;
  std::string room;
  forEachStartTag(html, [&](std::string_view, const std::vector<TagAttribute>& attributes) {
    for (const TagAttribute& attribute : attributes) {
      if (namesFile(attribute.name)) addTarget(files, pagePath, attributeText(attribute.value, room));
    }
  });
  return files;
}

std::vector<std::u16string> styleSheetFiles(std::string_view css, std::u16string_view sheetPath) {
  std::vector<std::u16string> files;
  for (size_t at = 0; at < css.size();) {
    if (css.substr(at, 2) == "/*") {
      const size_t end = css.find("*/", at + 2);
      at = end == std::string_view::npos ? css.size() : end + 2;
    } else if (sameLetters(css.substr(at, 4), "url(")) {
      addTarget(files, sheetPath, urlValue(css, at + 4));
      at += 4;
    } else if (sameLetters(css.substr(at, 7), "@import")) {
      // "@import 'x.css'" without url(): the quoted name.
      size_t quote = at + 7;
      while (quote < css.size() && (css[quote] == ' ' || css[quote] == '\t')) ++quote;
      if (quote < css.size() && (css[quote] == '"' || css[quote] == '\'')) addTarget(files, sheetPath, urlValue(css, quote));
      at += 7;
    } else {
      ++at;
    }
  }
  return files;
}

}  // namespace thc::chm
