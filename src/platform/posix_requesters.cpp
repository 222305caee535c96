#include <cstdio>

#include "base/utf.h"
#include "platform/requesters.h"

namespace thc::platform {

namespace {

// One typed answer; none at end of input or when it is too long to be a path
// (a cancelled prompt).
std::optional<ExternalText> readAnswer(Console& console) {
  std::optional<InputLine> line = console.readLine(kLongestInputLine);
  if (!line || line->cut) return std::nullopt;
  return ExternalText{std::move(line->text), line->utf8};
}

}  // namespace

std::optional<ExternalText> ConsoleRequesters::chooseProjectFile() {
  console_.writeText(u"Select document project file: ");
  std::optional<ExternalText> answer = readAnswer(console_);
  if (!answer || answer->text.empty()) return std::nullopt;
  return answer;
}

std::optional<ExternalText> ConsoleRequesters::chooseOutputFolder(std::u16string_view start) {
  console_.writeText(u"Path to store generated files [" + std::u16string(start) + u"]: ");
  std::optional<ExternalText> answer = readAnswer(console_);
  if (answer && answer->text.empty()) answer->text = start;
  return answer;
}

void ConsoleRequesters::showMessage(std::u16string_view title, std::u16string_view text) {
  std::string line = toUtf8(title) + ": " + toUtf8(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

std::unique_ptr<Requesters> createRequesters(Console& console) {
  return std::make_unique<ConsoleRequesters>(console);
}

}  // namespace thc::platform
