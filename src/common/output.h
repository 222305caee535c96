// Writing one whole output file: created fresh, the pieces written as UTF-8
// (no byte order mark) or as the bytes given, closed at once.
#pragma once

#include <initializer_list>
#include <string_view>

#include "common/console.h"

namespace thc {

enum class WriteOutcome { Written, NotCreated, NotWritten };

// Writes the file and says how far it got; prints nothing, so it may run on
// a thread of its own.
WriteOutcome writeFilePieces(std::u16string_view path,
                             std::initializer_list<std::u16string_view> pieces);

// "Unable to create " + path or "Unable to write " + path for a file that was
// not written completely; nothing for a written one. True when written.
bool reportWriteOutcome(Console& console, WriteOutcome outcome, std::u16string_view path);

// Writes the file and reports the outcome. True when the file was written
// completely.
bool writeOutputFile(Console& console, std::u16string_view path,
                     std::initializer_list<std::u16string_view> pieces);

// The same for a file whose text is bytes already, such as one that mixes
// encodings.
bool writeOutputBytes(Console& console, std::u16string_view path,
                      std::initializer_list<std::string_view> pieces);

}  // namespace thc
