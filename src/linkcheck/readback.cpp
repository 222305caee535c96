#include "linkcheck/readback.h"

#include <optional>
#include <string_view>

#include "common/text.h"
#include "common/utf.h"
#include "linkcheck/linkcheck.h"
#include "platform/filesystem.h"

namespace thc {

namespace {

// The value of a "Key=value" line of the help project file, "" when none.
std::u16string projectSetting(std::string_view project, std::string_view key) {
  size_t pos = 0;
  while (pos < project.size()) {
    size_t end = project.find('\n', pos);
    if (end == std::string_view::npos) end = project.size();
    std::string_view line = project.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.starts_with(key) && line.substr(key.size()).starts_with('=')) {
      return fromUtf8(line.substr(key.size() + 1));
    }
    pos = end + 1;
  }
  return {};
}

// A written file read back; a file that cannot be read any more still
// counts by its name.
void feed(LinkChecker& checker, const std::u16string& outputDir, const std::u16string& name) {
  std::optional<std::string> bytes = platform::readFile(outputDir + name);
  if (bytes) {
    checker.addFile(name, *bytes);
  } else {
    checker.addName(name);
  }
}

void report(const LinkFindings& findings, Console& console) {
  for (const BrokenLink& link : findings.broken) {
    console.writeLine(u"Broken link in " + link.file + u": " + link.target);
  }
  for (const auto& [first, second] : findings.caseClashes) {
    console.writeLine(u"Names differ only in case: " + first + u", " + second);
  }
}

}  // namespace

bool checkWrittenLinks(const ProjectModel& model, Console& console,
                       const std::vector<std::u16string>& otherFiles) {
  console.writeLine(u"Checking links ...");
  LinkChecker checker;
  for (const std::u16string& page : model.generatedFiles) feed(checker, model.outputDir, page);
  // The help files are the ones the project file names, as the compiler
  // will take them.
  const std::u16string projectName = u"document.hhp";
  if (std::optional<std::string> project = platform::readFile(model.outputDir + projectName)) {
    checker.addFile(projectName, *project);
    for (std::string_view key : {"Contents file", "Index file"}) {
      const std::u16string name = projectSetting(*project, key);
      if (!name.empty()) feed(checker, model.outputDir, name);
    }
  }
  for (const std::u16string& name : otherFiles) checker.addName(name);

  const LinkFindings findings = checker.finish();
  report(findings, console);
  console.writeLine(findings.clean() ? u"done" : u"Broken links found");
  return findings.clean();
}

}  // namespace thc
