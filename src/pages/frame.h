// The page frame: every HTML page is written through writeFramedPage, which
// wraps the body in a fixed HTML 4.01 frame with the whole style sheet inline.
#pragma once

#include <string_view>

#include "base/console.h"
#include "common/output.h"

namespace thc {

// The inline style sheet: 20 rules, each ending in one line feed.
std::u16string_view styleSheet();

// Writes the page `file` into the folder in the frame; prints nothing.
WriteOutcome writeFramedPage(OutputFolder& folder, std::u16string_view file,
                             std::u16string_view title, std::u16string_view body);

}  // namespace thc
