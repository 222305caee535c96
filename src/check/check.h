// The project checks: presence and identifier rules over the model.
#pragma once

#include "common/console.h"
#include "project/model.h"

namespace thc {

// True when no failing violation was found. Prints every violation.
bool checkProject(const Project& project, Console& console);

}  // namespace thc
