// Context ids: the numbers applications pass to the viewer to open a topic.
// [MAP] gives symbols their numbers (directly or in C headers it includes),
// [ALIAS] gives symbols their files; #IVB stores the pairs.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chm/projectfile.h"
#include "chm/strings.h"

namespace thc::chm {

// The bytes of a file of the project's folder (a path relative to it); none,
// with why, when it cannot be read.
using FileReader = std::function<std::optional<std::string>(std::u16string_view path, std::u16string& why)>;

struct ContextProblem {
  std::u16string file;
  std::u16string why;
};

// Every symbol that both sections name, in [ALIAS] order. None, with the
// problem, when an included header cannot be read or includes itself.
std::optional<std::vector<ContextId>> contextIds(const HelpProjectFile& project, const FileReader& read,
                                                 ContextProblem& problem);

// #IVB: its length, then per id the number and the offset of its file's
// path (in the code page) in #STRINGS.
std::string contextIdFile(const std::vector<std::pair<std::uint32_t, std::string>>& ids, StringsTable& strings);

}  // namespace thc::chm
