// The store/replace algorithm of the output folder over a folder in memory
// that fails on demand: a name that cannot be created, a write that fails
// half-way, a rename that fails, things under the temporary name. The real
// folders of each system are tried end to end (tests/robust/).
#include "platform/outputdirectory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>

namespace thc::platform {
namespace {

struct Entry {
  enum Kind { Plain, Link, Folder } kind = Plain;
  std::string bytes;
};

struct Faults {
  bool createFails = false;
  size_t writeLimit = SIZE_MAX;  // bytes a file takes before writes fail
  bool closeFails = false;       // a write error that shows only at close
  bool renameFails = false;
};

class FakeFolder;

class FakeFile : public FolderFile {
 public:
  FakeFile(FakeFolder& folder, std::u16string name) : folder_(folder), name_(std::move(name)) {}
  bool write(std::string_view bytes) override;
  std::optional<size_t> read(char* buffer, size_t size) override;
  bool close() override;

 private:
  FakeFolder& folder_;
  std::u16string name_;
  size_t position_ = 0;
};

class FakeFolder : public FolderPrimitives {
 public:
  std::unique_ptr<FolderFile> create(std::u16string_view name, CreateResult& result) override {
    result = faults.createFails                    ? CreateResult::Failed
             : entries.count(std::u16string(name)) ? CreateResult::Exists
                                                   : CreateResult::Created;
    if (result != CreateResult::Created) return nullptr;
    entries[std::u16string(name)] = Entry{};
    return std::make_unique<FakeFile>(*this, std::u16string(name));
  }
  std::unique_ptr<FolderFile> openPlain(std::u16string_view name, std::uint64_t& size) override {
    auto found = entries.find(std::u16string(name));
    if (found == entries.end() || found->second.kind != Entry::Plain) return nullptr;
    size = found->second.bytes.size();
    return std::make_unique<FakeFile>(*this, std::u16string(name));
  }
  bool renameOver(std::u16string_view from, std::u16string_view to) override {
    auto target = entries.find(std::u16string(to));
    if (faults.renameFails || (target != entries.end() && target->second.kind == Entry::Folder)) return false;
    entries[std::u16string(to)] = entries.at(std::u16string(from));
    entries.erase(std::u16string(from));
    return true;
  }
  void remove(std::u16string_view name) override {
    auto found = entries.find(std::u16string(name));
    if (found != entries.end() && found->second.kind != Entry::Folder) entries.erase(found);
  }

  // The folder as "name=bytes" lines, "name/" for a folder, "name@" before
  // the bytes of a link.
  std::string listing() const {
    std::string text;
    for (const auto& [name, entry] : entries) {
      text += std::string(name.begin(), name.end());
      text += entry.kind == Entry::Folder ? "/\n" : (entry.kind == Entry::Link ? "@=" : "=") + entry.bytes + "\n";
    }
    return text;
  }

  std::map<std::u16string, Entry> entries;
  Faults faults;
};

bool FakeFile::write(std::string_view bytes) {
  std::string& file = folder_.entries.at(name_).bytes;
  const size_t room = folder_.faults.writeLimit - file.size();
  file.append(bytes.substr(0, room));
  return bytes.size() <= room;
}

std::optional<size_t> FakeFile::read(char* buffer, size_t size) {
  const std::string& file = folder_.entries.at(name_).bytes;
  const size_t got = file.copy(buffer, size, position_);
  position_ += got;
  return got;
}

bool FakeFile::close() { return !folder_.faults.closeFails; }

// The bytes in pieces of an odd size, so comparing crosses the pieces and the
// reads at different points.
class PiecesSource : public ByteSource {
 public:
  explicit PiecesSource(std::string bytes) : bytes_(std::move(bytes)) {}
  bool restart() override {
    at_ = 0;
    return true;
  }
  bool next(std::string_view& piece) override {
    piece = std::string_view(bytes_).substr(at_, 7001);
    at_ += piece.size();
    return true;
  }
  std::optional<std::uint64_t> size() override { return bytes_.size(); }

 private:
  std::string bytes_;
  size_t at_ = 0;
};

TEST(OutputDirectory, StoresWholeFilesOrLeavesTheEarlierOne) {
  const std::string big(200000, 'b');
  struct Row {
    const char* what;
    std::function<void(FakeFolder&)> before;
    std::string bytes;  // stored under "p.html"
    StoreResult result;
    std::string listing;  // afterwards
  };
  auto file = [](const char* name, std::string bytes, Entry::Kind kind = Entry::Plain) {
    return [=](FakeFolder& f) { f.entries[std::u16string(name, name + std::strlen(name))] = Entry{kind, bytes}; };
  };
  auto both = [](auto first, auto second) {
    return [=](FakeFolder& f) {
      first(f);
      second(f);
    };
  };
  const Row rows[] = {
      {"a new name", [](FakeFolder&) {}, "new", StoreResult::Stored, "p.html=new\n"},
      {"the same bytes", file("p.html", "same"), "same", StoreResult::Unchanged, "p.html=same\n"},
      {"other bytes", file("p.html", "old"), "new", StoreResult::Stored, "p.html=new\n"},
      {"the same long file", file("p.html", big), big, StoreResult::Unchanged, "p.html=" + big + "\n"},
      {"a long file with another last byte", file("p.html", big), big.substr(1) + "c", StoreResult::Stored,
       "p.html=" + big.substr(1) + "c\n"},
      {"a longer file", file("p.html", "same"), "same+", StoreResult::Stored, "p.html=same+\n"},
      {"the same bytes behind a link", file("p.html", "same", Entry::Link), "same", StoreResult::Stored,
       "p.html=same\n"},
      {"a folder under the name", file("p.html", "", Entry::Folder), "new", StoreResult::NotCreated, "p.html/\n"},
      {"a name that cannot be created", [](FakeFolder& f) { f.faults.createFails = true; }, "new",
       StoreResult::NotCreated, ""},
      {"a new file that fails half-way", [](FakeFolder& f) { f.faults.writeLimit = 3; }, "abcdef",
       StoreResult::NotWritten, ""},
      {"a replacement that fails half-way", both(file("p.html", "old"), [](FakeFolder& f) { f.faults.writeLimit = 3; }),
       "abcdef", StoreResult::NotWritten, "p.html=old\n"},
      {"a write error shown at close", both(file("p.html", "old"), [](FakeFolder& f) { f.faults.closeFails = true; }),
       "new", StoreResult::NotWritten, "p.html=old\n"},
      {"a rename that fails", both(file("p.html", "old"), [](FakeFolder& f) { f.faults.renameFails = true; }), "new",
       StoreResult::NotCreated, "p.html=old\n"},
      {"a killed run's leftover under the temporary name", both(file("p.html", "old"), file(".tarnelthc.tmp", "junk")),
       "new", StoreResult::Stored, "p.html=new\n"},
      {"folders under the first temporary names",
       both(both(file("p.html", "old"), file(".tarnelthc.tmp", "", Entry::Folder)),
            file(".tarnelthc.1.tmp", "", Entry::Folder)),
       "new", StoreResult::Stored, ".tarnelthc.1.tmp/\n.tarnelthc.tmp/\np.html=new\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    auto owned = std::make_unique<FakeFolder>();
    FakeFolder& folder = *owned;
    row.before(folder);
    OutputDirectory directory(std::move(owned));
    PiecesSource source(row.bytes);
    EXPECT_EQ(directory.store(u"p.html", source), row.result);
    const std::string listing = folder.listing();
    EXPECT_TRUE(listing == row.listing) << listing.substr(0, 200);
  }
}

}  // namespace
}  // namespace thc::platform
