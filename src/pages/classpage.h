// The body of the page of one class.
#pragma once

#include <string>

#include "markup/naming.h"
#include "project/model.h"

namespace thc {

// next and previous are the neighbouring classes of the library, or null.
std::u16string classPageBody(const Catalog& catalog, PageNames names, const Library& library,
                             const Class& cls, const Class* next, const Class* previous);

}  // namespace thc
