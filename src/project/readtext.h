// The texts of elements as the readers take them: plain, or translated from
// markup with the library and class being read as the references' defaults.
#pragma once

#include <string>
#include <string_view>

#include "base/console.h"
#include "project/model.h"

namespace thc {

// trimText, then every "&" written as "&amp;".
std::u16string escapeAmpersands(std::u16string_view text);

// The text of a description-like element: a leading CDATA section as it is,
// else the element's own text trimmed and escaped (with a warning when the
// element has children other than a leading CDATA section).
std::u16string readElementText(const DocNode* element, Console& console);

// readElementText of the element, translated from markup to HTML.
std::u16string readMarkup(const DocNode* element, ProjectModel& model, Console& console);

// The library being read (the last one appended), or "" before the first.
std::u16string_view currentLibraryName(const Project& project);
// The last class appended to the library being read, or "".
std::u16string_view currentClassName(const Project& project);

}  // namespace thc
