// Index extension: every library, class, method, command, structure, constant
// and macro is findable in the keyword index under its own name.
#pragma once

#include "project/model.h"

namespace thc {

// Appends one entry per item to indexEntries, library by library: the
// methods of each class before the class, then commands, structures,
// constants, macros, and last the library itself.
void extendIndex(Project& project);

}  // namespace thc
