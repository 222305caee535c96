#include "platform/commandline.h"

namespace thc::platform {

std::vector<std::u16string> splitCommandLine(std::u16string_view line) {
  std::vector<std::u16string> arguments;
  size_t pos = 0;
  const size_t n = line.size();
  for (;;) {
    while (pos < n && line[pos] == u' ') ++pos;
    if (pos >= n) break;
    if (line[pos] == u'"') {
      size_t close = line.find(u'"', pos + 1);
      if (close == std::u16string_view::npos) close = n;
      arguments.emplace_back(line.substr(pos + 1, close - pos - 1));
      pos = close < n ? close + 1 : n;
      continue;
    }
    size_t end = line.find(u' ', pos);
    if (end == std::u16string_view::npos) end = n;
    arguments.emplace_back(line.substr(pos, end - pos));
    pos = end;
  }
  return arguments;
}

}  // namespace thc::platform
