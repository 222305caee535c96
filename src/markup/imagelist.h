// The images the markup names: each one numbered as it is met, and stored
// in the output folder under its number and the source's extension.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace thc {

struct ImageEntry {
  int64_t number = 0;
  std::u16string source;
};

// Appends an image entry and returns its number.
int64_t registerImage(std::vector<ImageEntry>& images, std::u16string_view source);

// The name of the image's copy in the output folder, as the pages' img
// elements name it: the number and the source's extension.
std::u16string imageFileName(int64_t number, std::u16string_view source);

}  // namespace thc
