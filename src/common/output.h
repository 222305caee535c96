// Writing one whole output file: created fresh, the pieces written as UTF-8
// (no byte order mark), closed at once.
#pragma once

#include <initializer_list>
#include <string_view>

#include "common/console.h"

namespace thc {

// Prints "Unable to create " + path when the file cannot be created and
// "Unable to write " + path when a write or the close fails. True when the
// file was written completely.
bool writeOutputFile(Console& console, std::u16string_view path,
                     std::initializer_list<std::u16string_view> pieces);

}  // namespace thc
