// Index extension: every item is findable under its own name.
#pragma once

#include "project/model.h"

namespace thc {

void extendIndex(Project& project);

}  // namespace thc
