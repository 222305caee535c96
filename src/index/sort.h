// Sorting of every list of the model and the merge of supported systems.
#pragma once

#include "project/model.h"

namespace thc {

void sortProject(Project& project);
void mergeOsLists(const Library& library, Command& command);

}  // namespace thc
