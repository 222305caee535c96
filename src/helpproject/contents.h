// The contents file toc.hhc.
#pragma once

#include <string>
#include <string_view>

#include "common/console.h"
#include "project/model.h"

namespace thc {

std::u16string contentsEntry(std::u16string_view local, std::u16string_view name);
std::u16string contentsBody(const ProjectModel& model);
bool writeContentsFile(Console& console, std::u16string_view path, std::u16string_view body);

}  // namespace thc
