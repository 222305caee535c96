// Copies the images the markup registered into the output directory.
#pragma once

#include <string>
#include <string_view>

#include "common/console.h"
#include "common/output.h"
#include "project/model.h"

namespace thc {

// The name of an image's copy in the output folder: its number and the
// source's extension, as the pages' img elements name it.
std::u16string imageFileName(const ImageEntry& image);

// True when every image was copied; stops at the first failure. With
// model.confinedTo set, a source is read only from inside that folder.
bool copyImages(const ProjectModel& model, Console& console, OutputFolder& folder);

}  // namespace thc
