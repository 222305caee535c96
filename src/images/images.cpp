#include "images/images.h"

#include <string>

#include "common/text.h"
#include "platform/filesystem.h"

namespace thc {

namespace {

// Image sources are relative to the project file's directory ("./" when the
// project file was given without one), with every separator made native.
std::u16string imageSourcePath(const ProjectModel& model, const ImageEntry& image) {
  std::u16string directory = directoryPart(model.projectFile);
  if (directory.empty()) directory = u"./";
  std::u16string path = directory + image.source;
  const char16_t separator = platform::nativeSeparator();
  for (char16_t& c : path) {
    if (c == u'/' || c == u'\\') c = separator;
  }
  return path;
}

std::u16string imageDestinationPath(std::u16string_view outputDir, const ImageEntry& image) {
  return std::u16string(outputDir) + imageFileName(image);
}

// True when both paths name one existing file (an image whose source already
// lies in the output folder under its number). Copying a file onto itself
// would truncate it first and lose the picture.
bool sameFile(std::u16string_view source, std::u16string_view destination) {
  std::u16string from = platform::canonicalPath(source);
  return !from.empty() && from == platform::canonicalPath(destination);
}

// Without confinement an image is read wherever its path leads.
bool copyImage(const ProjectModel& model, std::u16string_view source, std::u16string_view destination) {
  if (!model.confinedTo) return platform::copyFile(source, destination);
  return platform::copyFileInside(source, destination, *model.confinedTo);
}

}  // namespace

std::u16string imageFileName(const ImageEntry& image) {
  return decimalText(image.number) + u"." + fileExtension(image.source);
}

bool copyImages(const ProjectModel& model, Console& console, std::u16string_view outputDir) {
  for (const ImageEntry& image : model.images) {
    const std::u16string source = imageSourcePath(model, image);
    const std::u16string destination = imageDestinationPath(outputDir, image);
    if (sameFile(source, destination)) continue;
    if (!copyImage(model, source, destination)) {
      console.writeLine(u"Unable to copy " + source + u" to " + destination);
      return false;
    }
  }
  return true;
}

}  // namespace thc
