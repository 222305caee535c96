// libFuzzer target: bytes through the LZX compressor and back through libmspack's decoder.
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return thc::robust::runFuzzInput(&thc::robust::fuzzLzx, data, size);
}
