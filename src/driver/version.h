// The program's name and version, as the first banner line shows them.
#pragma once

#include <string>

namespace thc {

// "TarnelTools Help Compiler V" + the version of this build.
std::u16string programTitle();

}  // namespace thc
