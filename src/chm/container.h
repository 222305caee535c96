// The help file as a whole: the file header, the directory, the
// uncompressed section (system data and the compressor's tables) and, last,
// the compressed content, which is read from where the compressor left it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "chm/directory.h"
#include "chm/lzxstream.h"
#include "platform/outputdirectory.h"
#include "platform/scratchfile.h"

namespace thc::chm {

struct ContainerParts {
  std::uint32_t lcid = 0x409;
  std::uint32_t seconds = 0;  // stored as the file's time stamp; 0 for none
  std::string systemFile;     // #SYSTEM, kept uncompressed
  // The files of the compressed section, with their places in its
  // uncompressed bytes.
  std::vector<DirectoryEntry> compressedFiles;
  LzxStream::Result compression;
};

// The help file's bytes in pieces: everything up to the compressed content
// from memory, the content from `content` (where the compressor wrote it).
class ContainerSource : public platform::ByteSource {
 public:
  ContainerSource(std::string head, platform::ScratchFile& content, std::uint64_t contentLength);
  bool restart() override;
  bool next(std::string_view& piece) override;
  std::optional<std::uint64_t> size() override { return head_.size() + contentLength_; }

 private:
  std::string head_;
  platform::ScratchFile& content_;
  std::uint64_t contentLength_;
  std::uint64_t position_ = 0;
  std::string buffer_;
};

// Everything of the file before the compressed content.
std::string containerHead(const ContainerParts& parts);

}  // namespace thc::chm
