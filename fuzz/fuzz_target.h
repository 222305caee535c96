// The body every libFuzzer target shares: one input through one harness
// function of tests/robust/fuzz_harness.h; a broken rule aborts, so libFuzzer
// keeps the input like a crash.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "robust/fuzz_harness.h"

namespace thc::robust {

inline int runFuzzInput(std::string (*harness)(std::string_view), const uint8_t* data, size_t size) {
  const std::string fault = harness(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!fault.empty()) {
    std::fprintf(stderr, "broken rule: %s\n", fault.c_str());
    std::abort();
  }
  return 0;
}

}  // namespace thc::robust
