#include "chm/pagecharset.h"

#include "common/utf.h"

namespace thc::chm {

PageDecoder::PageDecoder(unsigned codePage)
    : codePage_(codePage), singleBytes_(singleByteCodePage(codePage)) {}

void PageDecoder::decode(std::string_view bytes, std::u16string& out) {
  out.clear();
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  if (appendFromUtf8(out, bytes)) return;
  out.clear();
  decodeCodePage(bytes, out);
}

void PageDecoder::decodeCodePage(std::string_view bytes, std::u16string& out) {
  if (!singleBytes_ && !converterOpened_) {
    converter_ = platform::CodePageConverter::open(codePage_);
    converterOpened_ = true;
  }
  if (converter_) {
    converter_->appendDecoded(out, bytes);
    return;
  }
  // A code page the platform cannot read keeps ASCII and loses the rest.
  out.reserve(bytes.size());
  for (char byte : bytes) {
    const auto b = static_cast<unsigned char>(byte);
    const char16_t high = b >= 0x80 && singleBytes_ ? (*singleBytes_)[b - 0x80] : char16_t{0};
    out.push_back(b < 0x80 ? static_cast<char16_t>(b) : high != 0 ? high : u'\uFFFD');
  }
}

}  // namespace thc::chm
