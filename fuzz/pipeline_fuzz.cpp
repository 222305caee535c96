// libFuzzer target: XML bytes through every stage, pages and help files built in memory.
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return thc::robust::runFuzzInput(&thc::robust::fuzzPipeline, data, size);
}
