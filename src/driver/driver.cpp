#include "driver/driver.h"

#include <algorithm>
#include <memory>
#include <thread>
#include <optional>
#include <string_view>
#include <vector>

#include "catalog/catalog.h"
#include "check/check.h"
#include "codepage/codepage.h"
#include "common/output.h"
#include "common/text.h"
#include "driver/options.h"
#include "driver/paths.h"
#include "driver/version.h"
#include "helpproject/helpcompiler.h"
#include "images/images.h"
#include "index/sort.h"
#include "linkcheck/report.h"
#include "pages/generate.h"
#include "plan/outputplan.h"
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

// Copies the images, when the markup registered any. False when a copy
// failed.
bool copyImageStage(const ProjectModel& model, const std::vector<PlannedImage>& images,
                    Console& console, OutputFolder& folder) {
  if (images.empty()) return true;
  console.writeLine(u"Copying Image Files to " + model.outputDir);
  if (!copyImages(model, images, console, folder)) {
    console.writeLine(u"Failed");
    return false;
  }
  console.writeLine(u"Completed");
  return true;
}

// The stages after a successful load. False when any stage failed.
bool runStages(ProjectModel& model, Console& console, OutputFolder& folder, DocTree& tree,
               const DriverOptions& options) {
  console.writeLine(u"Parsing file ...");
  readProject(model, console, rootElement(tree));
  // The model holds copies of everything read, and the places of the
  // records for the checks: the trees go now.
  finishReading(model, tree);
  console.writeLine(u"done");

  console.writeLine(u"Checking file ...");
  if (!checkProject(model.project, model.sources, console)) {
    console.writeLine(u"Errors found");
    return false;
  }
  console.writeLine(u"done");
  // No later stage names a record's place.
  model.sources = SourceMap();

  console.writeLine(u"Creating Language Catalog ...");
  if (!model.project.catalogSource.empty()) buildCatalog(model.catalog, model.project.catalogSource);
  console.writeLine(u"done");

  console.writeLine(u"Optimizing ... ");
  sortProject(model.project);
  console.writeLine(u"done");

  console.writeLine(u"Extending Index... ");
  OutputPlan plan = planOutput(model.project, model.catalog);
  console.writeLine(u"done");

  // The link check sees every file as the folder stores it, and reports
  // once everything a link can lead to is written.
  LinkChecker links(helpCodePage(model.project.lang));
  if (options.checkLinks) folder.observe(&links);
  console.writeLine(u"Creating HTML files at " + model.outputDir);
  const std::vector<PlannedImage> images = std::move(plan.images);
  const bool written = generateOutput(model, std::move(plan), console, folder).complete;
  console.writeLine(u"Completed");

  const bool copied = copyImageStage(model, images, console, folder);
  folder.observe(nullptr);
  const bool linked = !options.checkLinks || reportLinks(console, links);
  return written && copied && linked;
}

HelpCompilerSettings compilerSettings(const DriverOptions& options) {
  HelpCompilerSettings settings;
  settings.program = options.helpCompiler;
  settings.seconds = options.sourceDateEpoch;
  settings.threads = compressionThreads();
  return settings;
}

// Lets go of what was read and planned; the paths stay.
void releaseModel(ProjectModel& model) {
  model.project = Project();
  model.catalog = Catalog();
}

// Takes the output folder, loads the project and runs the stages. False on
// any failure.
bool loadAndRun(ProjectModel& model, Console& console, const DriverOptions& options) {
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
  // A refused or failed import leaves the help without its libraries.
  const bool ran = runStages(model, console, folder, *tree, options) && !model.importRefused &&
                   !model.importFailed;
  if (!ran || !options.compileHelp) return ran;
  // The compile reads the folder, not the model: the model goes first, so
  // the compile's memory does not come on top of it.
  const HelpFileName name{model.project.title, model.project.lang};
  tree.reset();
  releaseModel(model);
  return compileHelpFile(name, folder, console, compilerSettings(options));
}

// A path whose bytes were not UTF-8 names some other file than the one
// meant (each invalid byte became U+FFFD), so it is refused before anything
// is written.
bool refused(const ExternalText& path, Console& console) {
  if (path.utf8) return false;
  console.writeLine(u"Not a valid UTF-8 path: " + path.text);
  return true;
}

int abortRun(platform::Requesters& requesters) {
  requesters.showMessage(u"Abort", u"Program aborted");
  return 1;
}

// Settles model.projectFile, projectDir and outputDir from the arguments,
// the options, the environment or the requesters. None when the run goes
// on, else the exit code of a run that ends here (cancelled, or a path
// refused).
std::optional<int> settlePaths(ProjectModel& model, const std::vector<ExternalText>& arguments,
                               Console& console, platform::Requesters& requesters,
                               const DriverOptions& options) {
  ExternalText projectFile = arguments.size() > 2 ? arguments[2] : ExternalText{};
  std::optional<ExternalText> folder = options.outputFolder;
  if (projectFile.text.empty()) {
    std::optional<ExternalText> file = requesters.chooseProjectFile();
    if (!file || file->text.empty()) return abortRun(requesters);
    if (refused(*file, console)) return 1;
    projectFile = std::move(*file);
    if (!folder) {
      std::u16string start = directoryPart(projectFile.text);
      if (start.empty()) start = u"./";
      folder = requesters.chooseOutputFolder(start);
      if (!folder || folder->text.empty()) return abortRun(requesters);
    }
  } else {
    if (refused(projectFile, console)) return 1;
    if (!folder && !options.outputOverride.text.empty()) folder = options.outputOverride;
  }
  const char16_t separator = platform::nativeSeparator();
  model.projectFile = std::move(projectFile.text);
  model.projectDir = projectDirectory(model.projectFile, separator);
  // From the command line and nowhere else: a folder "html" beside the
  // project file.
  if (!folder) folder = ExternalText{model.projectDir + u"html", true};
  if (refused(*folder, console)) return 1;
  model.outputDir = normaliseDirectory(folder->text, separator);
  if (options.confine) model.confinedTo = platform::canonicalPath(model.projectDir);
  return std::nullopt;
}

// The end of an interactive run: the console stays until the user has read
// it. The line read is dropped; an endless one ends the read all the same.
void waitForReturn(Console& console) {
  console.writeLine(u"");
  console.writeLine(u"Press return to exit");
  console.readLine(kLongestInputLine);
}

}  // namespace

int runDriver(const std::vector<ExternalText>& arguments, Console& console,
              platform::Requesters& requesters, const DriverOptions& options) {
  printBanner(console);
  std::u16string first = arguments.size() > 1 ? arguments[1].text : std::u16string();
  console.writeLine(u"Analyzing file " + first);

  auto owned = std::make_unique<ProjectModel>();
  ProjectModel& model = *owned;
  if (std::optional<int> ended = settlePaths(model, arguments, console, requesters, options)) {
    return *ended;
  }

  std::u16string directory = directoryToCreate(model.outputDir);
  if (!directory.empty()) platform::createDirectory(directory);

  const bool ok = loadAndRun(model, console, options);

  if (!options.noWait) waitForReturn(console);
  if (options.keepModelAtExit) (void)owned.release();
  return ok ? 0 : 1;
}

unsigned compressionThreads() {
  // Compressing pays on a second core; more are rarely free on a build
  // machine and gain little.
  return std::clamp(std::thread::hardware_concurrency(), 1u, 2u);
}

void printUsage(Console& console) {
  for (const std::u16string& line : usageText()) console.writeLine(line);
}

void printVersion(Console& console) {
  console.writeLine(programTitle());
  console.writeLine(u"expat " + parserVersion());
}

}  // namespace thc
