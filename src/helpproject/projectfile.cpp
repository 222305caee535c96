#include "helpproject/projectfile.h"

namespace thc {

// Placeholders until the help project files land.
std::u16string helpProjectText(const ProjectModel&) { return {}; }
std::u16string languageCode(std::u16string_view lang) { return std::u16string(lang); }
bool writeTextFile(Console&, std::u16string_view, std::u16string_view) { return true; }

}  // namespace thc
