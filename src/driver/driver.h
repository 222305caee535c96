// The program: banner, paths, load, and the fixed sequence of stages.
#pragma once

#include <string>
#include <vector>

#include "common/console.h"
#include "platform/requesters.h"

namespace thc {

struct DriverOptions {
  // Replaces the default output folder when the project file comes from the
  // command line (from TARNELTHC_OUTPUT); "" keeps the default.
  std::u16string outputOverride;
  // The process ends right after the run: its memory goes back to the system
  // at once, so the model is left as it is instead of being taken apart string
  // by string, which takes a tenth of the run on a large project. Off when the
  // run is one of many in a process (tests) or a leak checker is watching.
  bool keepModelAtExit = false;
};

// Runs the whole program. `arguments` start with the program name. Returns the
// process exit code: 0 when every stage ran and every file was written.
int runDriver(const std::vector<std::u16string>& arguments, Console& console,
              platform::Requesters& requesters, const DriverOptions& options);

}  // namespace thc
