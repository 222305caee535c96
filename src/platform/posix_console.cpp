#include <cstdio>

#include "base/utf.h"
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
  // The read stops two bytes past the limit: a line of `limit` bytes and
  // "\r\n" is still read whole, a longer one is cut with its rest unread.
  while (bytes.size() <= limit + 1) {
    const int c = std::fgetc(stdin);
    if (c == EOF) break;
    any = true;
    if (c == '\n') break;
    bytes.push_back(static_cast<char>(c));
  }
  if (!any) return std::nullopt;
  if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
  const bool cut = bytes.size() > limit;
  if (cut) bytes.resize(limit);
  ExternalText text = decodeExternal(bytes);
  return InputLine{std::move(text.text), cut, text.utf8};
}

}  // namespace thc::platform
