// The generation driver: writes every page and the help project files.
#pragma once

#include <string_view>

#include "base/console.h"
#include "common/output.h"
#include "project/model.h"

namespace thc {

// Writes the whole output into the folder. True when every file was created
// and written completely.
bool generateOutput(ProjectModel& model, Console& console, OutputFolder& folder);

}  // namespace thc
