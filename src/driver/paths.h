// The driver's path rules.
#pragma once

#include <string>
#include <string_view>

namespace thc {

// Ends the path in a separator (an empty path gets one too) and turns every
// "\" and "/" into `separator`.
std::u16string normaliseDirectory(std::u16string_view path, char16_t separator);

// The directory the driver creates for outputDir: without the final
// separator, trailing blanks and separators stripped. "" when nothing is left.
std::u16string directoryToCreate(std::u16string_view outputDir);

// projectDir for a project file: its directory part, "./" when it has none,
// normalised.
std::u16string projectDirectory(std::u16string_view projectFile, char16_t separator);

}  // namespace thc
