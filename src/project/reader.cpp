#include "project/reader.h"

namespace thc {

// Placeholder until the reader lands.
void readProject(ProjectModel&, Console&, const DocNode*) {}

}  // namespace thc
