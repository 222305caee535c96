// A file without a name for data too large to keep in memory, written once
// and then read back (the compressed content of a help file, say). It lies
// in the folder it is made in, so nothing outside the output folder is
// touched, and it vanishes when closed or when the process ends, however.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace thc::platform {

class ScratchFile {
 public:
  // None when no such file can be made in `directory` (ending in a
  // separator).
  static std::unique_ptr<ScratchFile> create(std::u16string_view directory);
  virtual ~ScratchFile() = default;
  // Appends the bytes at the end. False on a write error (disk full ...).
  virtual bool append(std::string_view bytes) = 0;
  // Reads up to `count` bytes from `offset` into `out` (replacing its
  // content); fewer only at the end. False on a read error.
  virtual bool read(std::uint64_t offset, size_t count, std::string& out) = 0;
};

}  // namespace thc::platform
