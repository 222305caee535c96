#include <locale.h>
#include <wctype.h>

#include "platform/textcase.h"

#include "base/utf.h"

namespace thc::platform {

namespace {

// A UTF-8 character-type locale of our own, so the process locale is never
// changed. Falls back to the C locale (A to Z only) when none exists.
locale_t caseLocale() {
  static locale_t locale = [] {
    locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    if (!l) l = newlocale(LC_CTYPE_MASK, "en_US.UTF-8", static_cast<locale_t>(0));
    if (!l) l = newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(0));
    return l;
  }();
  return locale;
}

std::u16string mapCase(std::u16string_view text, bool upper) {
  std::u16string result;
  result.reserve(text.size());
  locale_t locale = caseLocale();
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c < 0x80) {
      // The common case needs no library call.
      if (upper && c >= 'a' && c <= 'z') c -= 32;
      if (!upper && c >= 'A' && c <= 'Z') c += 32;
      result.push_back(static_cast<char16_t>(c));
      continue;
    }
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      result.push_back(static_cast<char16_t>(c));  // a lone surrogate stays
      continue;
    }
    if (locale) {
      wint_t wide = static_cast<wint_t>(c);
      c = static_cast<uint32_t>(upper ? towupper_l(wide, locale) : towlower_l(wide, locale));
    }
    appendUtf16(result, c);
  }
  return result;
}

}  // namespace

std::u16string toLower(std::u16string_view text) { return mapCase(text, false); }
std::u16string toUpper(std::u16string_view text) { return mapCase(text, true); }

bool isLetterOrDigit(char32_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
  locale_t locale = caseLocale();
  return locale && iswalnum_l(static_cast<wint_t>(c), locale);
}

}  // namespace thc::platform
