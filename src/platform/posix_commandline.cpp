#include <cstdlib>

#include "common/utf.h"
#include "platform/commandline.h"

namespace thc::platform {

std::vector<std::u16string> processArguments(int argc, char** argv) {
  std::vector<std::u16string> arguments;
  for (int i = 0; i < argc; ++i) arguments.push_back(fromUtf8(argv[i]));
  return arguments;
}

std::u16string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? fromUtf8(value) : std::u16string();
}

}  // namespace thc::platform
