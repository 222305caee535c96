// The process console: lines to standard output, UTF-8, flushed per line,
// and lines from standard input.
#pragma once

#include "common/console.h"

namespace thc::platform {

class StdConsole : public Console {
 public:
  void writeLine(std::u16string_view text) override;
  void writeText(std::u16string_view text) override;
  bool readLine(std::u16string& line) override;
};

}  // namespace thc::platform
