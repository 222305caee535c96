#include "common/output.h"

#include <string>

#include "common/utf.h"
#include "platform/filesystem.h"

namespace thc {

bool writeOutputFile(Console& console, std::u16string_view path,
                     std::initializer_list<std::u16string_view> pieces) {
  auto file = platform::OutputFile::create(path);
  if (!file) {
    console.writeLine(std::u16string(u"Unable to create ") + std::u16string(path));
    return false;
  }
  bool written = true;
  std::string bytes;
  for (std::u16string_view piece : pieces) {
    if (piece.empty()) continue;
    bytes.clear();
    appendUtf8(bytes, piece);
    if (!file->write(bytes)) {
      written = false;
      break;
    }
  }
  if (!file->close()) written = false;
  if (!written) console.writeLine(std::u16string(u"Unable to write ") + std::u16string(path));
  return written;
}

}  // namespace thc
