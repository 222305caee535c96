#include "helpproject/helpcompiler.h"

#include <optional>
#include <string>

#include "chm/compiler.h"
#include "codepage/codepage.h"
#include "common/text.h"
#include "helpproject/projectfile.h"
#include "platform/filesystem.h"
#include "platform/process.h"

namespace thc {

namespace {

bool startsWithWord(std::u16string_view text, std::u16string_view word) {
  return text.size() >= word.size() && lowerAscii(text.substr(0, word.size())) == word;
}

// "HHC5003: " and the like: letters, then digits, then ":".
bool isAsciiLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

std::u16string_view withoutMessageCode(std::u16string_view line) {
  size_t pos = 0;
  while (pos < line.size() && isAsciiLetter(line[pos])) ++pos;
  const size_t digits = pos;
  while (pos < line.size() && line[pos] >= u'0' && line[pos] <= u'9') ++pos;
  if (digits == 0 || pos == digits || pos >= line.size() || line[pos] != u':') return line;
  line.remove_prefix(pos + 1);
  return trimmedView(line);
}

// Every help file begins with these four bytes.
bool hasHelpFileSignature(std::u16string_view path) {
  std::optional<std::string> start = platform::readFileStart(path, 4);
  return start && *start == "ITSF";
}

// What the compiler said that matters: its first error or warning line, and
// its last line, which tells most when it stopped without either.
struct CompilerReport {
  std::optional<std::u16string> firstProblem;
  std::u16string lastLine;
};

}  // namespace

bool isProblemLine(std::u16string_view line) {
  line = trimmedView(line);
  return startsWithWord(line, u"error") || startsWithWord(line, u"warning") ||
         startsWithWord(withoutMessageCode(line), u"error") ||
         startsWithWord(withoutMessageCode(line), u"warning");
}

bool compileHelpFile(const HelpFileName& name, OutputFolder& folder, Console& console,
                     const HelpCompilerSettings& settings) {
  if (!settings.program.empty()) return compileWithProgram(name, folder.path(), console, settings.program);
  return compileHelpProject(folder, u"document.hhp", console, settings);
}

bool compileHelpProject(OutputFolder& folder, std::u16string_view name, Console& console,
                        const HelpCompilerSettings& settings) {
  console.writeLine(u"Compiling help file ...");
  chm::CompileSettings compile;
  compile.seconds = settings.seconds;
  compile.threads = settings.threads;
  const chm::CompileResult result = chm::compileHelpProject(folder, name, compile);
  const std::u16string projectPath = folder.path() + std::u16string(name);
  for (const std::u16string& line : result.ignored) console.writeLine(u"Ignored in " + projectPath + u": " + line);
  for (const chm::MissingLink& link : result.missingLinks) {
    console.writeLine(u"Missing file " + link.target + u" linked from " + link.page);
  }
  if (result.compiled) {
    console.writeLine(u"Help file " + result.helpFile);
    return true;
  }
  console.writeLine(u"Unable to compile help file");
  console.writeLine(result.file + u": " + result.why);
  return false;
}

bool compileWithProgram(const HelpFileName& name, const std::u16string& folder, Console& console,
                        std::u16string_view program) {
  console.writeLine(u"Compiling help file ...");
  const std::u16string compiler = platform::findHelpCompiler(program);
  if (compiler.empty()) {
    console.writeLine(u"No HTML Help compiler found");
    return false;
  }
  const std::u16string helpFile = folder + compiledFileName(name.title, helpCodePage(name.lang));
  // A help file of an earlier run must not pass for this run's.
  platform::removeFile(helpFile);
  CompilerReport report;
  auto onLine = [&](std::u16string_view line) {
    if (!report.firstProblem && isProblemLine(line)) report.firstProblem = std::u16string(line);
    if (!trimmedView(line).empty()) report.lastLine = line;
  };
  const bool ran = platform::runProgram(compiler, {u"document.hhp"}, folder, onLine).has_value();
  if (ran && !report.firstProblem && hasHelpFileSignature(helpFile)) {
    console.writeLine(u"Help file " + helpFile);
    return true;
  }
  console.writeLine(u"Unable to compile help file");
  if (report.firstProblem) {
    console.writeLine(*report.firstProblem);
  } else if (!report.lastLine.empty()) {
    console.writeLine(report.lastLine);
  }
  return false;
}

}  // namespace thc
