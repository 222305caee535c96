// Letting go of the loaded documents once reading is done with them.
#pragma once

#include "project/doctree.h"
#include "project/model.h"

namespace thc {

// The records hold copies of everything read and refer to their elements
// through model.sources, which takes over the element names; so every tree,
// the main one and the imported ones, is freed as soon as reading ends.
void finishReading(ProjectModel& model, DocTree& mainTree);

}  // namespace thc
