// libFuzzer target: trimText, textToInteger, fileExtension, directoryPart and the UTF-8 conversions.
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return thc::robust::runFuzzInput(&thc::robust::fuzzTextHelpers, data, size);
}
