// The contents file toc.hhc.
#pragma once

#include <string>
#include <string_view>

#include "base/console.h"
#include "common/output.h"
#include "project/model.h"

namespace thc {

// The texts are bytes in the code page of the help language lang.
std::string contentsEntry(std::u16string_view local, std::u16string_view name,
                          std::u16string_view lang);
std::string contentsBody(const Project& project, const Catalog& catalog);
// Writes toc.hhc into the folder: the fixed head, the body, the fixed tail.
bool writeContentsFile(Console& console, OutputFolder& folder, std::string_view body);

}  // namespace thc
