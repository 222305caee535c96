// The body of index.html, the start page of the help.
#pragma once

#include <string>

#include "markup/naming.h"
#include "project/model.h"

namespace thc {

std::u16string indexPageBody(const Catalog& catalog, PageNames names, const Project& project);

}  // namespace thc
