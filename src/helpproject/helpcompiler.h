// Compiling the written help project into the help file (.chm) with the
// system's HTML Help compiler.
#pragma once

#include <string_view>

#include "common/console.h"
#include "project/model.h"

namespace thc {

// Runs the compiler on document.hhp in model.outputDir, with that folder as
// the current directory, so the help file lands beside it. Prints
// "Compiling help file ...", then "Help file " + its path, or a failure.
// The compilers' exit codes say nothing (one exits 0 after errors, the
// other 1 on success): the result is judged from what the compiler prints
// and from the file it writes. True when the help file was compiled cleanly.
bool compileHelpFile(const ProjectModel& model, Console& console);

// Whether a line of a compiler's output reports an error or a warning: it
// begins with "Error" or "Warning" in any letter case, after blanks and
// after a message code such as "HHC5003:".
bool isProblemLine(std::u16string_view line);

}  // namespace thc
