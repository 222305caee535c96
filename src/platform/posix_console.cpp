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

void writeErrorLine(std::u16string_view text) {
  std::string bytes = toUtf8(text);
  bytes.push_back('\n');
  std::fwrite(bytes.data(), 1, bytes.size(), stderr);
  std::fflush(stderr);
}

std::optional<InputLine> StdConsole::readLine(size_t limit) {
  std::string bytes;
  bool any = false;
  bool cut = false;
  int c;
  // Bytes past the limit are read and dropped, so an endless line takes no
  // memory; the one byte beyond it tells a trailing "\r" from a longer line.
  while ((c = std::fgetc(stdin)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (bytes.size() <= limit) {
      bytes.push_back(static_cast<char>(c));
    } else {
      cut = true;
    }
  }
  if (!any) return std::nullopt;
  if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
  if (bytes.size() > limit) {
    bytes.resize(limit);
    cut = true;
  }
  ExternalText text = decodeExternal(bytes);
  return InputLine{std::move(text.text), cut, text.utf8};
}

}  // namespace thc::platform
