#include "platform/outputdirectory.h"

#include <cstring>
#include <string>

namespace thc::platform {

namespace {

// A new file is written under a name of this form before it is renamed over
// an existing one: ".tarnelthc.tmp", then ".tarnelthc.1.tmp" and so on when
// something that cannot be removed (a folder, say) has the name. One run
// holds the folder and stores one file at a time, so one name does at a
// time; a killed run's leftover is removed when the name is used again.
constexpr std::u16string_view kTemporaryName = u".tarnelthc.tmp";
// Far more names than anyone plants: the search ends even in a folder that
// something keeps filling.
constexpr unsigned kTemporaryNames = 1u << 20;

constexpr size_t kReadSize = 64 * 1024;

std::u16string temporaryName(unsigned number) {
  if (number == 0) return std::u16string(kTemporaryName);
  std::u16string name = u".tarnelthc.";
  for (char c : std::to_string(number)) name.push_back(static_cast<char16_t>(c));
  return name + u".tmp";
}

bool writeSource(FolderFile& file, ByteSource& source) {
  if (!source.restart()) return false;
  for (;;) {
    std::string_view piece;
    if (!source.next(piece)) return false;
    if (piece.empty()) return true;
    if (!file.write(piece)) return false;
  }
}

}  // namespace

std::unique_ptr<OutputDirectory> OutputDirectory::open(std::u16string_view path, OpenStatus& status) {
  std::unique_ptr<FolderPrimitives> folder = openFolder(path, status);
  if (status == OpenStatus::InUse) return nullptr;
  if (folder) folder->remove(kTemporaryName);
  return std::make_unique<OutputDirectory>(std::move(folder));
}

OutputDirectory::OutputDirectory(std::unique_ptr<FolderPrimitives> folder) : folder_(std::move(folder)) {}

StoreResult OutputDirectory::store(std::u16string_view name, ByteSource& source) {
  if (!folder_) return StoreResult::NotCreated;
  CreateResult created = CreateResult::Failed;
  std::unique_ptr<FolderFile> file = folder_->create(name, created);
  if (file) return finishNewFile(*file, name, name, source);
  if (created != CreateResult::Exists) return StoreResult::NotCreated;
  if (holdsSameFile(name, source)) return StoreResult::Unchanged;
  return replace(name, source);
}

void OutputDirectory::remove(std::u16string_view name) {
  if (folder_) folder_->remove(name);
}

// Writes and closes a file created under `written`, then gives it the name
// `name`; a file that was not written whole is removed.
StoreResult OutputDirectory::finishNewFile(FolderFile& file, std::u16string_view written, std::u16string_view name,
                                           ByteSource& source) {
  bool ok = writeSource(file, source);
  if (!file.close()) ok = false;
  if (!ok) {
    folder_->remove(written);
    return StoreResult::NotWritten;
  }
  if (written == name) return StoreResult::Stored;
  if (!folder_->renameOver(written, name)) {
    folder_->remove(written);
    return StoreResult::NotCreated;
  }
  return StoreResult::Stored;
}

// A plain file with no other name that holds exactly the new bytes is left
// alone; a link of either kind never counts, so it is replaced.
bool OutputDirectory::holdsSameFile(std::u16string_view name, ByteSource& source) {
  std::uint64_t size = 0;
  std::unique_ptr<FolderFile> file = folder_->openPlain(name, size);
  if (!file) return false;
  std::optional<std::uint64_t> expected = source.size();
  if (expected && *expected != size) return false;
  return holdsBytes(*file, source);
}

// True when the file reads exactly the source's bytes.
bool OutputDirectory::holdsBytes(FolderFile& file, ByteSource& source) {
  if (!source.restart()) return false;
  buffer_.resize(kReadSize);
  for (;;) {
    std::string_view piece;
    if (!source.next(piece)) return false;
    if (piece.empty()) break;
    while (!piece.empty()) {
      const size_t take = piece.size() < kReadSize ? piece.size() : kReadSize;
      if (file.read(buffer_.data(), take) != take) return false;
      if (std::memcmp(buffer_.data(), piece.data(), take) != 0) return false;
      piece.remove_prefix(take);
    }
  }
  return file.read(buffer_.data(), 1) == size_t{0};
}

// The new file goes under the first temporary name that can be created; a
// leftover file or link under it is removed first, anything else that holds
// it (a folder) makes the search go on to the next name.
StoreResult OutputDirectory::replace(std::u16string_view name, ByteSource& source) {
  for (; temporaryNumber_ < kTemporaryNames; ++temporaryNumber_) {
    const std::u16string temporary = temporaryName(temporaryNumber_);
    folder_->remove(temporary);
    CreateResult created = CreateResult::Failed;
    std::unique_ptr<FolderFile> file = folder_->create(temporary, created);
    if (file) return finishNewFile(*file, temporary, name, source);
    if (created != CreateResult::Exists) return StoreResult::NotCreated;
  }
  return StoreResult::NotCreated;
}

}  // namespace thc::platform
