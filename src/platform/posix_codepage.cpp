#include <iconv.h>

#include <bit>
#include <string>

#include "platform/codepage.h"

namespace thc::platform {

namespace {

const char* utf16Name() {
  return std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
}

// A character iconv cannot convert stops it with EILSEQ; one it can only
// stand in for (the yen sign as "\" in 932) it converts one way, so the
// result is turned back and compared before it counts as held.
class IconvConverter : public CodePageConverter {
 public:
  IconvConverter(iconv_t to, iconv_t from) : to_(to), from_(from) {}
  ~IconvConverter() override {
    iconv_close(to_);
    iconv_close(from_);
  }
  IconvConverter(const IconvConverter&) = delete;
  IconvConverter& operator=(const IconvConverter&) = delete;

  size_t append(std::string& out, std::u16string_view text) override {
    const size_t converted = convert(text);
    if (convertsBack(text.substr(0, converted))) {
      out += bytes_;
      return converted;
    }
    // Some character on the way converts one way only: find it one by one.
    size_t held = 0;
    while (held < converted) {
      const size_t units = (text[held] >= 0xD800 && text[held] <= 0xDBFF) ? 2 : 1;
      const std::u16string_view character = text.substr(held, units);
      if (convert(character) != units || !convertsBack(character)) break;
      out += bytes_;
      held += units;
    }
    return held;
  }

  void decode(std::u16string& out, std::string_view bytes) override {
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    iconv(from_, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
      back_.resize(inLeft + 1);
      char* to = reinterpret_cast<char*>(back_.data());
      size_t toLeft = back_.size() * sizeof(char16_t);
      const size_t result = iconv(from_, &in, &inLeft, &to, &toLeft);
      out.append(back_.data(), back_.size() - toLeft / sizeof(char16_t));
      if (result != static_cast<size_t>(-1)) break;
      // A byte that starts no character of the code page, or a sequence cut
      // short at the end: one replacement character, and on after it.
      out += u'\uFFFD';
      ++in;
      --inLeft;
      iconv(from_, nullptr, nullptr, nullptr, nullptr);
    }
  }

 private:
  // Converts as much of the text as the code page holds into bytes_ and
  // returns how many units that was.
  size_t convert(std::u16string_view text) {
    bytes_.resize(text.size() * 2 + 16);
    char* in = const_cast<char*>(reinterpret_cast<const char*>(text.data()));
    size_t inLeft = text.size() * sizeof(char16_t);
    char* out = bytes_.data();
    size_t outLeft = bytes_.size();
    iconv(to_, nullptr, nullptr, nullptr, nullptr);
    // Every character takes at most two bytes, so the room never runs out.
    iconv(to_, &in, &inLeft, &out, &outLeft);
    bytes_.resize(bytes_.size() - outLeft);
    return text.size() - inLeft / sizeof(char16_t);
  }

  // True when bytes_ turn back into the text.
  bool convertsBack(std::u16string_view text) {
    back_.resize(bytes_.size() + 1);
    char* in = bytes_.data();
    size_t inLeft = bytes_.size();
    char* out = reinterpret_cast<char*>(back_.data());
    size_t outLeft = back_.size() * sizeof(char16_t);
    iconv(from_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(from_, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1)) return false;
    return std::u16string_view(back_).substr(0, back_.size() - outLeft / sizeof(char16_t)) == text;
  }

  iconv_t to_;
  iconv_t from_;
  // Kept from call to call, so a name costs no allocation.
  std::string bytes_;
  std::u16string back_;
};

}  // namespace

std::unique_ptr<CodePageConverter> CodePageConverter::open(unsigned codePage) {
  const std::string name = "CP" + std::to_string(codePage);
  iconv_t to = iconv_open(name.c_str(), utf16Name());
  if (to == reinterpret_cast<iconv_t>(-1)) return nullptr;
  iconv_t from = iconv_open(utf16Name(), name.c_str());
  if (from == reinterpret_cast<iconv_t>(-1)) {
    iconv_close(to);
    return nullptr;
  }
  return std::make_unique<IconvConverter>(to, from);
}

}  // namespace thc::platform
