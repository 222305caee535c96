#include "markup/imagelist.h"

#include "common/text.h"

namespace thc {

int64_t registerImage(std::vector<ImageEntry>& images, std::u16string_view source) {
  int64_t number = images.empty() ? 1 : images.back().number + 1;
  images.push_back(ImageEntry{number, std::u16string(source)});
  return number;
}

std::u16string imageFileName(int64_t number, std::u16string_view source) {
  return decimalText(number) + u"." + fileExtension(source);
}

}  // namespace thc
