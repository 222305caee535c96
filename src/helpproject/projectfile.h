// The HTML Help project file document.hhp.
#pragma once

#include <string>
#include <string_view>

#include "common/console.h"
#include "project/model.h"

namespace thc {

std::u16string helpProjectText(const ProjectModel& model);
std::u16string languageCode(std::u16string_view lang);
bool writeTextFile(Console& console, std::u16string_view path, std::u16string_view text);

}  // namespace thc
