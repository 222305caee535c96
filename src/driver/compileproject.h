// The other use of the program: compiling an HTML Help project that another
// generator wrote (Doxygen, Sphinx ...) into its help file, with no XML
// project read at all.
#pragma once

#include "base/console.h"
#include "base/utf.h"
#include "helpproject/helpcompiler.h"

namespace thc {

// Compiles `project` (an .hhp file) into the help file it names, beside it.
// Returns the exit code: 0 when the help file was written, 1 otherwise.
int compileProjectFile(const ExternalText& project, Console& console, const HelpCompilerSettings& settings);

}  // namespace thc
