// The body of a library's overview page.
#pragma once

#include <string>

#include "project/model.h"

namespace thc {

// next and previous are the neighbouring libraries of the project, or null.
std::u16string libraryPageBody(const Catalog& catalog, const Library& library,
                               const Library* next, const Library* previous);

}  // namespace thc
