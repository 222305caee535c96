// The body of a planned page, built from its item in the document and the
// items before and after it in the same list.
#pragma once

#include <string>

#include "plan/outputplan.h"
#include "project/model.h"

namespace thc {

std::u16string pageBody(const Project& project, const Catalog& catalog, PageNames names,
                        const PlannedPage& page);

}  // namespace thc
