#include "base/utf.h"

#include <cstdint>
#include <cstring>

namespace thc {

namespace {

// Most text is ASCII. These find the length of an ASCII run a word at a time;
// the run is then copied by a plain loop that the compiler vectorises.
size_t asciiRun(const char16_t* text, size_t size) {
  size_t i = 0;
  for (; i + 4 <= size; i += 4) {
    uint64_t word;
    std::memcpy(&word, text + i, sizeof word);
    if (word & 0xFF80FF80FF80FF80ull) break;
  }
  while (i < size && text[i] < 0x80) ++i;
  return i;
}

size_t asciiRun(const char* bytes, size_t size) {
  size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    uint64_t word;
    std::memcpy(&word, bytes + i, sizeof word);
    if (word & 0x8080808080808080ull) break;
  }
  while (i < size && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
  return i;
}

void appendNarrowed(std::string& out, const char16_t* text, size_t count) {
  const size_t start = out.size();
  out.resize(start + count);
  char* target = out.data() + start;
  for (size_t k = 0; k < count; ++k) target[k] = static_cast<char>(text[k]);
}

void appendWidened(std::u16string& out, const char* bytes, size_t count) {
  const size_t start = out.size();
  out.resize(start + count);
  char16_t* target = out.data() + start;
  for (size_t k = 0; k < count; ++k) target[k] = static_cast<unsigned char>(bytes[k]);
}

}  // namespace

static void putCodePoint(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

void appendUtf8(std::string& out, std::u16string_view text) {
  out.reserve(out.size() + text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (size_t run = asciiRun(text.data() + i, text.size() - i)) {
      appendNarrowed(out, text.data() + i, run);
      i += run - 1;
      continue;
    }
    uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() &&
        text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      uint32_t low = text[++i];
      putCodePoint(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
      continue;
    }
    if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
    putCodePoint(out, c);
  }
}

std::string toUtf8(std::u16string_view text) {
  std::string out;
  appendUtf8(out, text);
  return out;
}

void appendUtf16(std::u16string& out, char32_t codePoint) {
  if (codePoint < 0x10000) {
    out.push_back(static_cast<char16_t>(codePoint));
    return;
  }
  codePoint -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
}

bool appendFromUtf8(std::u16string& out, std::string_view bytes) {
  out.reserve(out.size() + bytes.size());
  bool allValid = true;
  size_t i = 0;
  const size_t n = bytes.size();
  while (i < n) {
    if (size_t run = asciiRun(bytes.data() + i, n - i)) {
      appendWidened(out, bytes.data() + i, run);
      i += run;
      continue;
    }
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    int length = 0;
    uint32_t cp = 0;
    uint32_t minimum = 0;
    if ((b & 0xE0) == 0xC0) {
      length = 2; cp = b & 0x1F; minimum = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
      length = 3; cp = b & 0x0F; minimum = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
      length = 4; cp = b & 0x07; minimum = 0x10000;
    }
    bool valid = length > 0 && i + length <= n;
    for (int k = 1; valid && k < length; ++k) {
      unsigned char next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) valid = false;
      cp = (cp << 6) | (next & 0x3F);
    }
    if (valid && (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) valid = false;
    if (!valid) {
      out.push_back(u'\uFFFD');
      allValid = false;
      ++i;
      continue;
    }
    appendUtf16(out, cp);
    i += length;
  }
  return allValid;
}

std::u16string fromUtf8(std::string_view bytes) {
  std::u16string out;
  appendFromUtf8(out, bytes);
  return out;
}

ExternalText decodeExternal(std::string_view bytes) {
  ExternalText result;
  result.utf8 = appendFromUtf8(result.text, bytes);
  return result;
}

size_t utf8Size(std::u16string_view text) {
  size_t size = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < 0x80) {
      size += 1;
    } else if (c < 0x800) {
      size += 2;
    } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
               text[i + 1] <= 0xDFFF) {
      size += 4;
      ++i;
    } else {
      size += 3;
    }
  }
  return size;
}

}  // namespace thc
