// The body of index.html, the start page of the help.
#pragma once

#include <string>

#include "project/model.h"

namespace thc {

std::u16string indexPageBody(const Catalog& catalog, const Project& project);

}  // namespace thc
