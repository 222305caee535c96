#include "driver/paths.h"

#include "common/text.h"

namespace thc {

static bool isSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

std::u16string normaliseDirectory(std::u16string_view path, char16_t separator) {
  std::u16string result(path);
  if (result.empty() || !isSeparator(result.back())) result.push_back(separator);
  for (char16_t& c : result) {
    if (isSeparator(c)) c = separator;
  }
  return result;
}

std::u16string directoryToCreate(std::u16string_view outputDir) {
  std::u16string result(outputDir);
  if (!result.empty()) result.pop_back();
  while (!result.empty() && (result.back() == u' ' || isSeparator(result.back()))) result.pop_back();
  return result;
}

std::u16string projectDirectory(std::u16string_view projectFile, char16_t separator) {
  std::u16string directory = directoryPart(projectFile);
  // A bare file name lives in the current directory, not in the root.
  if (directory.empty()) directory = u"./";
  return normaliseDirectory(directory, separator);
}

}  // namespace thc
