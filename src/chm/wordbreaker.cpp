#include "chm/wordbreaker.h"

#include "platform/textcase.h"

namespace thc::chm {

namespace {

enum class Kind { None, Apostrophe, Ideograph, Hiragana, Katakana, Hangul, Other };

bool within(char32_t c, char32_t first, char32_t last) { return c >= first && c <= last; }

Kind kindOf(char32_t c) {
  if (c == u'\'' || c == 0x2019) return Kind::Apostrophe;
  if (c < 0x80) {
    const bool alnum = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
    return alnum ? Kind::Other : Kind::None;
  }
  // Ideographs beyond the BMP are asked for here: not every platform types them.
  if (within(c, 0x3400, 0x4DBF) || within(c, 0x4E00, 0x9FFF) || within(c, 0xF900, 0xFAFF) ||
      within(c, 0x20000, 0x3FFFF)) {
    return Kind::Ideograph;
  }
  if (!platform::isLetterOrDigit(c)) return Kind::None;
  if (within(c, 0x3040, 0x309F)) return Kind::Hiragana;
  if (within(c, 0x30A0, 0x30FF) || within(c, 0x31F0, 0x31FF) || within(c, 0xFF66, 0xFF9F)) {
    return Kind::Katakana;
  }
  if (within(c, 0xAC00, 0xD7AF) || within(c, 0x1100, 0x11FF) || within(c, 0x3130, 0x318F)) {
    return Kind::Hangul;
  }
  return Kind::Other;
}

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The character at text[pos] and the code units it takes.
std::pair<char32_t, size_t> characterAt(std::u16string_view text, size_t pos) {
  const char16_t c = text[pos];
  if (isHighSurrogate(c) && pos + 1 < text.size() && isLowSurrogate(text[pos + 1])) {
    return {0x10000 + ((c - 0xD800u) << 10) + (text[pos + 1] - 0xDC00u), 2};
  }
  return {c, 1};
}

}  // namespace

// Lower case changes no character's kind (a capital letter becomes a small
// one), so words are found in the text as it is and lowered one by one.
void WordBreaker::forEachWord(std::u16string_view text, const std::function<void(std::string_view)>& take) {
  word_.clear();
  Kind wordKind = Kind::None;
  for (size_t pos = 0; pos < text.size();) {
    const auto [c, units] = characterAt(text, pos);
    Kind kind = kindOf(c);
    if (kind == Kind::Apostrophe) {
      // Dropped inside a word, a break anywhere else.
      const bool inside = !word_.empty() && pos + units < text.size() &&
                          kindOf(characterAt(text, pos + units).first) == wordKind;
      pos += units;
      if (!inside) endWord(take);
      continue;
    }
    if (kind != wordKind || kind == Kind::Ideograph) endWord(take);
    wordKind = kind;
    if (kind != Kind::None) word_.append(text.substr(pos, units));
    pos += units;
  }
  endWord(take);
}

PageWords WordBreaker::wordsOf(const PageText& page) {
  PageWords words;
  uint32_t count = 0;
  const auto take = [&](std::string_view word) {
    // maxWordBytes keeps every length within the byte.
    words.coded += static_cast<char>(word.size());
    words.coded += word;
    ++count;
  };
  forEachWord(page.title, take);
  words.inTitle = count;
  forEachWord(page.body, take);
  return words;
}

// Most words are ASCII, which needs no library call.
void WordBreaker::lowerWord() {
  for (char16_t& c : word_) {
    if (c >= 0x80) {
      word_ = platform::toLower(word_);
      return;
    }
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  }
}

void WordBreaker::endWord(const std::function<void(std::string_view)>& take) {
  if (word_.empty()) return;
  bytes_.clear();
  lowerWord();
  const bool held = encoder_.appendIfHeld(bytes_, word_) && bytes_.size() <= maxWordBytes;
  take(held ? std::string_view(bytes_) : std::string_view());
  word_.clear();
}

}  // namespace thc::chm
