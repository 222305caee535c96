// The command line: the options and the two plain arguments. An argument
// that begins with "-" and a letter, or with "--", is an option wherever it
// stands, until the argument "--", after which every argument is plain.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/utf.h"

namespace thc {

struct CommandLine {
  enum class Action { run, compile, help, version, usageError };
  Action action = Action::run;
  // The plain arguments, program name first: the first after it is only
  // echoed, the second is the project file.
  std::vector<ExternalText> arguments;
  std::optional<ExternalText> output;  // -o, --output: the output folder
  bool noWait = false;                 // --no-wait
  bool compileHelp = false;            // --chm, --hhc
  std::optional<ExternalText> helpCompiler;  // --hhc: an outside compiler
  std::optional<ExternalText> compileProject;  // --compile: a help project to compile
  bool checkLinks = false;             // --check-links
  bool confine = false;                // --confine
  // The lines for standard error when the action is usageError.
  std::vector<std::u16string> errors;
};

// Splits the process arguments (program name first) into options and plain
// arguments. The first usage error (an unknown option, an option without its
// value) ends the parse; otherwise --help wins over --version over a run.
CommandLine parseCommandLine(std::vector<ExternalText> arguments);

// The text of --help, one entry a line.
std::vector<std::u16string> usageText();

}  // namespace thc
