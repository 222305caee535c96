// Command-line arguments.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace thc::platform {

// Splits a raw Windows command line: blanks separate (tabs do not), an
// argument that begins with a double quote runs to the next double quote and
// loses both quotes. The program name comes first.
std::vector<std::u16string> splitCommandLine(std::u16string_view line);

// The process arguments, program name first.
std::vector<std::u16string> processArguments(int argc, char** argv);

// An environment variable, "" when not set.
std::u16string environmentValue(const char* name);

}  // namespace thc::platform
