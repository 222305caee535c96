#include "common/output.h"

#include <algorithm>
#include <string>

#include "common/utf.h"
#include "platform/filesystem.h"

namespace thc {

namespace {

// The UTF-8 of a file is gathered up to this size before it is written, so a
// page goes out in one write call and a large help file in a few big ones
// without a second full copy of it in memory.
constexpr size_t kFlushSize = size_t{1} << 20;

// A cut inside a piece must not separate the two halves of a surrogate pair.
size_t cutPoint(std::u16string_view piece, size_t wanted) {
  if (wanted >= piece.size()) return piece.size();
  char16_t before = piece[wanted - 1];
  if (before >= 0xD800 && before <= 0xDBFF) return wanted - 1;
  return wanted;
}

WriteOutcome writeBytePieces(std::u16string_view path, std::initializer_list<std::string_view> pieces) {
  auto file = platform::OutputFile::create(path);
  if (!file) return WriteOutcome::NotCreated;
  bool written = true;
  for (std::string_view piece : pieces) {
    if (written && !piece.empty()) written = file->write(piece);
  }
  if (!file->close()) written = false;
  return written ? WriteOutcome::Written : WriteOutcome::NotWritten;
}

}  // namespace

WriteOutcome writeFilePieces(std::u16string_view path,
                             std::initializer_list<std::u16string_view> pieces) {
  auto file = platform::OutputFile::create(path);
  if (!file) return WriteOutcome::NotCreated;
  size_t units = 0;
  for (std::u16string_view piece : pieces) units += piece.size();
  std::string bytes;
  bytes.reserve(std::min(units, kFlushSize) + 16);
  bool written = true;
  for (std::u16string_view piece : pieces) {
    while (written && !piece.empty()) {
      // At most kFlushSize units at a time; a unit takes up to three bytes.
      size_t take = cutPoint(piece, std::max<size_t>(kFlushSize / 3, 2));
      appendUtf8(bytes, piece.substr(0, take));
      piece.remove_prefix(take);
      if (bytes.size() >= kFlushSize) {
        written = file->write(bytes);
        bytes.clear();
      }
    }
  }
  if (written && !bytes.empty()) written = file->write(bytes);
  if (!file->close()) written = false;
  return written ? WriteOutcome::Written : WriteOutcome::NotWritten;
}

bool reportWriteOutcome(Console& console, WriteOutcome outcome, std::u16string_view path) {
  switch (outcome) {
    case WriteOutcome::Written:
      return true;
    case WriteOutcome::NotCreated:
      console.writeLine(std::u16string(u"Unable to create ") + std::u16string(path));
      return false;
    case WriteOutcome::NotWritten:
      console.writeLine(std::u16string(u"Unable to write ") + std::u16string(path));
      return false;
  }
  return false;
}

bool writeOutputFile(Console& console, std::u16string_view path,
                     std::initializer_list<std::u16string_view> pieces) {
  return reportWriteOutcome(console, writeFilePieces(path, pieces), path);
}

bool writeOutputBytes(Console& console, std::u16string_view path,
                      std::initializer_list<std::string_view> pieces) {
  return reportWriteOutcome(console, writeBytePieces(path, pieces), path);
}

}  // namespace thc
