// libFuzzer target: the inline markup translator.
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return thc::robust::runFuzzInput(&thc::robust::fuzzMarkup, data, size);
}
