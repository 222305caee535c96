#include "chm/compiler.h"

#include <memory>
#include <unordered_set>
#include <vector>

#include "base/utf.h"
#include "chm/container.h"
#include "chm/contextids.h"
#include "chm/filework.h"
#include "chm/lzxstream.h"
#include "chm/projectfile.h"
#include "chm/readahead.h"
#include "chm/searchindex.h"
#include "chm/sourcefiles.h"
#include "chm/systemfiles.h"
#include "codepage/codepage.h"
#include "common/text.h"
#include "platform/filesystem.h"

namespace thc::chm {

namespace {

// The name the default window gets when the project defines none.
constexpr std::string_view kDefaultWindowName = "main";

class ScratchSink : public LzxSink {
 public:
  explicit ScratchSink(platform::ScratchFile& file) : file_(file) {}
  bool write(std::string_view bytes) override { return file_.append(bytes); }

 private:
  platform::ScratchFile& file_;
};

// The compressed section as it fills: each file's place in it.
class CompressedSection {
 public:
  explicit CompressedSection(LzxStream& stream) : stream_(stream) {}
  bool add(std::string name, std::string_view bytes) {
    const std::uint64_t offset = bytes.empty() ? 0 : stream_.length();
    entries_.push_back(DirectoryEntry{std::move(name), 1, offset, bytes.size()});
    return stream_.append(bytes);
  }
  bool add(std::string name, const PieceBuffer& bytes) {
    const std::uint64_t offset = bytes.size() == 0 ? 0 : stream_.length();
    entries_.push_back(DirectoryEntry{std::move(name), 1, offset, bytes.size()});
    for (const std::string& piece : bytes.pieces()) {
      if (!stream_.append(piece)) return false;
    }
    return true;
  }
  std::vector<DirectoryEntry>& entries() { return entries_; }

 private:
  LzxStream& stream_;
  std::vector<DirectoryEntry> entries_;
};

// What a run of the compiler carries from step to step.
struct Compilation {
  const HelpProjectFile& project;
  std::u16string projectPath;
  std::u16string folderPath;
  // The folder as the system resolves it: nothing outside it is read.
  std::u16string canonicalFolder;
  // That folder, opened once: its files are read from it. None when it
  // could not be opened; each file is then checked on its own.
  std::unique_ptr<platform::ConfinedFolder> folder;
  TextEncoder encoder;
  FileWorkSettings fileWork;
  // Only with "Full-text search=Yes".
  std::optional<SearchIndexBuilder> search;
  std::vector<Topic> topics;
  std::vector<ContextId> contextIds;
  CompileResult result;

  std::string inCodePage(std::u16string_view text) {
    std::string bytes;
    encoder.appendWithQuestionMarks(bytes, text);
    return bytes;
  }
  bool fail(std::u16string file, std::u16string why) {
    result.file = std::move(file);
    result.why = std::move(why);
    return false;
  }
};

// The file name without its extension, as written.
std::u16string stemOf(std::u16string_view fileName) {
  return std::u16string(fileName.substr(0, fileName.rfind(u'.')));
}

std::u16string lowerStem(std::u16string_view fileName) { return lowerAscii(stemOf(fileName)); }

SystemInfo systemInfo(Compilation& run, const CompileSettings& settings) {
  const HelpProjectFile& project = run.project;
  SystemInfo info;
  info.contentsFile = run.inCodePage(project.contentsFile);
  info.indexFile = run.inCodePage(project.indexFile);
  info.defaultTopic = run.inCodePage(project.defaultTopic);
  info.title = run.inCodePage(project.title);
  info.compiledStem = run.inCodePage(lowerStem(project.compiledFile));
  info.defaultFont = run.inCodePage(project.defaultFont);
  info.lcid = project.lcid;
  info.doubleByte = project.codePage == 932 || project.codePage == 936 || project.codePage == 949 ||
                    project.codePage == 950;
  info.fullTextSearch = project.fullTextSearch;
  info.hasKeywords = !project.indexFile.empty();
  info.version3 = project.version3;
  info.seconds = settings.seconds;
  info.defaultWindow = project.defaultWindow.empty() && !project.windows.empty()
                           ? run.inCodePage(project.windows.front().name)
                           : run.inCodePage(project.defaultWindow);
  if (info.defaultWindow.empty()) info.defaultWindow = kDefaultWindowName;
  return info;
}

WindowDefinition windowOf(Compilation& run, const ProjectWindow& from, const SystemInfo& info) {
  WindowDefinition window = from.converted([&](const std::u16string& text) { return run.inCodePage(text); });
  // A window without its own contents or index shows the project's, so
  // every viewer finds them through the window as some look only there.
  if (from.contents.empty()) window.contents = info.contentsFile;
  if (from.index.empty()) window.index = info.indexFile;
  return window;
}

std::vector<WindowDefinition> windows(Compilation& run, const SystemInfo& info) {
  std::vector<WindowDefinition> result;
  for (const ProjectWindow& window : run.project.windows) result.push_back(windowOf(run, window, info));
  if (result.empty()) result.push_back(defaultWindow(info));
  return result;
}

// A file of the project's folder opened for reading; none, with why, when
// it lies outside the folder (nothing there is read), is missing or is no
// file.
std::unique_ptr<platform::InputFile> openInside(const Compilation& run, std::u16string_view relative,
                                                std::u16string& why) {
  const std::u16string path = run.folderPath + std::u16string(relative);
  bool outside = false;
  std::unique_ptr<platform::InputFile> input =
      run.folder ? run.folder->openFile(relative, outside)
                 : platform::InputFile::openInside(path, run.canonicalFolder, outside);
  if (input) return input;
  if (outside) {
    why = u"lies outside the project's folder";
  } else if (platform::canonicalPath(path).empty()) {
    why = u"does not exist";
  } else {
    why = u"is not a file (a folder or a device)";
  }
  return nullptr;
}

// The bytes of a file of the project's folder; none, with why, when it
// cannot be opened or read.
std::optional<std::string> readInside(const Compilation& run, std::u16string_view relative, std::u16string& why) {
  std::unique_ptr<platform::InputFile> input = openInside(run, relative, why);
  if (!input) return std::nullopt;
  std::optional<std::string> bytes = input->readAll();
  if (!bytes) why = u"cannot be read";
  return bytes;
}

// Stores one file that a worker read; a page becomes a topic, and what it
// links to joins the files. A listed file that cannot be read fails the
// help file; a linked one that cannot is left out (its link is broken
// either way).
bool storeFile(Compilation& run, const ReadFile& read, SourceFiles& files, CompressedSection& section) {
  const SourceFile& file = read.file;
  if (!read.bytes && !file.linkedFrom.empty()) {
    run.result.missingLinks.push_back(MissingLink{file.linkedFrom, file.path});
    return true;
  }
  if (!read.bytes) return run.fail(run.folderPath + file.path, read.why);
  if (!read.listsClose) return run.fail(run.folderPath + file.path, u"does not close its lists");
  if (file.topic) {
    if (run.search) run.search->addTopic(static_cast<std::uint32_t>(run.topics.size()), read.words);
    // Search results show a topic by its title: one without gets its name.
    const std::u16string& title = read.title.empty() ? file.path : read.title;
    run.topics.push_back(Topic{run.inCodePage(file.path), run.inCodePage(title)});
  }
  for (const std::u16string& linked : read.linked) files.addLinked(linked, file.path);
  return section.add(file.name, *read.bytes) || run.fail(run.folderPath, u"no room for the compressed content");
}

// Every file, in list order; the list grows by what the pages link to.
bool addSourceFiles(Compilation& run, SourceFiles& files, CompressedSection& section, unsigned threads) {
  // Files are opened on the worker threads: that reads no more of the run
  // than its folder.
  const Compilation& shared = run;
  ReadAhead ahead(threads, run.fileWork, [&shared](const SourceFile& file) {
    FileJob job{file, nullptr, {}};
    job.input = openInside(shared, file.path, job.why);
    return job;
  });
  while (std::optional<ReadFile> read = ahead.next(files.files())) {
    if (!storeFile(run, *read, files, section)) return false;
  }
  return true;
}

bool addTables(Compilation& run, const SystemInfo& info, CompressedSection& section) {
  StringsTable strings;
  const TopicTables tables = topicTables(run.topics, strings);
  if (!run.contextIds.empty()) {
    std::vector<std::pair<std::uint32_t, std::string>> ids;
    for (const ContextId& id : run.contextIds) ids.emplace_back(id.number, run.inCodePage(id.file));
    if (!section.add("/#IVB", contextIdFile(ids, strings))) return run.fail(run.folderPath, u"no room for the compressed content");
  }
  const std::string windowTable = windowsFile(windows(run, info), info.version3, strings);
  const bool added = section.add("/#TOPICS", tables.topics) && section.add("/#URLTBL", tables.urlTable) &&
                     section.add("/#URLSTR", tables.urlStrings) && section.add("/#WINDOWS", windowTable) &&
                     section.add("/#STRINGS", strings.bytes());
  return added || run.fail(run.folderPath, u"no room for the compressed content");
}

bool addSearchIndex(Compilation& run, CompressedSection& section) {
  if (!run.search) return true;
  const std::optional<PieceBuffer> index = run.search->build();
  // The words and their places are in the index now; the directory that
  // comes next is large too.
  run.search.reset();
  if (!index) return run.fail(run.folderPath, u"has more words than a search index can hold");
  return section.add("/$FIftiMain", *index) || run.fail(run.folderPath, u"no room for the compressed content");
}

std::optional<HelpProjectFile> readProject(std::u16string_view path, std::u16string& why) {
  std::unique_ptr<platform::InputFile> input = platform::InputFile::open(path);
  std::optional<std::string> bytes = input ? input->readAll() : std::nullopt;
  if (!bytes) {
    why = u"cannot be read";
    return std::nullopt;
  }
  return readHelpProjectFile(*bytes, why);
}

// The context ids of [MAP] and [ALIAS]. The page an id opens joins the
// files as a page linked from the project; an alias whose symbol [MAP]
// gives no number changes nothing and is reported as such.
bool readContextIds(Compilation& run, SourceFiles& files) {
  ContextProblem problem;
  const FileReader read = [&](std::u16string_view path, std::u16string& why) { return readInside(run, path, why); };
  std::optional<std::vector<ContextId>> ids = contextIds(run.project, read, problem);
  if (!ids) return run.fail(run.folderPath + problem.file, problem.why);
  run.contextIds = std::move(*ids);
  const std::u16string projectName = run.projectPath.substr(run.folderPath.size());
  std::unordered_set<std::u16string> numbered;
  for (const ContextId& id : run.contextIds) {
    numbered.insert(id.symbol);
    files.addLinked(id.file, projectName);
  }
  for (const auto& [symbol, file] : run.project.aliases) {
    if (!numbered.count(symbol)) run.result.ignored.push_back(symbol + u"=" + file);
  }
  return true;
}

bool compile(Compilation& run, const CompileSettings& settings, OutputFolder& folder) {
  if (!run.project.hasFiles) return run.fail(run.projectPath, u"has no [FILES] section");
  SourceProblem problem;
  std::optional<SourceFiles> files = listedFiles(run.project, problem);
  if (!files) return run.fail(run.folderPath + problem.file, problem.why);
  if (!readContextIds(run, *files)) return false;
  std::unique_ptr<platform::ScratchFile> scratch = folder.scratch();
  if (!scratch) return run.fail(run.folderPath, u"no room for the compressed content");
  ScratchSink sink(*scratch);
  LzxStream stream(sink, settings.threads);
  CompressedSection section(stream);
  const SystemInfo info = systemInfo(run, settings);
  if (!addSourceFiles(run, *files, section, settings.threads) || !addTables(run, info, section) ||
      !addSearchIndex(run, section)) {
    return false;
  }
  std::optional<LzxStream::Result> compression = stream.finish();
  if (!compression) return run.fail(run.folderPath, u"no room for the compressed content");
  ContainerParts parts;
  parts.lcid = run.project.lcid;
  parts.seconds = static_cast<std::uint32_t>(settings.seconds);
  parts.systemFile = systemFile(info);
  parts.compressedFiles = std::move(section.entries());
  parts.compression = std::move(*compression);
  ContainerSource source(containerHead(parts), *scratch, parts.compression.compressedLength);
  const std::u16string& name = run.project.compiledFile;
  switch (folder.writeStream(name, source)) {
    case WriteOutcome::Written:
      return true;
    case WriteOutcome::NotCreated:
      return run.fail(run.result.helpFile, u"cannot be created");
    case WriteOutcome::NotWritten:
      return run.fail(run.result.helpFile, u"cannot be written");
  }
  return false;
}

}  // namespace

CompileResult compileHelpProject(OutputFolder& folder, std::u16string_view projectName,
                                 const CompileSettings& settings) {
  const std::u16string projectPath = folder.path() + std::u16string(projectName);
  CompileResult failed;
  std::optional<HelpProjectFile> project = readProject(projectPath, failed.why);
  if (!project) {
    failed.file = projectPath;
    return failed;
  }
  // Generators often leave the name out (Doxygen without CHM_FILE): the
  // help file then takes the project's name, as help compilers do.
  if (project->compiledFile.empty()) project->compiledFile = stemOf(projectName) + u".chm";
  // The help file is written beside the project only; a name that leads
  // elsewhere is refused rather than quietly moved.
  if (project->compiledFile.find_first_of(u"/\\:") != std::u16string::npos) {
    failed.file = projectPath;
    failed.why = u"names a compiled file in another folder (" + project->compiledFile + u")";
    return failed;
  }
  const std::u16string canonicalFolder = platform::canonicalPath(folder.path());
  Compilation run{*project,
                  projectPath,
                  folder.path(),
                  canonicalFolder,
                  platform::ConfinedFolder::open(canonicalFolder),
                  TextEncoder(project->codePage),
                  FileWorkSettings{project->codePage, project->fullTextSearch, project->contentsFile, project->indexFile},
                  {}, {}, {}, {}};
  if (project->fullTextSearch) run.search.emplace(project->codePage, project->lcid);
  run.result.helpFile = folder.path() + project->compiledFile;
  run.result.ignored = project->ignored;
  run.result.compiled = compile(run, settings, folder);
  return std::move(run.result);
}

}  // namespace thc::chm
