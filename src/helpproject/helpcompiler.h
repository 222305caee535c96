// Compiling the written help project into the help file (.chm): with the
// program's own compiler, or with an outside HTML Help compiler on request.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/console.h"
#include "common/output.h"

namespace thc {

// All the compile needs of the project, which is let go before the compile
// starts: the title and language, which name the help file.
struct HelpFileName {
  std::u16string title;
  std::u16string lang;
};

struct HelpCompilerSettings {
  // An outside compiler to run instead of our own ("" for our own): a path,
  // or a name looked for in PATH.
  std::u16string program;
  // What our own compiler stores as the time (seconds since 1970), 0 for
  // none, and how many threads it compresses on.
  std::uint64_t seconds = 0;
  unsigned threads = 1;
};

// Compiles document.hhp in the output folder into the help file beside it.
// Prints "Compiling help file ...", then "Help file " + its path, or
// "Unable to compile help file" and a line that says why. True when the
// help file was compiled cleanly.
bool compileHelpFile(const HelpFileName& name, OutputFolder& folder, Console& console,
                     const HelpCompilerSettings& settings);

// Compiles the help project `name` (a file in the folder) with our own
// compiler into the help file it names, beside it, and reports as
// compileHelpFile does; first each line of the project that changes
// nothing ("Ignored in " + project + ": " + line) and each link of a page
// to a file that is not there ("Missing file " + target + " linked from " +
// page).
bool compileHelpProject(OutputFolder& folder, std::u16string_view name, Console& console,
                        const HelpCompilerSettings& settings);

// Runs an outside compiler on document.hhp in `folder`, with that
// folder as the current directory, so the help file lands beside it. The
// compilers' exit codes say nothing (one exits 0 after errors, the other 1
// on success): the result is judged from what the compiler prints and from
// the file it writes.
bool compileWithProgram(const HelpFileName& name, const std::u16string& folder, Console& console,
                        std::u16string_view program);

// Whether a line of a compiler's output reports an error or a warning: it
// begins with "Error" or "Warning" in any letter case, after blanks and
// after a message code such as "HHC5003:".
bool isProblemLine(std::u16string_view line);

}  // namespace thc
