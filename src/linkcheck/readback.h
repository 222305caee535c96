// The link check of a run, fed by reading the written files back from the
// output folder.
#pragma once

#include <string>
#include <vector>

#include "common/console.h"
#include "project/model.h"

namespace thc {

// Checks the links of what this run wrote into model.outputDir: the pages of
// model.generatedFiles, document.hhp and the contents and index files it
// names, and `otherFiles` (the image copies), which count by name only.
// Prints "Checking links ...", every broken link and every pair of names
// that differ only in case, then "done", or "Broken links found". True when
// there was nothing to report.
bool checkWrittenLinks(const ProjectModel& model, Console& console,
                       const std::vector<std::u16string>& otherFiles);

}  // namespace thc
