#include "images/images.h"

#include <string>

#include "common/text.h"
#include "platform/filesystem.h"

namespace thc {

namespace {

// Image sources are relative to the project file's directory ("./" when the
// project file was given without one), with every separator made native.
std::u16string imageSourcePath(const ProjectModel& model, const PlannedImage& image) {
  std::u16string directory = directoryPart(model.projectFile);
  if (directory.empty()) directory = u"./";
  std::u16string path = directory + image.source;
  const char16_t separator = platform::nativeSeparator();
  for (char16_t& c : path) {
    if (c == u'/' || c == u'\\') c = separator;
  }
  return path;
}

// Without confinement an image is read wherever its path leads.
std::unique_ptr<platform::InputFile> openImage(const ProjectModel& model, std::u16string_view source) {
  if (!model.confinedTo) return platform::InputFile::open(source);
  bool outside = false;
  return platform::InputFile::openInside(source, *model.confinedTo, outside);
}

// Copies the image; false when it cannot be read or its copy not written.
bool copyImage(const ProjectModel& model, OutputFolder& folder, std::u16string_view source,
               std::u16string_view name) {
  std::unique_ptr<platform::InputFile> file = openImage(model, source);
  std::optional<std::string> bytes = file ? file->readAll() : std::nullopt;
  return bytes && folder.writeBytes(name, {*bytes}) == WriteOutcome::Written;
}

}  // namespace

// An image whose source already lies in the output folder under its number
// is left as it is: the folder sees the same bytes and does not rewrite them.
bool copyImages(const ProjectModel& model, const std::vector<PlannedImage>& images, Console& console,
                OutputFolder& folder) {
  for (const PlannedImage& image : images) {
    const std::u16string source = imageSourcePath(model, image);
    const std::u16string& name = image.file;
    if (!copyImage(model, folder, source, name)) {
      console.writeLine(u"Unable to copy " + source + u" to " + folder.path() + name);
      return false;
    }
  }
  return true;
}

}  // namespace thc
