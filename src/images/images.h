// Copies the planned images into the output directory.
#pragma once

#include <string>
#include <string_view>

#include "base/console.h"
#include "common/output.h"
#include "plan/outputplan.h"
#include "project/model.h"

namespace thc {

// True when every image was copied; stops at the first failure. With
// model.confinedTo set, a source is read only from inside that folder.
bool copyImages(const ProjectModel& model, const std::vector<PlannedImage>& images, Console& console,
                OutputFolder& folder);

}  // namespace thc
