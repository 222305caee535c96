// #STRINGS: the texts that the other tables point to by offset, each ended
// by a zero byte, none across a 4096-byte block (viewers read the table a
// block at a time). Offset 0 is the empty text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace thc::chm {

class StringsTable {
 public:
  StringsTable() : bytes_(1, '\0') {}
  // The offset of the text (bytes in the help's code page), stored once
  // however often it is added; 0 for the empty text.
  std::uint32_t add(std::string_view text);
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
  std::unordered_map<std::string, std::uint32_t> offsets_;
};

}  // namespace thc::chm
