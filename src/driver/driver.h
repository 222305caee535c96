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
};

// Runs the whole program. `arguments` start with the program name. Returns the
// process exit code: 0 when every stage ran and every file was written.
int runDriver(const std::vector<std::u16string>& arguments, Console& console,
              platform::Requesters& requesters, const DriverOptions& options);

}  // namespace thc
