// The page frame: every HTML page is written through writeFramedPage, which
// wraps the body in a fixed HTML 4.01 frame with the whole style sheet inline.
#pragma once

#include <string_view>

#include "common/console.h"
#include "common/output.h"
#include "project/model.h"

namespace thc {

// The inline style sheet: 20 rules, each ending in one line feed.
std::u16string_view styleSheet();

// A file name holding "/", "\" or a control character: such a page is
// refused like a file that cannot be created.
bool isRefusedPageName(std::u16string_view file);

// Writes the page at path in the frame; prints nothing.
WriteOutcome writeFramedPage(std::u16string_view path, std::u16string_view title,
                             std::u16string_view body);

// Writes outputDir + file as one page and appends file to
// model.generatedFiles. A file name holding "/", "\" or a control character
// is refused like a file that cannot be created, so no page lands outside
// outputDir and every listed name is one line. Prints "Unable
// to create " / "Unable to write " + the full path and returns false when the
// page was not written completely; nothing is listed then.
bool writePage(ProjectModel& model, Console& console, std::u16string_view outputDir,
               std::u16string_view file, std::u16string_view title, std::u16string_view body);

}  // namespace thc
