// The body of the page of one command: a library command, or a method of a
// class when ownerClass is given.
#pragma once

#include <string>

#include "markup/naming.h"
#include "project/model.h"

namespace thc {

// next and previous are the neighbouring commands of the same list, or null.
std::u16string commandPageBody(const Catalog& catalog, PageNames names, const Library& library,
                               const Command& command, const Class* ownerClass,
                               const Command* next, const Command* previous);

}  // namespace thc
