// The generation driver: writes every page and the help project files.
#pragma once

#include <string_view>

#include "common/console.h"
#include "project/model.h"

namespace thc {

// Writes the whole output into outputDir (which ends in the separator).
// True when every file was created and written completely.
bool generateOutput(ProjectModel& model, Console& console, std::u16string_view outputDir);

}  // namespace thc
