// The project reader: fills the model from the document tree.
#pragma once

#include "common/console.h"
#include "project/model.h"

namespace thc {

// Reads the root element and its following siblings; imports are loaded and
// read where they stand.
void readProject(ProjectModel& model, Console& console, const DocNode* root);

}  // namespace thc
