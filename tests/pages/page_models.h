// Small builders for the records the page tests feed to the body writers.
#pragma once

#include <string>

#include "common/text.h"
#include "markup/naming.h"
#include "project/model.h"

namespace thc::testing {

// The page names of a help in Windows-1252, the code page of most languages.
inline constexpr PageNames kWesternNames{1252};

// An argument numbered by index (as written), with an optional default.
inline Argument argument(std::u16string name, std::u16string index, std::u16string type = {},
                         std::u16string defaultValue = {}) {
  Argument result;
  result.indexValue = textToInteger(index);
  result.index = std::move(index);
  result.name = std::move(name);
  result.type = std::move(type);
  result.defaultValue = std::move(defaultValue);
  return result;
}

template <typename Item>
Item named(std::u16string name, bool deprecated = false) {
  Item item;
  item.name = std::move(name);
  item.deprecated = deprecated;
  return item;
}

inline Library library(std::u16string name) { return named<Library>(std::move(name)); }

}  // namespace thc::testing
