#include "chm/contextids.h"

#include <unordered_map>

#include "chm/bytes.h"
#include "codepage/decoder.h"
#include "common/text.h"

namespace thc::chm {

namespace {

// Headers nest; a deeper chain is surely a mistake and is refused like a
// cycle.
constexpr size_t kDeepestInclude = 64;

std::u16string_view firstWord(std::u16string_view& rest) {
  rest = trimmedView(rest);
  size_t end = 0;
  while (end < rest.size() && rest[end] > u' ') ++end;
  const std::u16string_view word = rest.substr(0, end);
  rest.remove_prefix(end);
  rest = trimmedView(rest);
  return word;
}

// "#include map.h", "#include \"map.h\"" or "#include <map.h>": the file.
std::u16string includedFile(std::u16string_view rest) {
  std::u16string file(trimmedView(rest));
  if (file.size() >= 2 && (file.front() == u'"' || file.front() == u'<')) file = file.substr(1, file.size() - 2);
  for (char16_t& c : file) {
    if (c == u'\\') c = u'/';
  }
  return file;
}

// One file of lines being read, with the place reached.
struct OpenFile {
  std::u16string path;
  std::vector<std::u16string> lines;
  size_t next = 0;
};

std::vector<std::u16string> linesOf(const std::u16string& text) {
  std::vector<std::u16string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

class MapReader {
 public:
  MapReader(const FileReader& read, unsigned codePage) : read_(read), decoder_(codePage) {}

  // Reads the lines and every header they include, depth first in order.
  bool readAll(std::vector<std::u16string> lines, ContextProblem& problem) {
    stack_.push_back(OpenFile{u"", std::move(lines), 0});
    while (!stack_.empty()) {
      OpenFile& top = stack_.back();
      if (top.next == top.lines.size()) {
        stack_.pop_back();
        continue;
      }
      std::u16string_view rest = top.lines[top.next++];
      const std::u16string_view word = firstWord(rest);
      if (word == u"#include") {
        if (!include(includedFile(rest), problem)) return false;
      } else if (word == u"#define") {
        define(rest);
      } else if (!word.empty() && word[0] != u'#' && word[0] != u';' && word[0] != u'/') {
        define(std::u16string(word) + u" " + std::u16string(rest));
      }
    }
    return true;
  }

  const std::unordered_map<std::u16string, std::uint32_t>& numbers() const { return numbers_; }

 private:
  void define(std::u16string_view rest) {
    const std::u16string symbol(firstWord(rest));
    if (rest.starts_with(u"=")) rest.remove_prefix(1);
    if (const auto number = leadingNumber(trimmedView(rest))) numbers_[symbol] = *number;
  }

  bool include(const std::u16string& file, ContextProblem& problem) {
    // The project's own lines are the bottom of the stack, with no path.
    const std::u16string& includer = stack_.back().path;
    for (const OpenFile& open : stack_) {
      if (open.path == file) {
        problem = {includer.empty() ? file : includer, u"includes " + file + u" again (an include cycle)"};
        return false;
      }
    }
    if (stack_.size() > kDeepestInclude) {
      problem = {file, u"is included too deeply"};
      return false;
    }
    std::u16string why;
    const std::optional<std::string> bytes = read_(file, why);
    if (!bytes) {
      problem = {file, why};
      return false;
    }
    stack_.push_back(OpenFile{file, linesOf(decoder_.decode(*bytes)), 0});
    return true;
  }

  const FileReader& read_;
  TextDecoder decoder_;
  std::vector<OpenFile> stack_;
  std::unordered_map<std::u16string, std::uint32_t> numbers_;
};

}  // namespace

std::optional<std::vector<ContextId>> contextIds(const HelpProjectFile& project, const FileReader& read,
                                                 ContextProblem& problem) {
  std::vector<ContextId> ids;
  if (project.mapLines.empty()) return ids;
  MapReader reader(read, project.codePage);
  if (!reader.readAll(project.mapLines, problem)) return std::nullopt;
  for (const auto& [symbol, file] : project.aliases) {
    const auto found = reader.numbers().find(symbol);
    if (found != reader.numbers().end()) ids.push_back(ContextId{symbol, found->second, file});
  }
  return ids;
}

std::string contextIdFile(const std::vector<std::pair<std::uint32_t, std::string>>& ids, StringsTable& strings) {
  std::string out;
  putU32(out, static_cast<std::uint32_t>(ids.size() * 8));
  for (const auto& [number, path] : ids) {
    putU32(out, number);
    putU32(out, strings.add(path));
  }
  return out;
}

}  // namespace thc::chm
