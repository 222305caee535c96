// The body of a history page (of a library or of the whole project).
#pragma once

#include <string>
#include <string_view>

#include "project/model.h"

namespace thc {

std::u16string historyPageBody(const Catalog& catalog, std::u16string_view text);

}  // namespace thc
