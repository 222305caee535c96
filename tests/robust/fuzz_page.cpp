#include <cstdint>
#include <optional>
#include <string>

#include "chm/pagereader.h"
#include "chm/searchindex.h"
#include "chm/wordbreaker.h"
#include "robust/fuzz_harness.h"

namespace thc::robust {

namespace {

bool isHtmlSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f'; }

std::string titleFault(std::u16string_view title) {
  if (title.empty()) return "";
  if (title.front() == u' ' || title.back() == u' ') return "title not trimmed";
  for (size_t i = 0; i < title.size(); ++i) {
    if (isHtmlSpace(title[i]) && title[i] != u' ') return "blank other than a space in the title";
    if (i > 0 && title[i] == u' ' && title[i - 1] == u' ') return "two spaces in a row in the title";
  }
  return "";
}

// In a single-byte code page a word holds no ASCII but small letters and
// digits; in every code page it stays within the length readers accept.
std::string wordFault(std::string_view word, bool singleByte) {
  if (word.size() > chm::WordBreaker::maxWordBytes) return "word too long";
  if (!singleByte) return "";
  for (char c : word) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80 && !((b >= 'a' && b <= 'z') || (b >= '0' && b <= '9'))) return "word holds " + std::string(1, c);
  }
  return "";
}

uint32_t readU32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  return value;
}

}  // namespace

std::string fuzzPage(std::string_view bytes) {
  if (bytes.empty()) return "";
  static constexpr unsigned codePages[] = {1252, 1251, 932};
  const unsigned codePage = codePages[static_cast<unsigned char>(bytes[0]) % 3];
  bytes.remove_prefix(1);
  chm::PageReader reader(codePage);
  const chm::PageText page = reader.read(bytes);
  if (std::string fault = titleFault(page.title); !fault.empty()) return fault;
  chm::WordBreaker breaker(codePage);
  std::string fault;
  const auto check = [&](std::string_view word) {
    if (fault.empty()) fault = wordFault(word, codePage != 932);
  };
  breaker.forEachWord(page.title, check);
  breaker.forEachWord(page.body, check);
  if (!fault.empty()) return fault;
  // The same page twice, as two topics.
  chm::SearchIndexBuilder builder(codePage, 0x409);
  const chm::PageWords words = breaker.wordsOf(page);
  builder.addTopic(0, words);
  builder.addTopic(5, words);
  const std::optional<chm::PieceBuffer> pieces = builder.build();
  if (!pieces) return "no index";
  std::string joined;
  for (const std::string& piece : pieces->pieces()) joined += piece;
  const std::string* index = &joined;
  if (index->size() < 1024 + 4096 || readU32(*index, 0) != 0x00280000) return "no index header";
  if (readU32(*index, 4) != 2) return "wrong topic count";
  if (readU32(*index, 8) + 4096 > index->size()) return "root beyond the index";
  return "";
}

}  // namespace thc::robust
