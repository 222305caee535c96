// Little-endian numbers and the directory's variable-length integers, as
// the help file stores them.
#pragma once

#include <cstdint>
#include <string>

namespace thc::chm {

inline void putU8(std::string& out, std::uint32_t value) { out += static_cast<char>(value & 0xFF); }

inline void putU16(std::string& out, std::uint32_t value) {
  putU8(out, value);
  putU8(out, value >> 8);
}

inline void putU32(std::string& out, std::uint32_t value) {
  putU16(out, value & 0xFFFF);
  putU16(out, value >> 16);
}

inline void putU64(std::string& out, std::uint64_t value) {
  putU32(out, static_cast<std::uint32_t>(value & 0xFFFFFFFFu));
  putU32(out, static_cast<std::uint32_t>(value >> 32));
}

// Overwrites four bytes at `at`, for a field whose value is known only later.
inline void setU32(std::string& out, size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline void setU16(std::string& out, size_t at, std::uint32_t value) {
  out[at] = static_cast<char>(value & 0xFF);
  out[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

// The directory's integers: 7 bits a byte, the most significant group first,
// every byte but the last with its top bit set; always the shortest form.
inline size_t encIntSize(std::uint64_t value) {
  size_t size = 1;
  while (value >= 0x80) {
    value >>= 7;
    ++size;
  }
  return size;
}

inline void putEncInt(std::string& out, std::uint64_t value) {
  const size_t size = encIntSize(value);
  for (size_t i = size; i-- > 0;) {
    const std::uint32_t group = static_cast<std::uint32_t>((value >> (7 * i)) & 0x7F);
    putU8(out, i == 0 ? group : (group | 0x80));
  }
}

// A GUID as Windows keeps it in memory: the first group a little-endian
// DWORD, the next two little-endian WORDs, the last eight bytes as written.
struct Guid {
  std::uint32_t data1;
  std::uint16_t data2;
  std::uint16_t data3;
  std::uint8_t data4[8];
};

inline void putGuid(std::string& out, const Guid& guid) {
  putU32(out, guid.data1);
  putU16(out, guid.data2);
  putU16(out, guid.data3);
  for (std::uint8_t byte : guid.data4) putU8(out, byte);
}

}  // namespace thc::chm
