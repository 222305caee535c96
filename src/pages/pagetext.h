// Small building blocks that several page bodies share: appending fragments,
// the deprecated mark and the navigation bar.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "project/model.h"

namespace thc {

// Appends the fragments in order, with nothing between them.
void appendText(std::u16string& out, std::initializer_list<std::u16string_view> parts);

// " <span class='deprecated'>(" + the catalog word + ")</span>" when set.
void appendDeprecatedMark(std::u16string& out, const Catalog& catalog, bool deprecated);

// One end of a navigation bar, or the up link in its middle.
struct NavigationLink {
  std::u16string file;
  std::u16string text;
};

// "<p class='nextindexprev'>", the previous link with its left arrow, the up
// link, the next link with its right arrow, "</p>". Absent neighbours leave
// out their part.
void appendNavigationBar(std::u16string& out, const NavigationLink* previous,
                         const NavigationLink& up, const NavigationLink* next);

}  // namespace thc
