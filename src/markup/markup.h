// The inline @-markup translator.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/console.h"
#include "project/model.h"

namespace thc {

// Translates one text to HTML. References default to the library and class
// being read; image keywords append to model.images. On a parse error the
// input comes back unchanged.
std::u16string translateMarkup(std::u16string_view text, const DocNode* node, ProjectModel& model,
                               Console& console);

// Appends an image entry and returns its number.
int64_t registerImage(std::vector<ImageEntry>& images, std::u16string_view source);

}  // namespace thc
