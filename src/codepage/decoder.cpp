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
  text.reserve(bytes.size());
  for (const char byte : bytes) {
    const unsigned char b = static_cast<unsigned char>(byte);
    if (b < 0x80) {
      text += static_cast<char16_t>(b);
    } else {
      const char16_t c = table_ ? (*table_)[b - 0x80] : 0;
      text += c != 0 ? c : u'\uFFFD';
    }
  }
  return text;
}

}  // namespace thc
