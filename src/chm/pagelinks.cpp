#include "chm/pagelinks.h"

#include <algorithm>

#include "common/utf.h"
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

std::vector<std::u16string> linkedFiles(std::string_view html, std::u16string_view pagePath) {
  std::vector<std::u16string> files;
  std::string room;
  forEachStartTag(html, [&](std::string_view, const std::vector<TagAttribute>& attributes) {
    for (const TagAttribute& attribute : attributes) {
      if (!namesFile(attribute.name)) continue;
      std::string_view target = attributeText(attribute.value, room);
      target = target.substr(0, target.find_first_of("#?"));
      if (target.empty() || hasScheme(target) || target.starts_with("//")) continue;
      std::string bytes = withoutEscapes(target);
      std::replace(bytes.begin(), bytes.end(), '\\', '/');
      const std::u16string path = resolveLink(pagePath, fromUtf8(bytes));
      if (!path.empty() && std::find(files.begin(), files.end(), path) == files.end()) files.push_back(path);
    }
  });
  return files;
}

}  // namespace thc::chm
