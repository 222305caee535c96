#include "codepage/codepage.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "base/utf.h"
#include "codepage/singlebyte.h"

namespace thc {

namespace {

constexpr unsigned defaultCodePage = 1252;

struct LanguageCodePage {
  uint16_t language;
  uint16_t codePage;
};

// Languages written in a code page of their own by country or script; looked
// at before the primary languages below.
constexpr LanguageCodePage byLanguage[] = {
    {0x0004, 936},  {0x0804, 936},  {0x1004, 936},  {0x7804, 936},   // Chinese, simplified
    {0x0404, 950},  {0x0C04, 950},  {0x1404, 950},  {0x7C04, 950},   // Chinese, traditional
    {0x0C1A, 1251}, {0x1C1A, 1251}, {0x281A, 1251}, {0x301A, 1251},  // Serbian, Cyrillic
    {0x6C1A, 1251}, {0x201A, 1251}, {0x641A, 1251},                  // Bosnian, Cyrillic
    {0x082C, 1251}, {0x742C, 1251},                                  // Azerbaijani, Cyrillic
    {0x0843, 1251}, {0x7843, 1251},                                  // Uzbek, Cyrillic
    {0x0850, 1252}, {0x7850, 1252},  // Mongolian script: no ANSI code page
};

// The primary language (the low ten bits of the language ID) and its code
// page, for every language not written in Windows-1252.
constexpr LanguageCodePage byPrimaryLanguage[] = {
    {0x1E, 874},                                                      // Thai
    {0x11, 932},                                                      // Japanese
    {0x12, 949},                                                      // Korean
    {0x05, 1250}, {0x0E, 1250}, {0x15, 1250}, {0x18, 1250},           // cs hu pl ro
    {0x1A, 1250}, {0x1B, 1250}, {0x1C, 1250}, {0x24, 1250},           // hr/sr/bs sk sq sl
    {0x42, 1250},                                                     // tk
    {0x02, 1251}, {0x19, 1251}, {0x22, 1251}, {0x23, 1251},           // bg ru uk be
    {0x28, 1251}, {0x2F, 1251}, {0x3F, 1251}, {0x40, 1251},           // tg mk kk ky
    {0x44, 1251}, {0x50, 1251}, {0x6D, 1251}, {0x85, 1251},           // tt mn ba sah
    {0x08, 1253},                                                     // Greek
    {0x1F, 1254}, {0x2C, 1254}, {0x43, 1254},                         // tr az uz
    {0x0D, 1255},                                                     // Hebrew
    {0x01, 1256}, {0x20, 1256}, {0x29, 1256}, {0x80, 1256},           // ar ur fa ug
    {0x8C, 1256}, {0x92, 1256},                                       // prs ku
    {0x25, 1257}, {0x26, 1257}, {0x27, 1257},                         // et lv lt
    {0x2A, 1258},                                                     // Vietnamese
};

int hexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// The LCID of a lang written as "0x" and hexadecimal digits. An LCID is the
// language ID with a sort ID above it; anything larger is none.
std::optional<uint32_t> hexadecimalLcid(std::u16string_view lang) {
  if (lang.size() < 3 || lang[0] != u'0' || (lang[1] != u'x' && lang[1] != u'X')) return std::nullopt;
  uint32_t value = 0;
  for (char16_t c : lang.substr(2)) {
    const int digit = hexDigit(c);
    if (digit < 0 || value > 0xFFFFF / 16) return std::nullopt;
    value = value * 16 + static_cast<uint32_t>(digit);
  }
  return value;
}

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The character at the start of the text and the units it takes; a lone
// surrogate counts as U+FFFD.
std::pair<uint32_t, size_t> firstCharacter(std::u16string_view text) {
  const char16_t c = text[0];
  if (isHighSurrogate(c) && text.size() > 1 && isLowSurrogate(text[1])) {
    return {0x10000 + ((c - 0xD800u) << 10) + (text[1] - 0xDC00u), 2};
  }
  if (isHighSurrogate(c) || isLowSurrogate(c)) return {0xFFFD, 1};
  return {c, 1};
}

// The length of the start of the text that holds no lone surrogate.
size_t wellFormedStart(std::u16string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
      ++i;
    } else if (isHighSurrogate(text[i]) || isLowSurrogate(text[i])) {
      return i;
    }
  }
  return text.size();
}

size_t asciiStart(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] < 0x80) ++i;
  return i;
}

void appendAscii(std::string& out, std::u16string_view ascii) {
  const size_t start = out.size();
  out.resize(start + ascii.size());
  for (size_t i = 0; i < ascii.size(); ++i) out[start + i] = static_cast<char>(ascii[i]);
}

size_t referenceSize(uint32_t codePoint) {
  size_t digits = 1;
  for (; codePoint >= 10; codePoint /= 10) ++digits;
  return digits + 3;  // "&#" and ";"
}

size_t utf8Size(uint32_t codePoint) {
  return codePoint < 0x80 ? 1 : codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
}

void appendReference(std::string& out, uint32_t codePoint) {
  char digits[10];
  size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + codePoint % 10);
    codePoint /= 10;
  } while (codePoint != 0);
  out += "&#";
  while (count > 0) out += digits[--count];
  out += ';';
}

}  // namespace

unsigned helpCodePage(std::u16string_view lang) {
  const std::optional<uint32_t> lcid = hexadecimalLcid(lang);
  if (!lcid) return defaultCodePage;
  const uint32_t language = *lcid & 0xFFFF;
  for (const LanguageCodePage& entry : byLanguage) {
    if (entry.language == language) return entry.codePage;
  }
  for (const LanguageCodePage& entry : byPrimaryLanguage) {
    if (entry.language == (language & 0x3FF)) return entry.codePage;
  }
  return defaultCodePage;
}

TextEncoder::TextEncoder(unsigned codePage) : codePage_(codePage) {
  if (codePage == utf8CodePage) return;
  if (const HighHalf* table = singleByteCodePage(codePage)) {
    for (size_t i = 0; i < table->size(); ++i) {
      if ((*table)[i] != 0) singleBytes_.emplace_back((*table)[i], static_cast<char>(0x80 + i));
    }
    std::sort(singleBytes_.begin(), singleBytes_.end());
    return;
  }
  converter_ = platform::CodePageConverter::open(codePage);
}

size_t TextEncoder::appendHeld(std::string& out, std::u16string_view text) {
  if (codePage_ == utf8CodePage) {
    // Every character, and a lone surrogate as U+FFFD.
    appendUtf8(out, text);
    return text.size();
  }
  if (converter_) return converter_->append(out, text.substr(0, wellFormedStart(text)));
  size_t held = 0;
  for (; held < text.size(); ++held) {
    const char16_t c = text[held];
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    const char* byte = singleByte(c);
    if (!byte) break;
    out += *byte;
  }
  return held;
}

const char* TextEncoder::singleByte(char16_t c) const {
  auto found = std::lower_bound(singleBytes_.begin(), singleBytes_.end(), c,
                                [](const auto& entry, char16_t key) { return entry.first < key; });
  return found == singleBytes_.end() || found->first != c ? nullptr : &found->second;
}

template <typename Lacking>
void TextEncoder::append(std::string& out, std::u16string_view text, Lacking lacking) {
  while (!text.empty()) {
    // Most names are ASCII, which every code page writes as it is.
    const size_t ascii = asciiStart(text);
    appendAscii(out, text.substr(0, ascii));
    text.remove_prefix(ascii);
    if (text.empty()) return;
    text.remove_prefix(appendHeld(out, text));
    if (text.empty()) return;
    const auto [codePoint, units] = firstCharacter(text);
    lacking(codePoint);
    text.remove_prefix(units);
  }
}

void TextEncoder::appendWithReferences(std::string& out, std::u16string_view text) {
  append(out, text, [&](uint32_t codePoint) { appendReference(out, codePoint); });
}

void TextEncoder::appendWithQuestionMarks(std::string& out, std::u16string_view text) {
  append(out, text, [&](uint32_t) { out += '?'; });
}

bool TextEncoder::appendIfHeld(std::string& out, std::u16string_view text) {
  const size_t start = out.size();
  bool held = true;
  append(out, text, [&](uint32_t) { held = false; });
  if (!held) out.resize(start);
  return held;
}

void TextEncoder::appendWithUnderscores(std::string& out, std::u16string_view text) {
  append(out, text, [&](uint32_t) { out += '_'; });
}

std::u16string TextEncoder::withUnderscores(std::u16string_view text) {
  std::u16string result;
  result.reserve(text.size());
  while (!text.empty()) {
    const size_t ascii = asciiStart(text);
    result.append(text.substr(0, ascii));
    text.remove_prefix(ascii);
    if (text.empty()) break;
    // The bytes are not wanted, only how far the code page holds the text;
    // no file name holds a lone surrogate, not even in UTF-8.
    scratch_.clear();
    const size_t held =
        codePage_ == utf8CodePage ? wellFormedStart(text) : appendHeld(scratch_, text);
    result.append(text.substr(0, held));
    text.remove_prefix(held);
    if (text.empty()) break;
    result += u'_';
    text.remove_prefix(firstCharacter(text).second);
  }
  return result;
}

std::u16string fileNameInCodePage(std::u16string_view text, unsigned codePage) {
  // Nearly every name is ASCII, which needs no encoder.
  if (asciiStart(text) == text.size()) return std::u16string(text);
  return TextEncoder(codePage).withUnderscores(text);
}

size_t TextEncoder::sizeWithReferences(std::u16string_view text) {
  size_t size = asciiStart(text);
  if (size == text.size()) return size;
  if (converter_) {
    scratch_.clear();
    appendWithReferences(scratch_, text);
    return scratch_.size();
  }
  // UTF-8 and the tables are counted without writing anything.
  for (text.remove_prefix(size); !text.empty();) {
    const auto [codePoint, units] = firstCharacter(text);
    if (codePage_ == utf8CodePage) {
      size += utf8Size(codePoint);
    } else if (codePoint < 0x80 || (units == 1 && singleByte(text[0]))) {
      size += 1;
    } else {
      size += referenceSize(codePoint);
    }
    text.remove_prefix(units);
  }
  return size;
}

}  // namespace thc
