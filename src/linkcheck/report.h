// The link check's report on the console.
#pragma once

#include "base/console.h"
#include "linkcheck/linkcheck.h"

namespace thc {

// Prints "Checking links ...", every broken link and every pair of written
// names that differ only in letter case, then "done", or "Broken links
// found". True when there was nothing to report.
bool reportLinks(Console& console, const LinkChecker& checker);

}  // namespace thc
