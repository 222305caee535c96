#include "check/check.h"

namespace thc {

// Placeholder until the checks land.
bool checkProject(const Project&, Console&) { return true; }

}  // namespace thc
