// The generation driver: writes every page and the help project files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/console.h"
#include "common/output.h"
#include "plan/outputplan.h"
#include "project/model.h"

namespace thc {

struct GeneratedOutput {
  bool complete = true;  // every file was created and written completely
  std::vector<std::u16string> pages;  // those written, in writing order
};

// Writes the planned pages and the help project files into the folder,
// letting go of each part of the plan once it is written.
GeneratedOutput generateOutput(const ProjectModel& model, OutputPlan plan, Console& console,
                               OutputFolder& folder);

}  // namespace thc
