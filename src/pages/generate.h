// The generation driver: writes every page and the help project files.
#pragma once

#include <string_view>

#include "base/console.h"
#include "common/output.h"
#include "plan/outputplan.h"
#include "project/model.h"

namespace thc {

// Writes the planned pages and the help project files into the folder,
// letting go of each part of the plan once it is written. True when every
// file was created and written completely.
bool generateOutput(ProjectModel& model, OutputPlan plan, Console& console, OutputFolder& folder);

}  // namespace thc
