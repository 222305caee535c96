// The files a page links to (its links, images, style sheets, frames ...)
// and the images and style sheets a style sheet names, which a help file
// must hold for the page to show right even where the project does not
// list them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace thc::chm {

// The local targets of the page's links, as paths relative to the project's
// folder ("/" between folders), each once, in the order they appear. Links
// with a scheme ("http:", "mailto:" ...), links within the page and targets
// above the project's folder are left out. `pagePath` is the page's own
// path relative to that folder, resolved (no "." or ".." parts).
std::vector<std::u16string> linkedFiles(std::string_view html, std::u16string_view pagePath);

// The local files a style sheet names ("url(...)", "@import"), as
// linkedFiles gives them; `sheetPath` is the style sheet's own path.
std::vector<std::u16string> styleSheetFiles(std::string_view css, std::u16string_view sheetPath);

// `target`, taken relative to the folder of `pagePath`, as a path relative
// to the project's folder with "." and ".." parts resolved; "" when it
// climbs above that folder.
std::u16string resolveLink(std::u16string_view pagePath, std::u16string_view target);

}  // namespace thc::chm
