#include <windows.h>

#include <string>

#include "platform/codepage.h"
#include "platform/win32_text.h"

namespace thc::platform {

namespace {

// Without best-fit characters Windows writes its default character for every
// character the code page does not hold as it is, and says so.
class Win32Converter : public CodePageConverter {
 public:
  explicit Win32Converter(unsigned codePage) : codePage_(codePage) {}

  size_t append(std::string& out, std::u16string_view text) override {
    if (text.size() > 0x3FFFFFFF) text = text.substr(0, 0x3FFFFFFF);
    if (convert(out, text)) return text.size();
    // Some character lacks: convert one by one up to it.
    size_t held = 0;
    while (held < text.size()) {
      const size_t units = (text[held] >= 0xD800 && text[held] <= 0xDBFF) ? 2 : 1;
      if (!convert(out, text.substr(held, units))) break;
      held += units;
    }
    return held;
  }

  void decode(std::u16string& out, std::string_view bytes) override {
    if (bytes.empty()) return;
    if (bytes.size() > 0x3FFFFFFF) bytes = bytes.substr(0, 0x3FFFFFFF);
    const int length = static_cast<int>(bytes.size());
    std::wstring wide(bytes.size(), L'\0');
    const int size = MultiByteToWideChar(codePage_, 0, bytes.data(), length, wide.data(), length);
    if (size > 0) out += win32::fromWide(std::wstring_view(wide.data(), static_cast<size_t>(size)));
  }

 private:
  // Appends the whole text when the code page holds every character of it.
  bool convert(std::string& out, std::u16string_view text) {
    if (text.empty()) return true;
    const std::wstring wide = win32::wide(text);
    const int length = static_cast<int>(wide.size());
    std::string bytes(wide.size() * 2, '\0');
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(codePage_, WC_NO_BEST_FIT_CHARS, wide.data(), length, bytes.data(),
                                         static_cast<int>(bytes.size()), nullptr, &usedDefault);
    if (size <= 0 || usedDefault) return false;
    out.append(bytes.data(), static_cast<size_t>(size));
    return true;
  }

  UINT codePage_;
};

}  // namespace

std::unique_ptr<CodePageConverter> CodePageConverter::open(unsigned codePage) {
  if (!IsValidCodePage(codePage)) return nullptr;
  return std::make_unique<Win32Converter>(codePage);
}

}  // namespace thc::platform
