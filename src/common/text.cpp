#include "common/text.h"

namespace thc {

std::u16string_view trimmedView(std::u16string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && text[begin] < 33) ++begin;
  while (end > begin && text[end - 1] < 33) --end;
  return text.substr(begin, end - begin);
}

std::u16string trimText(std::u16string_view text) { return std::u16string(trimmedView(text)); }

static int digitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return 99;
}

int64_t textToInteger(std::u16string_view text) {
  size_t pos = 0;
  while (pos < text.size() && (text[pos] == u' ' || text[pos] == u'\t')) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+')) {
    negative = text[pos] == u'-';
    ++pos;
  }
  int base = 10;
  if (pos < text.size() && text[pos] == u'$') {
    base = 16;
    ++pos;
  } else if (pos < text.size() && text[pos] == u'%') {
    base = 2;
    ++pos;
  }
  // Unsigned arithmetic so that an overflowing text wraps instead of being
  // undefined behaviour.
  uint64_t value = 0;
  for (; pos < text.size(); ++pos) {
    int digit = digitValue(text[pos]);
    if (digit >= base) break;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
  }
  if (negative) value = 0 - value;
  return static_cast<int64_t>(value);
}

std::u16string fileExtension(std::u16string_view path) {
  size_t i = path.size();
  while (i > 0) {
    char16_t c = path[i - 1];
    if (c == u'.' || c == u'/' || c == u'\\' || c == u' ') break;
    --i;
  }
  if (i == 0) return {};
  size_t dot = i - 1;
  if (path[dot] != u'.') return {};
  if (dot == 0) return {};
  char16_t before = path[dot - 1];
  if (before == u'/' || before == u'\\') return {};
  std::u16string_view rest = path.substr(dot + 1);
  size_t quote = rest.find(u'"');
  if (quote != std::u16string_view::npos) rest = rest.substr(0, quote);
  return std::u16string(rest);
}

std::u16string directoryPart(std::u16string_view path) {
  size_t begin = 0;
  if (!path.empty() && path[0] == u'"') begin = 1;
  size_t end = begin;  // one past the last separator seen
  for (size_t i = begin; i < path.size(); ++i) {
    char16_t c = path[i];
    if (c == u'|') break;
    if (c == u'\\' || c == u'/') end = i + 1;
  }
  return std::u16string(path.substr(begin, end - begin));
}

std::u16string decimalText(int64_t value) {
  std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string lowerAscii(std::u16string_view text) {
  std::u16string result(text);
  for (char16_t& c : result) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  }
  return result;
}

}  // namespace thc
