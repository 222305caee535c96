// A stream through the compressor and back through libmspack's decoder,
// with every rule a reader relies on checked on the way.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "chm/lzxstream.h"

namespace thc::testing {

struct LzxRoundTrip {
  std::string compressed;
  std::optional<chm::LzxStream::Result> result;
  std::string fault;  // the first rule that broke; empty when all held
};

// Streams `input` in pieces of about `piece` bytes (changing sizes), then
// checks the frames (count, 16-bit starts, size bound), the length U, and
// that the decoder gives the input back from the start and from every reset
// point, with a fresh decoder each time as a reader seeking a file does.
LzxRoundTrip lzxRoundTrip(std::string_view input, unsigned threads, std::size_t piece);

}  // namespace thc::testing
