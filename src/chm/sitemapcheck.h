// A contents or index file whose lists do not close leaves viewers with a
// tree they cannot end (some stop reading, some crash): such a file is no
// sitemap to store.
#pragma once

#include <string_view>

namespace thc::chm {

// True when every <UL> of the sitemap is closed by a </UL> and no </UL>
// closes more than was opened. Comments are passed over.
bool listsClose(std::string_view sitemap);

}  // namespace thc::chm
