// The body of a library's overview page.
#pragma once

#include <string>

#include "markup/naming.h"
#include "project/model.h"

namespace thc {

// next and previous are the neighbouring libraries of the project, or null.
std::u16string libraryPageBody(const Catalog& catalog, PageNames names, const Library& library,
                               const Library* next, const Library* previous);

}  // namespace thc
