#include "driver/version.h"

// The build defines TARNELTHC_VERSION from the CMake project version, so the
// version is written in one place and the package, the manual page and the
// program agree.
#ifndef TARNELTHC_VERSION
#error "TARNELTHC_VERSION must be defined by the build"
#endif

namespace thc {

std::u16string programTitle() { return u"TarnelTools Help Compiler V" TARNELTHC_VERSION; }

}  // namespace thc
