// The program: banner, paths, load, and the fixed sequence of stages.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/console.h"
#include "base/utf.h"
#include "platform/requesters.h"

namespace thc {

struct DriverOptions {
  // Replaces the default output folder when the project file comes from the
  // command line (from TARNELTHC_OUTPUT); "" keeps the default.
  ExternalText outputOverride;
  // The output folder from -o/--output: ahead of TARNELTHC_OUTPUT and the
  // default, and the folder prompt is not shown.
  std::optional<ExternalText> outputFolder;
  // --no-wait: the run ends without "Press return to exit" and the read.
  bool noWait = false;
  // --chm: a run that would end with exit code 0 compiles the help file.
  bool compileHelp = false;
  // --hhc PROGRAM: an outside compiler does it instead of our own.
  std::u16string helpCompiler;
  // SOURCE_DATE_EPOCH: the time the help file stores (seconds since 1970);
  // 0 stores none.
  std::uint64_t sourceDateEpoch = 0;
  // --check-links: the links of the written files are checked.
  bool checkLinks = false;
  // --confine: imports and images are read only inside the project folder.
  bool confine = false;
  // The process ends right after the run: its memory goes back to the system
  // at once, so the model is left as it is instead of being taken apart string
  // by string, which takes a tenth of the run on a large project. Off when the
  // run is one of many in a process (tests) or a leak checker is watching.
  bool keepModelAtExit = false;
};

// Runs the whole program. `arguments` are the plain arguments, program name
// first. Returns the process exit code: 0 when every stage ran and every
// file was written.
int runDriver(const std::vector<ExternalText>& arguments, Console& console,
              platform::Requesters& requesters, const DriverOptions& options);

// The threads the help compiler compresses on.
unsigned compressionThreads();

// The answers to --help and --version.
void printUsage(Console& console);
void printVersion(Console& console);

}  // namespace thc
