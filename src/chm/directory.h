// The help file's directory: every stored name with where its bytes lie,
// in listing chunks of 4096 bytes and, when there is more than one, index
// chunks above them, so readers find a name by descending the index.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace thc::chm {

struct DirectoryEntry {
  std::string name;  // "/index.html", "::DataSpace/NameList", "/img/" ...
  std::uint32_t section = 0;
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
};

// The order of the directory: ASCII letters folded to lower case, then byte
// by byte, a name before every longer name it begins. Every lookup folds
// case, so two names that differ only in case are one name.
bool directoryOrder(std::string_view a, std::string_view b);
bool sameDirectoryName(std::string_view a, std::string_view b);

// Adds an entry of length 0 for every folder that a name lies in ("/",
// "/img/" ...), which readers that list folders look for, and sorts the
// entries. The names must differ after case folding.
void completeDirectory(std::vector<DirectoryEntry>& entries);

// The directory header and its chunks for sorted, complete entries.
std::string directoryBytes(const std::vector<DirectoryEntry>& entries, std::uint32_t lcid);

}  // namespace thc::chm
