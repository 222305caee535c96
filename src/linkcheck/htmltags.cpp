#include "linkcheck/htmltags.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "base/utf.h"

namespace thc {

namespace {

using Bytes = std::string_view;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
char lowered(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

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
size_t readAttributes(Bytes text, size_t pos, std::vector<TagAttribute>& attributes) {
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
    attributes.push_back(TagAttribute{name, value});
  }
  return size;
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

}  // namespace

bool sameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return lowered(x) == lowered(y);
         });
}

void forEachStartTag(std::string_view text, const TagVisitor& visit) {
  std::vector<TagAttribute> attributes;
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

std::string_view attributeText(std::string_view value, std::string& room) {
  while (!value.empty() && isSpace(value.front())) value.remove_prefix(1);
  while (!value.empty() && isSpace(value.back())) value.remove_suffix(1);
  if (value.find('&') == Bytes::npos) return value;
  static constexpr std::pair<Bytes, char> named[] = {
      {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
  room.clear();
  size_t pos = 0;
  while (pos < value.size()) {
    const size_t semicolon = value[pos] == '&' ? value.find(';', pos) : Bytes::npos;
    if (semicolon == Bytes::npos || semicolon - pos > 10) {
      room.push_back(value[pos++]);
      continue;
    }
    const Bytes name = value.substr(pos + 1, semicolon - pos - 1);
    uint32_t code = 0;
    auto found = std::find_if(std::begin(named), std::end(named),
                              [&](const auto& entry) { return entry.first == name; });
    if (found != std::end(named)) {
      room.push_back(found->second);
    } else if (name.starts_with('#') && numericReference(name.substr(1), code)) {
      appendCodePoint(room, code);
    } else {
      room.push_back(value[pos++]);
      continue;
    }
    pos = semicolon + 1;
  }
  return room;
}


}  // namespace thc
