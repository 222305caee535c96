#include "chm/container.h"

#include <algorithm>

#include "chm/bytes.h"

namespace thc::chm {

namespace {

constexpr std::uint32_t kHeaderLength = 0x60;
constexpr std::uint32_t kFileSizeSectionLength = 0x18;
constexpr size_t kReadPiece = size_t{1} << 20;

const std::string kStorage = "::DataSpace/Storage/MSCompressed/";
const std::string kTransform = kStorage + "Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/";

// The names of the two sections, as UTF-16 with a length before and a zero
// after each: the index in this list is the section number.
std::string nameList() {
  std::string out;
  putU16(out, 30);  // the file's length in 16-bit units
  putU16(out, 2);
  for (std::string_view name : {std::string_view("Uncompressed"), std::string_view("MSCompressed")}) {
    putU16(out, static_cast<std::uint32_t>(name.size()));
    for (char c : name) putU16(out, static_cast<unsigned char>(c));
    putU16(out, 0);
  }
  return out;
}

// LZX, version 2 (sizes in 32 KB units): a reset every 64 KB, a 64 KB
// window, one window per reset; the values every reader agrees on.
std::string controlData() {
  std::string out;
  putU32(out, 6);
  out += "LZXC";
  putU32(out, 2);
  putU32(out, 2);
  putU32(out, 2);
  putU32(out, 1);
  putU32(out, 0);
  return out;
}

std::string spanInfo(const LzxStream::Result& compression) {
  std::string out;
  putU64(out, compression.uncompressedLength);
  return out;
}

// The transform's GUID as the first 19 UTF-16 characters of its text, as
// help files have always carried it.
std::string transformList() {
  std::string out;
  for (char c : std::string_view("{7FC28940-9D31-11D0")) putU16(out, static_cast<unsigned char>(c));
  return out;
}

std::string resetTable(const LzxStream::Result& compression) {
  std::string out;
  putU32(out, 2);
  putU32(out, static_cast<std::uint32_t>(compression.frameStarts.size()));
  putU32(out, 8);
  putU32(out, 0x28);
  putU64(out, compression.uncompressedLength);
  putU64(out, compression.compressedLength);
  putU64(out, 0x8000);
  for (std::uint64_t start : compression.frameStarts) putU64(out, start);
  return out;
}

void putFileHeader(std::string& out, const ContainerParts& parts, std::uint64_t directoryLength,
                   std::uint64_t contentOffset) {
  out += "ITSF";
  putU32(out, 3);
  putU32(out, kHeaderLength);
  putU32(out, 1);
  // The time stamp is the one big-endian number of the file.
  for (int shift = 24; shift >= 0; shift -= 8) putU8(out, parts.seconds >> shift);
  putU32(out, parts.lcid);
  putGuid(out, Guid{0x7C01FD10, 0x7BAA, 0x11D0, {0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC}});
  putGuid(out, Guid{0x7C01FD11, 0x7BAA, 0x11D0, {0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC}});
  putU64(out, kHeaderLength);
  putU64(out, kFileSizeSectionLength);
  putU64(out, kHeaderLength + kFileSizeSectionLength);
  putU64(out, directoryLength);
  putU64(out, contentOffset);
}

void putFileSizeSection(std::string& out, std::uint64_t fileSize) {
  putU32(out, 0x01FE);
  putU32(out, 0);
  putU64(out, fileSize);
  putU32(out, 0);
  putU32(out, 0);
}

}  // namespace

std::string containerHead(const ContainerParts& parts) {
  // The uncompressed section: small files first, the content last.
  struct Stored {
    std::string name;
    std::string bytes;
  };
  const std::vector<Stored> uncompressed = {
      {"/#SYSTEM", parts.systemFile},
      {"/#ITBITS", ""},
      {"::DataSpace/NameList", nameList()},
      {kStorage + "ControlData", controlData()},
      {kStorage + "SpanInfo", spanInfo(parts.compression)},
      {kStorage + "Transform/List", transformList()},
      {kTransform + "InstanceData/ResetTable", resetTable(parts.compression)},
  };
  std::vector<DirectoryEntry> entries = parts.compressedFiles;
  std::string section;
  for (const Stored& file : uncompressed) {
    const std::uint64_t offset = file.bytes.empty() ? 0 : section.size();
    entries.push_back(DirectoryEntry{file.name, 0, offset, file.bytes.size()});
    section += file.bytes;
  }
  entries.push_back(DirectoryEntry{kStorage + "Content", 0, section.size(), parts.compression.compressedLength});
  completeDirectory(entries);
  const std::string directory = directoryBytes(entries, parts.lcid);
  const std::uint64_t contentOffset = kHeaderLength + kFileSizeSectionLength + directory.size();
  const std::uint64_t fileSize = contentOffset + section.size() + parts.compression.compressedLength;
  std::string head;
  head.reserve(contentOffset + section.size());
  putFileHeader(head, parts, directory.size(), contentOffset);
  putFileSizeSection(head, fileSize);
  head += directory;
  head += section;
  return head;
}

ContainerSource::ContainerSource(std::string head, platform::ScratchFile& content, std::uint64_t contentLength)
    : head_(std::move(head)), content_(content), contentLength_(contentLength) {}

bool ContainerSource::restart() {
  position_ = 0;
  return true;
}

bool ContainerSource::next(std::string_view& piece) {
  if (position_ == 0) {
    position_ = head_.size();
    piece = head_;
    if (!piece.empty()) return true;
  }
  const std::uint64_t contentPosition = position_ - head_.size();
  if (contentPosition >= contentLength_) {
    piece = {};
    return true;
  }
  const size_t take = static_cast<size_t>(std::min<std::uint64_t>(kReadPiece, contentLength_ - contentPosition));
  if (!content_.read(contentPosition, take, buffer_) || buffer_.size() != take) return false;
  position_ += take;
  piece = buffer_;
  return true;
}

}  // namespace thc::chm
