#include "driver/driver.h"

#include <memory>

#include "catalog/catalog.h"
#include "check/check.h"
#include "common/output.h"
#include "common/text.h"
#include "driver/paths.h"
#include "driver/version.h"
#include "images/images.h"
#include "index/extend.h"
#include "index/sort.h"
#include "pages/generate.h"
#include "platform/filesystem.h"
#include "project/doctree.h"
#include "project/model.h"
#include "project/reader.h"
#include "project/release.h"

namespace thc {

namespace {

void printBanner(Console& console) {
  console.writeLine(programTitle());
  console.writeLine(u"Compiles XML library documentation into HTML Help projects");
  console.writeLine(u"");
  console.writeLine(u"This app uses code based on the expat XML parser (https://libexpat.github.io/)");
  console.writeLine(u"");
}

// The stages after a successful load. False when any stage failed.
bool runStages(ProjectModel& model, Console& console, OutputFolder& folder, DocTree& tree) {
  console.writeLine(u"Parsing file ...");
  readProject(model, console, rootElement(tree));
  // The model holds copies of everything read; only the node paths are
  // still needed, by the checks.
  releaseContent(tree);
  console.writeLine(u"done");

  console.writeLine(u"Checking file ...");
  if (!checkProject(model.project, console)) {
    console.writeLine(u"Errors found");
    return false;
  }
  console.writeLine(u"done");
  // No later stage names a node, so the trees make room for the pages.
  releaseDocuments(model, tree);

  console.writeLine(u"Creating Language Catalog ...");
  if (!model.project.catalogSource.empty()) buildCatalog(model.catalog, model.project.catalogSource);
  console.writeLine(u"done");

  console.writeLine(u"Optimizing ... ");
  sortProject(model.project);
  console.writeLine(u"done");

  console.writeLine(u"Extending Index... ");
  extendIndex(model.project);
  console.writeLine(u"done");

  console.writeLine(u"Creating HTML files at " + model.outputDir);
  bool written = generateOutput(model, console, folder);
  console.writeLine(u"Completed");

  if (model.images.empty()) return written;
  console.writeLine(u"Copying Image Files to " + model.outputDir);
  if (!copyImages(model, console, folder)) {
    console.writeLine(u"Failed");
    return false;
  }
  console.writeLine(u"Completed");
  return written;
}

// Takes the output folder, loads the project and runs the stages. False on
// any failure.
bool loadAndRun(ProjectModel& model, Console& console) {
  OutputFolder folder(model.outputDir);
  if (folder.inUse()) {
    console.writeLine(u"Output folder is in use by another run: " + model.outputDir);
    return false;
  }
  std::unique_ptr<DocTree> tree = loadDocument(model.projectFile);
  if (!tree) {
    console.writeLine(u"Unable to open " + model.projectFile);
    return false;
  }
  console.writeLine(u"success");
  if (tree->status != 0) {
    console.writeLine(u"File is defective [" + decimalText(tree->errorLine) + u":" +
                      decimalText(tree->errorPosition) + u"]");
    console.writeLine(u"Error " + tree->errorMessage);
    return false;
  }
  console.writeLine(u"File ok");
  return runStages(model, console, folder, *tree);
  // The main tree object ends here; its nodes went after the checks.
}

}  // namespace

int runDriver(const std::vector<std::u16string>& arguments, Console& console,
              platform::Requesters& requesters, const DriverOptions& options) {
  printBanner(console);
  std::u16string first = arguments.size() > 1 ? arguments[1] : std::u16string();
  console.writeLine(u"Analyzing file " + first);

  const char16_t separator = platform::nativeSeparator();
  auto owned = std::make_unique<ProjectModel>();
  ProjectModel& model = *owned;
  model.projectFile = arguments.size() > 2 ? arguments[2] : std::u16string();
  std::u16string outputDir;
  if (model.projectFile.empty()) {
    std::optional<std::u16string> file = requesters.chooseProjectFile();
    std::optional<std::u16string> folder;
    if (file && !file->empty()) {
      model.projectFile = *file;
      std::u16string start = directoryPart(model.projectFile);
      if (start.empty()) start = u"./";
      folder = requesters.chooseOutputFolder(start);
    }
    if (!folder || folder->empty()) {
      requesters.showMessage(u"Abort", u"Program aborted");
      return 1;
    }
    outputDir = *folder;
  }
  model.projectDir = projectDirectory(model.projectFile, separator);
  if (outputDir.empty()) {
    // From the command line: a folder "html" beside the project file.
    outputDir = options.outputOverride.empty() ? model.projectDir + u"html" : options.outputOverride;
  }
  model.outputDir = normaliseDirectory(outputDir, separator);

  std::u16string directory = directoryToCreate(model.outputDir);
  if (!directory.empty()) platform::createDirectory(directory);

  bool ok = loadAndRun(model, console) && !model.importFailed;

  console.writeLine(u"");
  console.writeLine(u"Press return to exit");
  std::u16string ignored;
  console.readLine(ignored);
  if (options.keepModelAtExit) (void)owned.release();
  return ok ? 0 : 1;
}

}  // namespace thc
