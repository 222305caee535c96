#include <cstdlib>

#include "base/utf.h"
#include "platform/commandline.h"

namespace thc::platform {

std::vector<ExternalText> processArguments(int argc, char** argv) {
  std::vector<ExternalText> arguments;
  for (int i = 0; i < argc; ++i) arguments.push_back(decodeExternal(argv[i]));
  return arguments;
}

ExternalText environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? decodeExternal(value) : ExternalText{};
}

}  // namespace thc::platform
