// The process console: lines to standard output, UTF-8, flushed per line,
// and lines from standard input.
#pragma once

#include "base/console.h"

namespace thc::platform {

class StdConsole : public Console {
 public:
  void writeLine(std::u16string_view text) override;
  void writeText(std::u16string_view text) override;
  std::optional<InputLine> readLine(size_t limit) override;
};

// One line on standard error, for the errors of the command line.
void writeErrorLine(std::u16string_view text);

}  // namespace thc::platform
