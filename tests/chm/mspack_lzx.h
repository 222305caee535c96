// libmspack's LZX decoder as the judge of our compressed streams: a reader
// we did not write, set up as its help file reader sets it up.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace thc::testing {

// Decodes `length` bytes of a stream (64 KB window, a reset every two
// frames) that starts at `compressed`, a reset point. None when the decoder
// reports an error.
std::optional<std::string> mspackDecodeLzx(std::string_view compressed, std::uint64_t length);

}  // namespace thc::testing
