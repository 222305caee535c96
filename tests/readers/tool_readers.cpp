// The readers that are programs: CHMLib's extract_chmLib, 7-Zip, chmls and
// python3-chm run on the help file, their extracted files and what they
// printed taken back.
#include <filesystem>
#include <sstream>

#include "readers/chm_readers.h"
#include "support/lines.h"
#include "support/run_program.h"

namespace thc::testing {
namespace {

bool mentionsTrouble(const std::string& line) {
  const std::string lower = lowered(line);
  for (const char* word : {"error", "warning", "exception", "fail", "incomplete", "unsupported", "corrupt"}) {
    if (lower.find(word) != std::string::npos) return true;
  }
  return false;
}

// A run that ends with an exit code other than 0 or tells of trouble, with
// the lines that tell it.
void complainAbout(const std::string& command, const ProgramRun& run, ReaderView& view) {
  std::string trouble;
  for (const std::string& line : linesOf(run.output + run.errors)) {
    if (mentionsTrouble(line)) trouble += "\n" + line;
  }
  if (run.exitCode != 0 || !trouble.empty()) {
    view.complaints.push_back(command + " ends with exit code " + std::to_string(run.exitCode) + trouble);
  }
}

std::string fromHex(const std::string& hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return bytes;
}

std::string toHex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : bytes) hex += {digits[c >> 4], digits[c & 15]};
  return hex;
}

// The value of a "printsystem" line of chmls, "(3)  Title ...  :value":
// a string is printed with the NUL that ends it in the file.
std::optional<std::string> printedValue(const std::string& line, const std::string& label) {
  if (line.find(label) == std::string::npos) return std::nullopt;
  std::string value = line.substr(line.find(':') + 1);
  if (!value.empty() && value.back() == '\0') value.pop_back();
  return value;
}

// The files a reader extracted, by their path with a leading "/".
std::map<std::string, std::string> filesBelow(const std::string& folder) {
  std::map<std::string, std::string> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error)) {
    if (!entry.is_regular_file()) continue;
    files["/" + std::filesystem::relative(entry.path(), folder).generic_string()] =
        readFile(entry.path().string());
  }
  return files;
}

}  // namespace

ReaderView readWithChmLibTools(const std::string& chm, const std::string& scratch) {
  ReaderView view{"extract_chmLib"};
  const ProgramRun run = runTool({"extract_chmLib", chm, scratch});
  // It names each file it extracts and nothing else when all goes well.
  for (const std::string& line : linesOf(run.output + run.errors)) {
    if (line.rfind("--> ", 0) != 0 && line != chm + ":") view.complaints.push_back("extract_chmLib: " + line);
  }
  if (run.exitCode != 0)
    view.complaints.push_back("extract_chmLib ends with exit code " + std::to_string(run.exitCode));
  view.files = filesBelow(scratch);
  return view;
}

ReaderView readWithSevenZip(const std::string& chm, const std::string& scratch) {
  ReaderView view{"7-Zip"};
  const ProgramRun test = runTool({"7z", "t", chm});
  if (test.output.find("Everything is Ok") == std::string::npos) {
    view.complaints.push_back("7z t does not say \"Everything is Ok\":\n" + test.output + test.errors);
  } else {
    complainAbout("7z t", test, view);
  }
  complainAbout("7z x", runTool({"7z", "x", "-y", "-o" + scratch, chm}), view);
  view.files = filesBelow(scratch);
  return view;
}

ReaderView readWithChmls(const std::string& chm, const std::string& scratch) {
  ReaderView view{"chmls"};
  complainAbout("chmls extractall", runTool({"chmls", "extractall", chm, scratch}), view);
  view.files = filesBelow(scratch);
  const ProgramRun printed = runTool({"chmls", "printsystem", chm});
  complainAbout("chmls printsystem", printed, view);
  SystemData system;
  for (const std::string& line : linesOf(printed.output)) {
    if (auto value = printedValue(line, "Title from [options]")) system.title = *value;
    if (auto value = printedValue(line, "Default topic from [options]")) system.defaultTopic = *value;
    if (auto value = printedValue(line, "Contents file from [options]")) system.contentsFile = "/" + *value;
    if (auto value = printedValue(line, "Index file from [options]")) system.indexFile = "/" + *value;
    if (auto value = printedValue(line, "LCID from HHP file"))
      system.lcid = static_cast<std::uint32_t>(std::strtoul(value->c_str(), nullptr, 10));
  }
  view.system = system;
  return view;
}

ReaderView readWithPythonChm(const std::string& chm, const std::string& scratch,
                             const std::vector<std::string>& words) {
  ReaderView view{"python3-chm"};
  // Debian's own Python, where python3-chm is installed.
  std::vector<std::string> command = {"/usr/bin/python3", sourceDirectory() + "/tests/readers/read_chm.py",
                                      chm, scratch};
  for (const std::string& word : words) command.push_back(toHex(word));
  const ProgramRun run = runTool(command);
  if (run.exitCode != 0)
    view.complaints.push_back("python3-chm ends with exit code " + std::to_string(run.exitCode) + ":\n" +
                              run.errors);
  view.system = SystemData{};
  for (const std::string& line : linesOf(run.output)) {
    std::istringstream fields(line);
    std::string kind, a, b, c;
    fields >> kind >> a >> b >> c;
    if (kind == "complaint") view.complaints.push_back("python3-chm: " + line.substr(10));
    if (kind == "title") view.system->title = fromHex(a);
    if (kind == "lcid") view.system->lcid = static_cast<std::uint32_t>(std::stoul(a));
    if (kind == "home") view.system->defaultTopic = fromHex(a);
    if (kind == "contents") view.system->contentsFile = fromHex(a);
    if (kind == "index") view.system->indexFile = fromHex(a);
    if (kind == "searchable") view.search.emplace();
    if (kind == "searched") (*view.search)[fromHex(a)];
    if (kind == "hit") (*view.search)[fromHex(a)].push_back(SearchHit{fromHex(b), fromHex(c)});
  }
  view.files = filesBelow(scratch);
  return view;
}

}  // namespace thc::testing
