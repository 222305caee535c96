// The title of an HTML page, as search results and topic lists show it.
#pragma once

#include <string>
#include <string_view>

namespace thc::chm {

// The text of the page's <title> element, blanks collapsed; empty when it
// has none. The page is read as UTF-8.
std::u16string pageTitle(std::string_view html);

}  // namespace thc::chm
