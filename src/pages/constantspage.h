// The body of a library's constants page: one table row per constant.
#pragma once

#include <string>

#include "project/model.h"

namespace thc {

std::u16string constantsPageBody(const Catalog& catalog, const Library& library);

}  // namespace thc
