#include "codepage/decoder.h"

#include "codepage/singlebyte.h"

namespace thc {

TextDecoder::TextDecoder(unsigned codePage) {
  table_ = singleByteCodePage(codePage);
  if (!table_) converter_ = platform::CodePageConverter::open(codePage);
}

std::u16string TextDecoder::decode(std::string_view bytes) {
  std::u16string text;
  if (converter_) {
    converter_->decode(text, bytes);
    return text;
  }
  // One byte is one character: written in place, not appended one by one.
  text.resize(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      text[i] = static_cast<char16_t>(b);
    } else {
      const char16_t c = table_ ? (*table_)[b - 0x80] : 0;
      text[i] = c != 0 ? c : u'\uFFFD';
    }
  }
  return text;
}

}  // namespace thc
