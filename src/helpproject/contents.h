// The contents file toc.hhc.
#pragma once

#include <string>
#include <string_view>

#include "common/console.h"
#include "project/model.h"

namespace thc {

// The texts are bytes: the names in the code page of the help language lang,
// the link targets in UTF-8.
std::string contentsEntry(std::u16string_view local, std::u16string_view name,
                          std::u16string_view lang);
std::string contentsBody(const ProjectModel& model);
bool writeContentsFile(Console& console, std::u16string_view path, std::string_view body);

}  // namespace thc
