#include "chm/directory.h"

#include <algorithm>
#include <set>

#include "chm/bytes.h"

namespace thc::chm {

namespace {

constexpr size_t kChunkSize = 4096;
constexpr size_t kListingHeader = 0x14;
constexpr size_t kIndexHeader = 0x08;
// Every fifth entry of a chunk is listed at its end, so a reader can jump
// near a name: a density of 2 gives groups of 1 + 2^2 entries.
constexpr std::uint32_t kQuickrefDensity = 2;
constexpr std::uint32_t kQuickrefGroup = 1 + (1u << kQuickrefDensity);
constexpr std::uint32_t kNone = 0xFFFFFFFFu;

char folded(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The offsets at the end of a chunk of `count` entries: one for every group
// but the first, and the count itself.
size_t trailerSize(std::uint32_t count) { return 2 * (count > 0 ? (count - 1) / kQuickrefGroup : 0) + 2; }

// One chunk being filled: its entries' bytes and where every fifth begins.
struct Chunk {
  std::string entries;
  std::vector<std::uint16_t> quickrefs;
  std::uint32_t count = 0;
  std::string firstName;
};

bool fits(const Chunk& chunk, size_t header, size_t entrySize) {
  return header + chunk.entries.size() + entrySize + trailerSize(chunk.count + 1) <= kChunkSize;
}

void addEntry(Chunk& chunk, std::string_view name, const std::string& entry) {
  if (chunk.count > 0 && chunk.count % kQuickrefGroup == 0) {
    chunk.quickrefs.push_back(static_cast<std::uint16_t>(chunk.entries.size()));
  }
  if (chunk.count == 0) chunk.firstName = name;
  chunk.entries += entry;
  ++chunk.count;
}

// Packs entries into chunks, none split across two.
template <typename EntryBytes>
std::vector<Chunk> packChunks(size_t count, size_t header, EntryBytes entryBytes) {
  std::vector<Chunk> chunks(1);
  std::string entry;
  for (size_t i = 0; i < count; ++i) {
    entry.clear();
    const std::string_view name = entryBytes(i, entry);
    if (!fits(chunks.back(), header, entry.size())) chunks.emplace_back();
    addEntry(chunks.back(), name, entry);
  }
  return chunks;
}

// The zero fill, the quickrefs from the end downwards and the count.
void appendTrailer(std::string& out, size_t chunkStart, const Chunk& chunk) {
  out.resize(chunkStart + kChunkSize, '\0');
  setU16(out, chunkStart + kChunkSize - 2, chunk.count);
  for (size_t g = 0; g < chunk.quickrefs.size(); ++g) {
    setU16(out, chunkStart + kChunkSize - 4 - 2 * g, chunk.quickrefs[g]);
  }
}

void appendListingChunk(std::string& out, const Chunk& chunk, std::uint32_t number, std::uint32_t last) {
  const size_t start = out.size();
  out += "PMGL";
  putU32(out, static_cast<std::uint32_t>(kChunkSize - kListingHeader - chunk.entries.size()));
  putU32(out, 0);
  putU32(out, number == 0 ? kNone : number - 1);
  putU32(out, number == last ? kNone : number + 1);
  out += chunk.entries;
  appendTrailer(out, start, chunk);
}

void appendIndexChunk(std::string& out, const Chunk& chunk) {
  const size_t start = out.size();
  out += "PMGI";
  putU32(out, static_cast<std::uint32_t>(kChunkSize - kIndexHeader - chunk.entries.size()));
  out += chunk.entries;
  appendTrailer(out, start, chunk);
}

void appendDirectoryHeader(std::string& out, std::uint32_t depth, std::uint32_t root, std::uint32_t lastListing,
                           std::uint32_t chunkCount, std::uint32_t lcid) {
  out += "ITSP";
  putU32(out, 1);
  putU32(out, 0x54);
  putU32(out, 0x0A);
  putU32(out, kChunkSize);
  putU32(out, kQuickrefDensity);
  putU32(out, depth);
  putU32(out, root);
  putU32(out, 0);
  putU32(out, lastListing);
  putU32(out, kNone);
  putU32(out, chunkCount);
  putU32(out, lcid);
  putGuid(out, Guid{0x5D02926A, 0x212E, 0x11D0, {0x9D, 0xF9, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC}});
  putU32(out, 0x54);
  putU32(out, kNone);
  putU32(out, kNone);
  putU32(out, kNone);
}

// The first name and the number of every chunk of one level.
struct ChildChunk {
  std::string firstName;
  std::uint32_t number;
};

}  // namespace

bool directoryOrder(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const unsigned char x = static_cast<unsigned char>(folded(a[i]));
    const unsigned char y = static_cast<unsigned char>(folded(b[i]));
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

bool sameDirectoryName(std::string_view a, std::string_view b) {
  return !directoryOrder(a, b) && !directoryOrder(b, a);
}

void completeDirectory(std::vector<DirectoryEntry>& entries) {
  std::set<std::string> folders;
  for (const DirectoryEntry& entry : entries) {
    const std::string_view name = entry.name;
    // "::DataSpace/Storage/x" lies in "::DataSpace/" and "::DataSpace/Storage/";
    // "/img/x.png" in "/" and "/img/".
    const size_t first = name.starts_with("::") ? name.find('/') : 0;
    for (size_t slash = first; slash != std::string_view::npos && slash + 1 < name.size();
         slash = name.find('/', slash + 1)) {
      folders.insert(std::string(name.substr(0, slash + 1)));
    }
  }
  for (const DirectoryEntry& entry : entries) folders.erase(entry.name);
  for (const std::string& folder : folders) entries.push_back(DirectoryEntry{folder, 0, 0, 0});
  std::sort(entries.begin(), entries.end(),
            [](const DirectoryEntry& a, const DirectoryEntry& b) { return directoryOrder(a.name, b.name); });
}

std::string directoryBytes(const std::vector<DirectoryEntry>& entries, std::uint32_t lcid) {
  std::vector<Chunk> listing = packChunks(entries.size(), kListingHeader, [&](size_t i, std::string& out) {
    const DirectoryEntry& entry = entries[i];
    putEncInt(out, entry.name.size());
    out += entry.name;
    putEncInt(out, entry.section);
    putEncInt(out, entry.offset);
    putEncInt(out, entry.length);
    return std::string_view(entry.name);
  });
  const std::uint32_t listingCount = static_cast<std::uint32_t>(listing.size());
  std::string chunks;
  std::vector<ChildChunk> level;
  for (std::uint32_t i = 0; i < listingCount; ++i) {
    appendListingChunk(chunks, listing[i], i, listingCount - 1);
    level.push_back(ChildChunk{listing[i].firstName, i});
  }
  std::uint32_t depth = 1;
  std::uint32_t next = listingCount;
  // Index levels over the level below until one chunk holds them all.
  while (level.size() > 1) {
    std::vector<Chunk> index = packChunks(level.size(), kIndexHeader, [&](size_t i, std::string& out) {
      putEncInt(out, level[i].firstName.size());
      out += level[i].firstName;
      putEncInt(out, level[i].number);
      return std::string_view(level[i].firstName);
    });
    std::vector<ChildChunk> above;
    for (const Chunk& chunk : index) {
      appendIndexChunk(chunks, chunk);
      above.push_back(ChildChunk{chunk.firstName, next++});
    }
    level = std::move(above);
    ++depth;
  }
  const std::uint32_t root = depth == 1 ? kNone : next - 1;
  std::string out;
  appendDirectoryHeader(out, depth, root, listingCount - 1, next, lcid);
  out += chunks;
  return out;
}

}  // namespace thc::chm
