// libFuzzer target: an HTML page through the page reader, the word breaker and the search index.
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return thc::robust::runFuzzInput(&thc::robust::fuzzPage, data, size);
}
