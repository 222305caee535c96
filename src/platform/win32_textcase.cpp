#include <windows.h>

#include "platform/textcase.h"
#include "platform/win32_text.h"

namespace thc::platform {

namespace {

bool isAscii(std::u16string_view text) {
  for (char16_t c : text) {
    if (c >= 0x80) return false;
  }
  return true;
}

// The invariant locale maps the same on every machine, so the catalog keys
// and help files do not change with the user's language (a Turkish locale
// would turn "I" into a dotless i). Linguistic casing is Unicode's case
// mapping, as on POSIX; the default file-system casing leaves letters such as
// "ı", "ſ" and "ǅ" unmapped, and the two builds would write different files.
std::u16string mapCase(std::u16string_view text, bool upper) {
  if (isAscii(text)) {
    // The common case needs no system call.
    std::u16string result(text);
    for (char16_t& c : result) {
      if (upper && c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
      if (!upper && c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    }
    return result;
  }
  const DWORD flags = (upper ? LCMAP_UPPERCASE : LCMAP_LOWERCASE) | LCMAP_LINGUISTIC_CASING;
  std::wstring source = win32::wide(text);
  if (source.size() > 0x7FFFFFFF) return std::u16string(text);
  const int length = static_cast<int>(source.size());
  int size = LCMapStringEx(LOCALE_NAME_INVARIANT, flags, source.data(), length, nullptr, 0, nullptr,
                           nullptr, 0);
  if (size <= 0) return std::u16string(text);
  std::wstring result(static_cast<size_t>(size), L'\0');
  size = LCMapStringEx(LOCALE_NAME_INVARIANT, flags, source.data(), length, result.data(), size,
                       nullptr, nullptr, 0);
  if (size <= 0) return std::u16string(text);
  result.resize(static_cast<size_t>(size));
  return win32::fromWide(result);
}

}  // namespace

std::u16string toLower(std::u16string_view text) { return mapCase(text, false); }
std::u16string toUpper(std::u16string_view text) { return mapCase(text, true); }

// Windows classifies code units, so a character beyond the BMP is asked for
// as its pair, which it types by its first unit: none of them is a letter.
bool isLetterOrDigit(char32_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
  if (c >= 0x10000) return false;
  const wchar_t unit = static_cast<wchar_t>(c);
  WORD type = 0;
  return GetStringTypeW(CT_CTYPE1, &unit, 1, &type) && (type & (C1_ALPHA | C1_DIGIT)) != 0;
}

}  // namespace thc::platform
