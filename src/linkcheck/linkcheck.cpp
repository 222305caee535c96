#include "linkcheck/linkcheck.h"

#include <algorithm>

#include "common/utf.h"
#include "platform/textcase.h"

namespace thc {

namespace {

using Bytes = std::string_view;

struct Attribute {
  Bytes name;
  Bytes value;
};

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
char lowered(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool sameLetters(Bytes a, Bytes b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return lowered(x) == lowered(y);
         });
}

bool endsWithLetters(Bytes text, Bytes ending) {
  return text.size() >= ending.size() && sameLetters(text.substr(text.size() - ending.size()), ending);
}

// The position after the first `what` at or after `pos`, letter case
// ignored; the end of the text when there is none.
size_t skipPast(Bytes text, size_t pos, Bytes what) {
  for (;;) {
    pos = text.find('<', pos);
    if (pos == Bytes::npos) return text.size();
    if (sameLetters(text.substr(pos, what.size()), what)) return pos + what.size();
    ++pos;
  }
}

// The attributes of a tag from just after its name; returns the position
// after the closing ">" (or the end of the text).
size_t readAttributes(Bytes text, size_t pos, std::vector<Attribute>& attributes) {
  const size_t size = text.size();
  while (pos < size) {
    while (pos < size && isSpace(text[pos])) ++pos;
    if (pos >= size) break;
    if (text[pos] == '>') return pos + 1;
    const size_t nameStart = pos;
    while (pos < size && !isSpace(text[pos]) && text[pos] != '=' && text[pos] != '>') ++pos;
    if (pos == nameStart) ++pos;  // a stray "=" names nothing
    const Bytes name = text.substr(nameStart, pos - nameStart);
    while (pos < size && isSpace(text[pos])) ++pos;
    Bytes value;
    if (pos < size && text[pos] == '=') {
      ++pos;
      while (pos < size && isSpace(text[pos])) ++pos;
      if (pos < size && (text[pos] == '\'' || text[pos] == '"')) {
        const size_t close = std::min(text.find(text[pos], pos + 1), size);
        value = text.substr(pos + 1, close - pos - 1);
        pos = std::min(close + 1, size);
      } else {
        const size_t valueStart = pos;
        while (pos < size && !isSpace(text[pos]) && text[pos] != '>') ++pos;
        value = text.substr(valueStart, pos - valueStart);
      }
    }
    attributes.push_back(Attribute{name, value});
  }
  return size;
}

// Calls visit(tag name, attributes) for every start tag of an HTML text.
// Comments, end tags and declarations are passed over, and so is the content
// of script and style elements; a "<" that starts no tag is text.
template <typename Visit>
void forEachTag(Bytes text, Visit visit) {
  std::vector<Attribute> attributes;
  size_t pos = 0;
  while ((pos = text.find('<', pos)) != Bytes::npos) {
    ++pos;
    if (text.substr(pos, 3) == "!--") {
      const size_t end = text.find("-->", pos + 3);
      if (end == Bytes::npos) return;
      pos = end + 3;
      continue;
    }
    if (pos >= text.size() || !isLetter(text[pos])) continue;
    const size_t nameStart = pos;
    while (pos < text.size() && (isLetter(text[pos]) || isDigit(text[pos]))) ++pos;
    const Bytes name = text.substr(nameStart, pos - nameStart);
    attributes.clear();
    pos = readAttributes(text, pos, attributes);
    visit(name, attributes);
    if (sameLetters(name, "script")) pos = skipPast(text, pos, "</script");
    if (sameLetters(name, "style")) pos = skipPast(text, pos, "</style");
  }
}

// A character reference as a code point, from just after the "&#".
bool numericReference(Bytes digits, uint32_t& code) {
  const bool hex = !digits.empty() && (digits[0] == 'x' || digits[0] == 'X');
  if (hex) digits.remove_prefix(1);
  if (digits.empty() || digits.size() > 8) return false;
  code = 0;
  for (char c : digits) {
    uint32_t digit;
    if (isDigit(c)) {
      digit = static_cast<uint32_t>(c - '0');
    } else if (hex && isLetter(c) && lowered(c) <= 'f') {
      digit = static_cast<uint32_t>(lowered(c) - 'a' + 10);
    } else {
      return false;
    }
    code = code * (hex ? 16 : 10) + digit;
  }
  return code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

void appendCodePoint(std::string& out, uint32_t code) {
  std::u16string unit;
  if (code >= 0x10000) {
    unit = {static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)),
            static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF))};
  } else {
    unit = {static_cast<char16_t>(code)};
  }
  appendUtf8(out, unit);
}

// An attribute value as the browser reads it: the character references
// resolved, blanks around it dropped. Anything that is no reference stays.
std::string attributeText(Bytes value) {
  while (!value.empty() && isSpace(value.front())) value.remove_prefix(1);
  while (!value.empty() && isSpace(value.back())) value.remove_suffix(1);
  if (value.find('&') == Bytes::npos) return std::string(value);
  static constexpr std::pair<Bytes, char> named[] = {
      {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
  std::string out;
  size_t pos = 0;
  while (pos < value.size()) {
    const size_t semicolon = value[pos] == '&' ? value.find(';', pos) : Bytes::npos;
    if (semicolon == Bytes::npos || semicolon - pos > 10) {
      out.push_back(value[pos++]);
      continue;
    }
    const Bytes name = value.substr(pos + 1, semicolon - pos - 1);
    uint32_t code = 0;
    auto found = std::find_if(std::begin(named), std::end(named), [&](const auto& n) { return n.first == name; });
    if (found != std::end(named)) {
      out.push_back(found->second);
    } else if (name.starts_with('#') && numericReference(name.substr(1), code)) {
      appendCodePoint(out, code);
    } else {
      out.push_back(value[pos++]);
      continue;
    }
    pos = semicolon + 1;
  }
  return out;
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
    if (link[i] == '%' && i + 2 < link.size() && hexValue(link[i + 1]) >= 0 && hexValue(link[i + 2]) >= 0) {
      out.push_back(static_cast<char>(hexValue(link[i + 1]) * 16 + hexValue(link[i + 2])));
      i += 2;
    } else {
      out.push_back(link[i]);
    }
  }
  while (out.starts_with("./")) out.erase(0, 2);
  return out;
}

}  // namespace

uint32_t LinkChecker::addNameBytes(std::string name) {
  auto [found, added] = nameIndex_.try_emplace(std::move(name), static_cast<uint32_t>(names_.size()));
  if (added) names_.push_back(found->first);
  return found->second;
}

void LinkChecker::addName(std::u16string_view name) { addNameBytes(toUtf8(name)); }

void LinkChecker::addFile(std::u16string_view name, std::string_view bytes) {
  std::string utf8 = toUtf8(name);
  const bool page = endsWithLetters(utf8, ".html") || endsWithLetters(utf8, ".htm");
  const bool sitemap = endsWithLetters(utf8, ".hhc") || endsWithLetters(utf8, ".hhk");
  const uint32_t file = addNameBytes(std::move(utf8));
  if (page) scanPage(file, bytes);
  if (sitemap) scanSitemap(file, bytes);
}

void LinkChecker::scanPage(uint32_t file, std::string_view bytes) {
  forEachTag(bytes, [&](Bytes tag, const std::vector<Attribute>& attributes) {
    const bool anchorTag = sameLetters(tag, "a");
    const bool image = sameLetters(tag, "img");
    for (const Attribute& attribute : attributes) {
      if (sameLetters(attribute.name, "href") || (image && sameLetters(attribute.name, "src"))) {
        addLink(file, attribute.value);
      } else if (sameLetters(attribute.name, "id") || (anchorTag && sameLetters(attribute.name, "name"))) {
        addAnchor(file, attribute.value);
      }
    }
  });
}

void LinkChecker::scanSitemap(uint32_t file, std::string_view bytes) {
  forEachTag(bytes, [&](Bytes tag, const std::vector<Attribute>& attributes) {
    if (!sameLetters(tag, "param")) return;
    Bytes name, value;
    for (const Attribute& attribute : attributes) {
      if (sameLetters(attribute.name, "name")) name = attribute.value;
      if (sameLetters(attribute.name, "value")) value = attribute.value;
    }
    if (sameLetters(name, "local")) addLink(file, value);
  });
}

void LinkChecker::addAnchor(uint32_t file, std::string_view value) {
  anchors_.insert(names_[file] + "#" + attributeText(value));
}

void LinkChecker::addLink(uint32_t file, std::string_view value) {
  std::string link = attributeText(value);
  if (hasScheme(link)) return;
  // An empty link and "#" alone lead to the page itself.
  const bool sameFile = link.empty() || link.front() == '#';
  if (sameFile) link.insert(0, names_[file]);
  auto [found, added] = targetIndex_.try_emplace(std::move(link), static_cast<uint32_t>(targets_.size()));
  if (added) {
    targets_.push_back(&found->first);
    lastUser_.push_back(file);
  } else if (lastUser_[found->second] == file) {
    return;
  }
  lastUser_[found->second] = file;
  uses_.push_back(Use{file, found->second, sameFile});
}

bool LinkChecker::resolves(const std::string& target) const {
  const size_t hash = target.find('#');
  const std::string file = fileOfLink(Bytes(target).substr(0, hash));
  if (nameIndex_.find(file) == nameIndex_.end()) return false;
  if (hash == std::string::npos || hash + 1 == target.size()) return true;
  const Bytes anchor = Bytes(target).substr(hash + 1);
  if (anchors_.count(file + "#" + std::string(anchor)) != 0) return true;
  // "#a%20b" names the anchor "a b".
  return anchors_.count(file + "#" + fileOfLink(anchor)) != 0;
}

LinkFindings LinkChecker::finish() const {
  LinkFindings findings;
  std::vector<bool> broken(targets_.size());
  for (size_t i = 0; i < targets_.size(); ++i) broken[i] = !resolves(*targets_[i]);
  for (const Use& use : uses_) {
    if (!broken[use.target]) continue;
    Bytes shown = *targets_[use.target];
    // "#anchor" as written, not as the page name it stands for.
    if (use.sameFile) shown.remove_prefix(names_[use.file].size());
    findings.broken.push_back(BrokenLink{fromUtf8(names_[use.file]), fromUtf8(shown)});
  }
  // Names that one case-blind file system would take for one: each pair once,
  // in the order the names were fed.
  std::unordered_map<std::u16string, std::vector<uint32_t>> byFolded;
  std::vector<const std::vector<uint32_t>*> groups;
  for (uint32_t i = 0; i < names_.size(); ++i) {
    auto [found, added] = byFolded.try_emplace(platform::toLower(fromUtf8(names_[i])));
    if (added) groups.push_back(&found->second);
    found->second.push_back(i);
  }
  for (const std::vector<uint32_t>* group : groups) {
    for (size_t a = 0; a < group->size(); ++a) {
      for (size_t b = a + 1; b < group->size(); ++b) {
        findings.caseClashes.emplace_back(fromUtf8(names_[(*group)[a]]), fromUtf8(names_[(*group)[b]]));
      }
    }
  }
  return findings;
}

}  // namespace thc
