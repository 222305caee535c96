// The HTML Help project file document.hhp.
#pragma once

#include <string>
#include <string_view>

#include "base/console.h"
#include "common/output.h"
#include "project/model.h"

namespace thc {

// The file name after "Compiled file=": the title with control characters as
// blanks, the characters that name folders or drives and those the code page
// lacks as "_", plus ".chm".
std::u16string compiledFileName(std::u16string_view title, unsigned codePage);
// The title after "Title=": control characters as blanks.
std::u16string helpTitle(std::u16string_view title);

// The text of document.hhp as bytes in the code page of the help language;
// its [FILES] section lists `pages`, the pages written.
std::string helpProjectText(const Project& project, const std::vector<std::u16string>& pages);
std::u16string languageCode(std::u16string_view lang);
// Writes the text as the file `name` of the folder.
bool writeTextFile(Console& console, OutputFolder& folder, std::u16string_view name,
                   std::string_view text);

}  // namespace thc
