// Command-line arguments.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/utf.h"

namespace thc::platform {

// Splits a raw Windows command line: blanks separate (tabs do not), an
// argument that begins with a double quote runs to the next double quote and
// loses both quotes. The program name comes first.
std::vector<std::u16string> splitCommandLine(std::u16string_view line);

// The process arguments, program name first. On POSIX they are bytes, which
// need not be UTF-8; on Windows they are UTF-16 already.
std::vector<ExternalText> processArguments(int argc, char** argv);

// An environment variable, "" when not set.
ExternalText environmentValue(const char* name);

}  // namespace thc::platform
