#include "common/output.h"

#include <algorithm>
#include <string>

#include "base/utf.h"

namespace thc {

namespace {

// The help project of an earlier run lists that run's files; it goes first
// and comes back last.
constexpr std::u16string_view kHelpProjectName = u"document.hhp";

// The UTF-8 of a text is made in pieces of about this size, so a page goes
// out in one write call and a large help file in a few big ones without a
// second full copy of it in memory.
constexpr size_t kPieceSize = size_t{1} << 20;

// A cut inside a text must not separate the two halves of a surrogate pair.
size_t cutPoint(std::u16string_view text, size_t wanted) {
  if (wanted >= text.size()) return text.size();
  char16_t before = text[wanted - 1];
  if (before >= 0xD800 && before <= 0xDBFF) return wanted - 1;
  return wanted;
}

// The UTF-8 of a list of texts.
class TextSource : public platform::ByteSource {
 public:
  explicit TextSource(std::initializer_list<std::u16string_view> texts) : texts_(texts) {}

  bool restart() override {
    text_ = 0;
    rest_ = texts_.size() > 0 ? *texts_.begin() : std::u16string_view();
    return true;
  }

  bool next(std::string_view& piece) override {
    bytes_.clear();
    while (bytes_.size() < kPieceSize && text_ < texts_.size()) {
      if (rest_.empty()) {
        if (++text_ < texts_.size()) rest_ = texts_.begin()[text_];
        continue;
      }
      // A unit takes up to three bytes.
      const size_t take = cutPoint(rest_, std::max<size_t>((kPieceSize - bytes_.size()) / 3, 2));
      appendUtf8(bytes_, rest_.substr(0, take));
      rest_.remove_prefix(take);
    }
    piece = bytes_;
    return true;
  }

  std::optional<std::uint64_t> size() override {
    std::uint64_t size = 0;
    for (std::u16string_view text : texts_) size += utf8Size(text);
    return size;
  }

 private:
  std::initializer_list<std::u16string_view> texts_;
  size_t text_ = 0;
  std::u16string_view rest_;
  std::string bytes_;
};

class BytesSource : public platform::ByteSource {
 public:
  explicit BytesSource(std::initializer_list<std::string_view> pieces) : pieces_(pieces) {}
  bool restart() override {
    next_ = 0;
    return true;
  }
  bool next(std::string_view& piece) override {
    // An empty piece would read as the end.
    while (next_ < pieces_.size() && pieces_.begin()[next_].empty()) ++next_;
    piece = next_ < pieces_.size() ? pieces_.begin()[next_++] : std::string_view();
    return true;
  }
  std::optional<std::uint64_t> size() override {
    std::uint64_t size = 0;
    for (std::string_view piece : pieces_) size += piece.size();
    return size;
  }

 private:
  std::initializer_list<std::string_view> pieces_;
  size_t next_ = 0;
};

WriteOutcome outcomeOf(platform::StoreResult result) {
  switch (result) {
    case platform::StoreResult::Stored:
    case platform::StoreResult::Unchanged:
      return WriteOutcome::Written;
    case platform::StoreResult::NotCreated:
      return WriteOutcome::NotCreated;
    case platform::StoreResult::NotWritten:
      return WriteOutcome::NotWritten;
  }
  return WriteOutcome::NotWritten;
}

}  // namespace

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

bool isRefusedFileName(std::u16string_view name) {
  for (char16_t c : name) {
    if (c == u'/' || c == u'\\' || c < 32) return true;
  }
  return false;
}

OutputFolder::OutputFolder(std::u16string_view directory, EarlierProject earlier) : path_(directory) {
  platform::OutputDirectory::OpenStatus status;
  directory_ = platform::OutputDirectory::open(path_, status);
  if (directory_ && earlier == EarlierProject::remove) directory_->remove(kHelpProjectName);
}

// An observed file is gathered whole first: what is stored and what the
// observer sees are then the same bytes, made once.
WriteOutcome OutputFolder::store(std::u16string_view name, platform::ByteSource& source) {
  if (!directory_ || isRefusedFileName(name)) return WriteOutcome::NotCreated;
  std::lock_guard<std::mutex> lock(mutex_);
  if (!observer_) return storeUnobserved(name, source);
  observed_.clear();
  if (!source.restart()) return WriteOutcome::NotWritten;
  for (std::string_view piece;;) {
    if (!source.next(piece)) return WriteOutcome::NotWritten;
    if (piece.empty()) break;
    observed_.append(piece);
  }
  const std::initializer_list<std::string_view> whole = {observed_};
  BytesSource gathered(whole);
  const WriteOutcome outcome = storeUnobserved(name, gathered);
  if (outcome == WriteOutcome::Written) observer_->stored(name, observed_);
  return outcome;
}

WriteOutcome OutputFolder::storeUnobserved(std::u16string_view name, platform::ByteSource& source) {
  return outcomeOf(directory_->store(name, source));
}

WriteOutcome OutputFolder::writeStream(std::u16string_view name, platform::ByteSource& source) {
  if (!directory_ || isRefusedFileName(name)) return WriteOutcome::NotCreated;
  std::lock_guard<std::mutex> lock(mutex_);
  return storeUnobserved(name, source);
}

std::unique_ptr<platform::ScratchFile> OutputFolder::scratch() const {
  if (!directory_) return nullptr;
  return platform::ScratchFile::create(path_);
}

WriteOutcome OutputFolder::writeText(std::u16string_view name,
                                     std::initializer_list<std::u16string_view> pieces) {
  TextSource source(pieces);
  return store(name, source);
}

WriteOutcome OutputFolder::writeBytes(std::u16string_view name,
                                      std::initializer_list<std::string_view> pieces) {
  BytesSource source(pieces);
  return store(name, source);
}

bool OutputFolder::writeText(Console& console, std::u16string_view name,
                             std::initializer_list<std::u16string_view> pieces) {
  return reportWriteOutcome(console, writeText(name, pieces), path_ + std::u16string(name));
}

bool OutputFolder::writeBytes(Console& console, std::u16string_view name,
                              std::initializer_list<std::string_view> pieces) {
  return reportWriteOutcome(console, writeBytes(name, pieces), path_ + std::u16string(name));
}

}  // namespace thc
