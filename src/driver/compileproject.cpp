#include "driver/compileproject.h"

#include "common/output.h"
#include "driver/paths.h"
#include "platform/filesystem.h"

namespace thc {

int compileProjectFile(const ExternalText& project, Console& console, const HelpCompilerSettings& settings) {
  if (!project.utf8) {
    console.writeLine(u"Not a valid UTF-8 path: " + project.text);
    return 1;
  }
  const char16_t separator = platform::nativeSeparator();
  std::u16string folderPath = projectDirectory(project.text, separator);
  if (folderPath.empty()) folderPath = std::u16string(u".") + separator;
  const std::u16string name = project.text.substr(project.text.find_last_of(u"/\\") + 1);
  // The project's folder is the output folder of this run: it is held, and
  // the help file goes into it beside the project, which stays.
  OutputFolder folder(folderPath, OutputFolder::EarlierProject::keep);
  if (folder.inUse()) {
    console.writeLine(u"Output folder is in use by another run: " + folderPath);
    return 1;
  }
  return compileHelpProject(folder, name, console, settings) ? 0 : 1;
}

}  // namespace thc
