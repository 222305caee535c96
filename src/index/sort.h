// Sorting of every list of the model and the merge of supported systems.
// Every sort is stable and ascending, by one of two kinds of key: a text,
// compared code unit by code unit with only A-Z folded to a-z, or a signed
// 64-bit number.
#pragma once

#include <string_view>

#include "project/model.h"

namespace thc {

// Puts every list into its final order and computes each command's and
// method's effective osList.
void sortProject(Project& project);

// osList becomes the library's globalOs plus the command's os entries minus
// its noos entries, compared by full lower case; a later entry replaces an
// earlier one that differs only in case. The order is left to the caller's
// sort.
void mergeOsLists(const Library& library, Command& command);

// True when a sorts before b as a text key.
bool textKeyLess(std::u16string_view a, std::u16string_view b);

}  // namespace thc
