// The project checks: presence and identifier rules over the model. Every
// violation prints two lines, "Error at Node " + path and the rule line; the
// walk never stops early, so one run lists every problem in document order.
#pragma once

#include <string_view>

#include "base/console.h"
#include "project/model.h"

namespace thc {

// Where a violation is printed, and the places its path is taken from.
struct CheckReport {
  const SourceMap& sources;
  Console& console;
};

// True when no failing violation was found. Prints every violation.
bool checkProject(const Project& project, const SourceMap& sources, Console& console);

// The value, trimmed, must not be empty: else "missing " + label.
bool requireValue(std::u16string_view label, std::u16string_view text, SourceRef source,
                  const CheckReport& report);

// The value, trimmed, must be an identifier: "_", A-Z, a-z, digits (not
// first), "*" only first, "$" only last. Misplaced digits, "*" and "$" are
// reported but pass; any other character is reported and fails. Empty passes.
bool checkIdentifier(std::u16string_view label, std::u16string_view text, SourceRef source,
                     const CheckReport& report);

// The rules for one library command or class method and everything in it.
bool checkCommandRecord(const Command& command, const CheckReport& report);

}  // namespace thc
