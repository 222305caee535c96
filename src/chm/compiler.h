// Compiling a help project into its help file (.chm): the project's files
// read once, compressed as they are read, the tables viewers need built
// beside them, and the file written through the output folder's owner, so
// an earlier help file stays as it was when compiling fails.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/output.h"

namespace thc::chm {

struct CompileSettings {
  // The time stored in the file (seconds since 1970), 0 for none: a build
  // that is to give the same bytes again stores none.
  std::uint64_t seconds = 0;
  // Threads that compress side by side.
  unsigned threads = 1;
};

// A link of a page to a file that is not there (paths relative to the
// project's folder).
struct MissingLink {
  std::u16string page;
  std::u16string target;
};

struct CompileResult {
  bool compiled = false;
  std::u16string helpFile;  // the path of the help file written
  // When not compiled: the file at fault (a path) and why.
  std::u16string file;
  std::u16string why;
  // Lines of the project that change nothing, as written.
  std::vector<std::u16string> ignored;
  std::vector<MissingLink> missingLinks;
};

// Compiles the help project `projectName`, a file in the folder, into the
// file its "Compiled file=" names, beside it.
CompileResult compileHelpProject(OutputFolder& folder, std::u16string_view projectName,
                                 const CompileSettings& settings);

}  // namespace thc::chm
