#include "index/sort.h"

namespace thc {

// Placeholder until sorting lands.
void sortProject(Project&) {}
void mergeOsLists(const Library&, Command&) {}

}  // namespace thc
