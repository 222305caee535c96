// The contents file toc.hhc.
#pragma once

#include <string>
#include <string_view>

#include "common/console.h"
#include "common/output.h"
#include "project/model.h"

namespace thc {

// The texts are bytes: the names in the code page of the help language lang,
// the link targets in UTF-8.
std::string contentsEntry(std::u16string_view local, std::u16string_view name,
                          std::u16string_view lang);
std::string contentsBody(const ProjectModel& model);
// Writes toc.hhc into the folder: the fixed head, the body, the fixed tail.
bool writeContentsFile(Console& console, OutputFolder& folder, std::string_view body);

}  // namespace thc
