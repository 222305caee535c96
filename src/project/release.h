// Letting go of the loaded documents once the checks are done with them.
#pragma once

#include "project/doctree.h"
#include "project/model.h"

namespace thc {

// The document trees serve the node paths of the diagnostics, the last of
// which the checks print. Afterwards this frees every tree (the main one and
// the imported ones) and sets the node of every record to none, so no stale
// pointer is left behind; a diagnostic that still named a node would print
// the path "/".
void releaseDocuments(ProjectModel& model, DocTree& mainTree);

}  // namespace thc
