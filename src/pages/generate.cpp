#include "pages/generate.h"

namespace thc {

// Placeholder until page generation lands.
bool generateOutput(ProjectModel&, Console&, std::u16string_view) { return true; }

}  // namespace thc
