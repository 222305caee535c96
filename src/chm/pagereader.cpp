#include "chm/pagereader.h"

#include <algorithm>
#include <iterator>

#include "base/utf.h"
#include "chm/htmlentities.h"

namespace thc::chm {

namespace {

using Text = std::u16string_view;
constexpr size_t npos = Text::npos;

bool isSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f'; }
bool isAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isAsciiAlnum(char16_t c) { return isAsciiLetter(c) || isAsciiDigit(c); }
char16_t lowered(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

// Inline elements, sorted: the words on both sides of their tags run on.
constexpr Text inlineElements[] = {
    u"a",    u"abbr", u"acronym", u"b",      u"bdi",   u"bdo", u"big",  u"cite", u"code", u"del",
    u"dfn",  u"em",   u"font",    u"i",      u"ins",   u"kbd", u"mark", u"nobr", u"q",    u"s",
    u"samp", u"small", u"span",   u"strike", u"strong", u"sub", u"sup", u"tt",   u"u",    u"var",
    u"wbr",
};

bool runsOn(Text lowerName) {
  return std::binary_search(std::begin(inlineElements), std::end(inlineElements), lowerName);
}

int digitValue(char16_t c, bool hex) {
  if (isAsciiDigit(c)) return c - u'0';
  if (!hex) return -1;
  const char16_t l = lowered(c);
  return l >= u'a' && l <= u'f' ? l - u'a' + 10 : -1;
}

// A numeric reference from just after its "&#"; the position after it, or
// npos when no digit follows.
size_t appendNumericReference(Text text, size_t pos, std::u16string& out) {
  const bool hex = pos < text.size() && lowered(text[pos]) == u'x';
  if (hex) ++pos;
  const size_t digits = pos;
  char32_t number = 0;
  for (int digit; pos < text.size() && (digit = digitValue(text[pos], hex)) >= 0; ++pos) {
    // Anything past Unicode stays past it, without overflowing.
    number = std::min<char32_t>(number * (hex ? 16 : 10) + static_cast<char32_t>(digit), 0x110000);
  }
  if (pos == digits) return npos;
  if (pos < text.size() && text[pos] == u';') ++pos;
  appendUtf16(out, referencedCharacter(number));
  return pos;
}

// The reference at text[pos] == '&'; the position after it. A "&" that
// starts none is text, as browsers show it. A name needs no ";" when no
// letter follows it ("&copy 2003"), as pages written for old browsers have it.
size_t appendReference(Text text, size_t pos, std::u16string& out) {
  if (pos + 1 < text.size() && text[pos + 1] == u'#') {
    const size_t after = appendNumericReference(text, pos + 2, out);
    if (after != npos) return after;
  }
  size_t end = pos + 1;
  while (end < text.size() && end - pos <= 8 && isAsciiAlnum(text[end])) ++end;
  const char32_t named = namedCharacter(text.substr(pos + 1, end - pos - 1));
  if (named == 0 || (end < text.size() && isAsciiAlnum(text[end]))) {
    out.push_back(u'&');
    return pos + 1;
  }
  appendUtf16(out, named);
  return end < text.size() && text[end] == u';' ? end + 1 : end;
}

void appendResolved(Text text, std::u16string& out) {
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t amp = std::min(text.find(u'&', pos), text.size());
    out.append(text.substr(pos, amp - pos));
    if (amp == text.size()) return;
    pos = appendReference(text, amp, out);
  }
}

std::u16string collapsed(Text text) {
  std::u16string result;
  result.reserve(text.size());
  bool blank = false;
  for (char16_t c : text) {
    if (isSpace(c)) {
      blank = !result.empty();
      continue;
    }
    if (blank) result.push_back(u' ');
    blank = false;
    result.push_back(c);
  }
  return result;
}

// Reads the markup of a decoded page into a PageText.
class Scanner {
 public:
  Scanner(Text text, PageText& page) : text_(text), page_(page) {}

  void run() {
    size_t pos = 0;
    while (pos < text_.size()) {
      const size_t lt = std::min(text_.find(u'<', pos), text_.size());
      appendResolved(text_.substr(pos, lt - pos), page_.body);
      if (lt == text_.size()) return;
      pos = markup(lt);
    }
  }

 private:
  // The markup at text_[lt] == '<'; the position after it.
  size_t markup(size_t lt) {
    const Text rest = text_.substr(lt + 1);
    // An unclosed comment hides the rest of the page, as in a browser.
    if (rest.starts_with(u"!--")) return after(text_.find(u"-->", lt + 4), 3);
    if (rest.starts_with(u"!") || rest.starts_with(u"?")) return after(text_.find(u'>', lt), 1);
    const bool endTag = rest.starts_with(u"/");
    size_t pos = lt + (endTag ? 2 : 1);
    if (pos >= text_.size() || !isAsciiLetter(text_[pos])) {
      page_.body.push_back(u'<');  // a "<" that starts no tag is text
      return lt + 1;
    }
    name_.clear();
    for (; pos < text_.size() && isAsciiAlnum(text_[pos]); ++pos) name_.push_back(lowered(text_[pos]));
    pos = endTag ? after(text_.find(u'>', pos), 1) : afterAttributes(pos);
    if (!runsOn(name_)) page_.body.push_back(u' ');
    if (endTag) return pos;
    if (name_ == u"script" || name_ == u"style") return endTagAt(pos, name_);
    if (name_ == u"title") return readTitle(pos);
    return pos;
  }

  // The position `length` characters after `found`, the end for npos.
  size_t after(size_t found, size_t length) const {
    return found == npos ? text_.size() : found + length;
  }

  // The position after the ">" closing a start tag; a ">" inside a quoted
  // value does not close it. A tag the page never closes ends the page.
  size_t afterAttributes(size_t pos) const {
    bool valueNext = false;
    for (; pos < text_.size(); ++pos) {
      const char16_t c = text_[pos];
      if (c == u'>') return pos + 1;
      if (valueNext && (c == u'"' || c == u'\'')) {
        pos = text_.find(c, pos + 1);
        if (pos == npos) return text_.size();
        valueNext = false;
      } else if (c == u'=') {
        valueNext = true;
      } else if (!isSpace(c)) {
        valueNext = false;
      }
    }
    return text_.size();
  }

  // The position of the end tag of `name` at or after pos (letter case
  // ignored), the end of the page when there is none.
  size_t endTagAt(size_t pos, Text name) const {
    for (; (pos = text_.find(u"</", pos)) != npos; pos += 2) {
      const Text candidate = text_.substr(pos + 2, name.size() + 1);
      if (candidate.size() < name.size()) break;
      if (!std::equal(name.begin(), name.end(), candidate.begin(),
                      [](char16_t a, char16_t b) { return a == lowered(b); })) {
        continue;
      }
      if (candidate.size() == name.size() || !isAsciiAlnum(candidate.back())) return pos;
    }
    return text_.size();
  }

  // The title's text is not markup; a title the page never closes ends at
  // the next "<" instead of swallowing the page. Only the first title counts.
  size_t readTitle(size_t pos) {
    size_t end = endTagAt(pos, u"title");
    if (end == text_.size()) end = std::min(text_.find(u'<', pos), text_.size());
    if (!titleSeen_) {
      std::u16string title;
      appendResolved(text_.substr(pos, end - pos), title);
      page_.title = collapsed(title);
      titleSeen_ = true;
    }
    return end;
  }

  Text text_;
  PageText& page_;
  std::u16string name_;  // of the tag being read, lower-cased
  bool titleSeen_ = false;
};

}  // namespace

PageText PageReader::read(std::string_view html) {
  if (html.starts_with("\xEF\xBB\xBF")) html.remove_prefix(3);
  text_.clear();
  if (!appendFromUtf8(text_, html)) {
    if (!codePageText_) codePageText_.emplace(codePage_);
    text_ = codePageText_->decode(html);
  }
  PageText page;
  page.body.reserve(text_.size() / 2);
  Scanner(text_, page).run();
  return page;
}

}  // namespace thc::chm
