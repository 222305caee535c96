#include <cstdio>

#include "common/utf.h"
#include "platform/console_stdio.h"

namespace thc::platform {

void StdConsole::writeLine(std::u16string_view text) {
  std::string bytes = toUtf8(text);
  bytes.push_back('\n');
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
}

void StdConsole::writeText(std::u16string_view text) {
  std::string bytes = toUtf8(text);
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
}

bool StdConsole::readLine(std::u16string& line) {
  std::string bytes;
  int c;
  bool any = false;
  while ((c = std::fgetc(stdin)) != EOF) {
    any = true;
    if (c == '\n') break;
    bytes.push_back(static_cast<char>(c));
  }
  if (!any) return false;
  if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
  line = fromUtf8(bytes);
  return true;
}

}  // namespace thc::platform
