// The body of a library's macros page: one section per macro.
#pragma once

#include <string>

#include "project/model.h"

namespace thc {

std::u16string macrosPageBody(const Catalog& catalog, const Library& library);

}  // namespace thc
