// The single-byte ANSI code pages of Windows as tables of our own, so the
// help files get the same bytes on every platform.
#pragma once

#include <array>

namespace thc {

// The characters of the bytes 0x80 to 0xFF, 0 where the code page leaves a
// byte undefined. The bytes below 0x80 are ASCII in all of them.
using HighHalf = std::array<char16_t, 128>;

// The table of Windows-874 or of Windows-1250 to 1258; none for any other
// code page.
const HighHalf* singleByteCodePage(unsigned codePage);

}  // namespace thc
