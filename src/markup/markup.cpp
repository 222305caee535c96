#include "markup/markup.h"

namespace thc {

// Placeholder until the translator lands: texts pass through unchanged.
std::u16string translateMarkup(std::u16string_view text, const DocNode*, ProjectModel&, Console&) {
  return std::u16string(text);
}

int64_t registerImage(std::vector<ImageEntry>& images, std::u16string_view source) {
  int64_t number = images.empty() ? 1 : images.back().number + 1;
  images.push_back(ImageEntry{number, std::u16string(source)});
  return number;
}

}  // namespace thc
