#include "index/sort.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/textcase.h"

namespace thc {

namespace {

char16_t foldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

// A stable sort that moves every record once: the positions are sorted, then
// the records are moved into their new places. Records such as commands are
// large, and moving them at every merge step is what would make 100,000 of
// them slow.
template <typename Record, typename Less>
void stableSortRecords(std::vector<Record>& records, Less less) {
  if (records.size() < 2) return;
  std::vector<size_t> order(records.size());
  std::iota(order.begin(), order.end(), size_t(0));
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return less(records[a], records[b]); });
  bool unchanged = true;
  for (size_t i = 0; i < order.size() && unchanged; ++i) unchanged = order[i] == i;
  if (unchanged) return;
  std::vector<Record> sorted;
  sorted.reserve(records.size());
  for (size_t i : order) sorted.push_back(std::move(records[i]));
  records = std::move(sorted);
}

template <typename Record, typename Key>
void sortByText(std::vector<Record>& records, Key key) {
  stableSortRecords(records,
                    [&key](const Record& a, const Record& b) { return textKeyLess(key(a), key(b)); });
}

template <typename Record, typename Key>
void sortByNumber(std::vector<Record>& records, Key key) {
  stableSortRecords(records, [&key](const Record& a, const Record& b) { return key(a) < key(b); });
}

template <typename Record>
void sortByName(std::vector<Record>& records) {
  sortByText(records, [](const Record& r) -> const std::u16string& { return r.name; });
}

void sortTexts(std::vector<std::u16string>& texts) {
  sortByText(texts, [](const std::u16string& t) -> const std::u16string& { return t; });
}

enum class ArgumentKey { IndexText, IndexValue };

void sortArguments(std::vector<Argument>& args, ArgumentKey key) {
  if (key == ArgumentKey::IndexText) {
    sortByText(args, [](const Argument& a) -> const std::u16string& { return a.index; });
  } else {
    sortByNumber(args, [](const Argument& a) { return a.indexValue; });
  }
}

// Three stable passes: the last key decides first, so the order is by
// library, then class, then member name, then document order.
void sortReferences(std::vector<Reference>& references) {
  sortByText(references, [](const Reference& r) -> const std::u16string& { return r.memberName; });
  sortByText(references, [](const Reference& r) -> const std::u16string& { return r.className; });
  sortByText(references, [](const Reference& r) -> const std::u16string& { return r.library; });
}

void sortCommand(const Library& library, Command& command, ArgumentKey argumentKey) {
  mergeOsLists(library, command);
  sortTexts(command.osList);
  sortTexts(command.noOsList);
  sortReferences(command.references);
  sortArguments(command.args, argumentKey);
  sortByName(command.examples);
}

void sortLibrary(Library& library) {
  sortByName(library.constants);
  sortByName(library.commands);
  sortByName(library.classes);
  sortByName(library.structures);
  sortByName(library.macros);
  for (Structure& structure : library.structures) {
    sortByNumber(structure.elements, [](const StructureElement& e) { return e.offsetValue; });
  }
  for (Macro& macro : library.macros) sortArguments(macro.args, ArgumentKey::IndexText);
  for (Class& cls : library.classes) {
    sortByName(cls.methods);
    for (Command& method : cls.methods) sortCommand(library, method, ArgumentKey::IndexText);
  }
  for (Command& command : library.commands) sortCommand(library, command, ArgumentKey::IndexValue);
}

// Lower-cased system name -> the entry as last written. Values keep the order
// in which their key first appeared, so the merged list does not depend on
// hashing before it is sorted.
class OsMap {
 public:
  void set(std::u16string_view name) {
    std::u16string key = platform::toLower(name);
    auto [found, inserted] = positions_.try_emplace(std::move(key), values_.size());
    if (inserted) {
      values_.push_back(Value{std::u16string(name), true});
    } else {
      values_[found->second] = Value{std::u16string(name), true};
    }
  }

  void remove(std::u16string_view name) {
    auto found = positions_.find(platform::toLower(name));
    if (found == positions_.end()) return;
    values_[found->second].present = false;
    positions_.erase(found);
  }

  std::vector<std::u16string> takeValues() {
    std::vector<std::u16string> result;
    result.reserve(positions_.size());
    for (Value& value : values_) {
      if (value.present) result.push_back(std::move(value.name));
    }
    return result;
  }

 private:
  struct Value {
    std::u16string name;
    bool present = false;
  };
  std::unordered_map<std::u16string, size_t> positions_;
  std::vector<Value> values_;
};

}  // namespace

bool textKeyLess(std::u16string_view a, std::u16string_view b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const char16_t x = foldAscii(a[i]);
    const char16_t y = foldAscii(b[i]);
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

void mergeOsLists(const Library& library, Command& command) {
  OsMap systems;
  for (const std::u16string& entry : library.globalOs) systems.set(entry);
  for (const std::u16string& entry : command.osList) systems.set(entry);
  for (const std::u16string& entry : command.noOsList) systems.remove(entry);
  command.osList = systems.takeValues();
}

void sortProject(Project& project) {
  sortByName(project.libraries);
  for (Library& library : project.libraries) sortLibrary(library);
}

}  // namespace thc
