// The body of the page of one structure: description, element table and
// navigation.
#pragma once

#include <string>

#include "markup/naming.h"
#include "project/model.h"

namespace thc {

// next and previous are the neighbouring structures of the library, or null.
std::u16string structurePageBody(const Catalog& catalog, PageNames names, const Library& library,
                                 const Structure& structure, const Structure* next,
                                 const Structure* previous);

}  // namespace thc
