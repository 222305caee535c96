#include <cstdio>

#include "common/utf.h"
#include "platform/requesters.h"

namespace thc::platform {

std::optional<std::u16string> ConsoleRequesters::chooseProjectFile() {
  console_.writeText(u"Select document project file: ");
  std::u16string answer;
  if (!console_.readLine(answer) || answer.empty()) return std::nullopt;
  return answer;
}

std::optional<std::u16string> ConsoleRequesters::chooseOutputFolder(std::u16string_view start) {
  console_.writeText(u"Path to store generated files [" + std::u16string(start) + u"]: ");
  std::u16string answer;
  if (!console_.readLine(answer)) return std::nullopt;
  if (answer.empty()) return std::u16string(start);
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
